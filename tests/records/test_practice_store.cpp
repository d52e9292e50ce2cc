// "Practice.sqlite": recording, the layout and its migration, the figures read from a
// file, the weak-note history, deleting a learner's answers and the CSV export.
#include "PracticeTestSupport.h"

#include "records/PracticeSchema.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

const qint64 kNow = QDateTime(QDate(2024, 6, 1), QTime(12, 0), QTimeZone::utc()).toMSecsSinceEpoch();
const FretPosition kE{1, 1}, kF{1, 2}, kG{1, 4}, kA{2, 1};

class PracticeStoreTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name = PracticeStore::FileName()) const { return dir.filePath(name); }

    std::unique_ptr<PracticeStore> OpenStore(const std::vector<PracticeAnswer>& answers = {}) const
    {
        return ::OpenStore(PathOf(), answers);
    }
    static ProgressFigures Figures(const PracticeStore& store, ProgressPeriod period = ProgressPeriod::All,
                                   int learnerKey = 1)
    {
        ProgressFilter filter;
        filter.learnerKey = learnerKey;
        filter.period = period;
        filter.nowMs = kNow;
        ProgressFigures figures;
        QString message;
        EXPECT_TRUE(store.Progress(filter, figures, message)) << message.toStdString();
        return figures;
    }
    int Layout() const { return RawDatabase(PathOf()).Exec(QStringLiteral("PRAGMA user_version")).toInt(); }

    QTemporaryDir dir;
};

// Every field away from its default.
PracticeAnswer FullAnswer()
{
    PracticeAnswer a = Missed(Answer(kNow - 1234, {3, 2}, QStringLiteral("Bb-1"), 2345, 3), {4, 7}, QStringLiteral("C-2"));
    a.activity = PracticeActivity::Practice;
    a.lessonKey = 5;
    a.instrument = 2;
    a.tuning = QStringLiteral("drop D");
    a.key = 11;
    a.scale = 2;
    a.pattern = 4;
    a.assisted = true;
    a.input = AnswerInput::Keyboard;
    return a;
}

} // namespace

// An empty file is brought up to date like a missing one.
TEST_F(PracticeStoreTest, KeepsEveryFieldOfAnAnswerAcrossRunsInAnEmptiedWalFile)
{
    QFile empty(PathOf());
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    PracticeAnswer other = Answer(kNow, kE, QStringLiteral("E-0"), 800, kNoLearner);
    other.activity = PracticeActivity::Test;
    other.input = AnswerInput::Microphone;
    other.promptPosition.reset();
    OpenStore({FullAnswer(), other});
    EXPECT_EQ(Layout(), kPracticeSchemaVersion);
    EXPECT_EQ(RawDatabase(PathOf()).Exec(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));

    const auto store = OpenStore();
    EXPECT_EQ(store->GetMode(), PracticeStore::Mode::Recording);
    EXPECT_EQ(Stored(*store), (std::vector<PracticeAnswer>{FullAnswer(), other})) << "oldest first";
    EXPECT_EQ(Stored(*store, kNoLearner), std::vector<PracticeAnswer>{other});
}

TEST_F(PracticeStoreTest, BringsAFileOfTheFirstLayoutUpToDateKeepingItsAnswers)
{
    {
        RawDatabase raw(PathOf());
        QSqlError error;
        ASSERT_TRUE(MigratePracticeSchema(raw.Database(), 1, error)) << error.text().toStdString();
        ASSERT_EQ(raw.Exec(QStringLiteral("PRAGMA user_version")).toInt(), 1);
        const QString insert = QStringLiteral(
            "INSERT INTO answers (answered_at, learner_key, activity, lesson_key, instrument, tuning, music_key,"
            " scale, pattern, prompt_note, answer_string, answer_fret, answer_note, correct, response_ms, assisted,"
            " input_method)"
            " VALUES (%1, 1, 'drill', 6, 0, 'standard', 4, 1, 6, '%2', %3, %4, '%5', %6, %7, 0, 'mouse')");
        raw.Exec(insert.arg(kNow - 3000).arg("Gb-1").arg(2).arg(10).arg("Gb-1").arg(1).arg(900));
        raw.Exec(insert.arg(kNow - 2000).arg("F#-1").arg(1).arg(3).arg("G-0").arg(0).arg(1500));
        raw.Exec(insert.arg(kNow - 1000).arg("F#-1").arg(2).arg(10).arg("F#-1").arg(1).arg(700));
    }
    const auto store = OpenStore();
    EXPECT_EQ(Layout(), kPracticeSchemaVersion);
    const std::vector<PracticeAnswer> answers = Stored(*store);
    ASSERT_EQ(answers.size(), 3U);
    EXPECT_EQ(answers[0].promptPosition, (FretPosition{2, 10})) << "a right answer was given at the prompt";
    EXPECT_FALSE(answers[1].promptPosition.has_value()) << "a wrong one cannot tell where the prompt was";
    EXPECT_EQ(answers[1].answerNote, QStringLiteral("G-0"));
    const ProgressFigures figures = Figures(*store);
    EXPECT_EQ(figures.overall.count, 3);
    ASSERT_EQ(figures.positions.size(), 1U) << "the old miss has no position";
    EXPECT_EQ(figures.positions[0].figures.medianResponseMs, 800);

    // New answers go on being recorded in the new layout.
    store->Record(FullAnswer());
    ASSERT_TRUE(store->WaitUntilWritten(10000));
    EXPECT_EQ(Stored(*store).size(), 4U);
}

TEST_F(PracticeStoreTest, FiguresOfOneLearnerInstrumentAndPeriod)
{
    PracticeAnswer bass = Answer(kNow - kDayMs, kE, QStringLiteral("E-0"), 400);
    bass.instrument = 1;
    PracticeAnswer dropD = Answer(kNow - kDayMs, kE, QStringLiteral("D-0"), 400);
    dropD.tuning = QStringLiteral("drop D");
    const auto store = OpenStore({
        Answer(kNow - 40 * kDayMs, kE, QStringLiteral("E-0"), 3000), // outside 30 days
        Missed(Answer(kNow - 20 * kDayMs, kE, QStringLiteral("E-0"), 2000), kA, QStringLiteral("A-1")),
        Answer(kNow - 3 * kDayMs, kE, QStringLiteral("E-0"), 1000),
        Answer(kNow - 2 * kDayMs, kA, QStringLiteral("A-1"), 600),
        Answer(kNow - 1 * kDayMs, kA, QStringLiteral("A-1"), 800),
        Answer(kNow - 1 * kDayMs, kA, QStringLiteral("A-1"), 400, 2),          // another learner
        Answer(kNow - 1 * kDayMs, kA, QStringLiteral("A-1"), 400, kNoLearner), // no learner
        bass,
        dropD,
    });
    const ProgressFigures all = Figures(*store);
    EXPECT_EQ(all.overall.count, 5);
    ASSERT_EQ(all.positions.size(), 2U);
    EXPECT_EQ(all.positions[0].position, kE);
    EXPECT_EQ(all.positions[0].figures.count, 3) << "the miss of E counts at E, not where it was clicked";
    EXPECT_EQ(all.positions[0].figures.medianResponseMs, 2000);
    EXPECT_EQ(all.days.size(), 5U);
    EXPECT_EQ(all.days.back().day, QDate(2024, 5, 31));

    const ProgressFigures month = Figures(*store, ProgressPeriod::Last30Days);
    EXPECT_EQ(month.overall.count, 4);
    EXPECT_EQ(month.positions[0].figures.count, 2);
    const ProgressFigures week = Figures(*store, ProgressPeriod::Last7Days);
    EXPECT_EQ(week.overall.count, 3);
    EXPECT_DOUBLE_EQ(week.overall.Accuracy(), 1.0);
    EXPECT_EQ(Figures(*store, ProgressPeriod::All, kNoLearner).overall.count, 1);
    EXPECT_EQ(Figures(*store, ProgressPeriod::All, 7).overall.count, 0);
}

TEST_F(PracticeStoreTest, RecentAnswersComeNewestFirstWithMissesAtTheirPrompt)
{
    PracticeAnswer unknownPrompt = Missed(Answer(kNow - 500, kG, QStringLiteral("G-0"), 900), kE, QStringLiteral("E-0"));
    unknownPrompt.promptPosition.reset();
    PracticeAnswer bass = Answer(kNow - 100, kE, QStringLiteral("E-0"), 400);
    bass.instrument = 1;
    const auto store = OpenStore({
        Answer(kNow - 3000, kE, QStringLiteral("E-0"), 1000),
        Missed(Answer(kNow - 2000, kF, QStringLiteral("F-0"), 1500), kG, QStringLiteral("G-0")),
        Answer(kNow - 1000, kG, QStringLiteral("G-0"), 700),
        unknownPrompt,
        Answer(kNow - 200, kG, QStringLiteral("G-0"), 600, 2),
        bass,
    });
    std::vector<PositionAnswer> recent;
    QString message;
    ASSERT_TRUE(store->RecentAnswers(1, 0, QStringLiteral("standard"), 10, recent, message)) << message.toStdString();
    ASSERT_EQ(recent.size(), 3U);
    EXPECT_EQ(recent[0].position, kG);
    EXPECT_EQ(recent[0].responseMs, 700);
    EXPECT_EQ(recent[1].position, kF) << "a miss counts at the prompted position";
    EXPECT_FALSE(recent[1].correct);
    EXPECT_EQ(recent[2].position, kE);
    ASSERT_TRUE(store->RecentAnswers(1, 0, QStringLiteral("standard"), 2, recent, message));
    EXPECT_EQ(recent.size(), 2U);
}

TEST_F(PracticeStoreTest, DeletingALearnerDeletesTheirAnswersOnly)
{
    const FretPosition p{2, 3};
    const auto store = OpenStore({Answer(kNow - 5000, p, QStringLiteral("B-1"), 900, 1),
                                  Answer(kNow - 4000, p, QStringLiteral("B-1"), 900, 2),
                                  Answer(kNow - 3000, p, QStringLiteral("B-1"), 900, kNoLearner)});
    // Queued just before the deletion: goes with it. Recorded after it: stays.
    store->Record(Answer(kNow - 2000, p, QStringLiteral("B-1"), 900, 1));
    QString message;
    ASSERT_TRUE(store->DeleteAnswersOfLearner(1, message)) << message.toStdString();
    store->Record(Answer(kNow - 1000, p, QStringLiteral("B-1"), 700, 1));
    ASSERT_TRUE(store->WaitUntilWritten(10000));
    const std::vector<PracticeAnswer> first = Stored(*store, 1);
    ASSERT_EQ(first.size(), 1U);
    EXPECT_EQ(first[0].responseMs, 700);
    EXPECT_EQ(Stored(*store, 2).size(), 1U);
    EXPECT_EQ(Stored(*store, kNoLearner).size(), 1U);
}

TEST_F(PracticeStoreTest, ExportsAnswersAsCsvWithTheLearnersCurrentNames)
{
    PracticeAnswer odd = FullAnswer();
    odd.tuning = QStringLiteral("open G, low");
    const auto store = OpenStore({Answer(kNow - 2000, kE, QStringLiteral("E-0"), 800, 1), odd,
                                  Answer(kNow - 500, kF, QStringLiteral("F-0"), 650, kNoLearner)});
    // Learners are keyed: a renamed learner keeps the answers, under the new name.
    const QHash<int, QString> names = {{1, QStringLiteral("Ann \"the\" Bass, jr.")}, {3, QStringLiteral("Two\nlines")}};
    const QString header =
        "answered_at,learner_key,learner,activity,lesson_key,instrument,tuning,key,scale,pattern,prompt_note,"
        "prompt_string,prompt_fret,answer_string,answer_fret,answer_note,correct,response_ms,assisted,input_method\r\n";
    const QString unnamed = "2024-06-01T11:59:59.500Z,-1,,drill,6,0,standard,4,1,6,F-0,1,2,1,2,F-0,1,650,0,mouse\r\n";
    QString message;
    ASSERT_TRUE(store->ExportCsv(PathOf(QStringLiteral("all.csv")), std::nullopt, names, message)) << message.toStdString();
    EXPECT_EQ(QString::fromUtf8(FileBytes(PathOf(QStringLiteral("all.csv")))),
              header
                  + "2024-06-01T11:59:58.000Z,1,\"Ann \"\"the\"\" Bass, jr.\",drill,6,0,standard,4,1,6,E-0,1,1,1,1,"
                    "E-0,1,800,0,mouse\r\n"
                  + "2024-06-01T11:59:58.766Z,3,\"Two\nlines\",practice,5,2,\"open G, low\",11,2,4,Bb-1,3,2,4,7,"
                    "C-2,0,2345,1,keyboard\r\n"
                  + unnamed);
    ASSERT_TRUE(store->ExportCsv(PathOf(QStringLiteral("one.csv")), kNoLearner, names, message)) << message.toStdString();
    EXPECT_EQ(QString::fromUtf8(FileBytes(PathOf(QStringLiteral("one.csv")))), header + unnamed);

    const QString nowhere = PathOf(QStringLiteral("missing/folder/out.csv"));
    EXPECT_FALSE(store->ExportCsv(nowhere, std::nullopt, names, message));
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(nowhere))) << message.toStdString();
}
