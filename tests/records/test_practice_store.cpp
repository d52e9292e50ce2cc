// "Practice.sqlite": recording, the layout and its migration, the figures read from a
// file, the weak-note history, deleting a learner's answers and the CSV export.
#include "PracticeTestSupport.h"

#include "records/PracticeSchema.h"

#include <QDateTime>
#include <QDir>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

const qint64 kNow = QDateTime(QDate(2024, 6, 1), QTime(12, 0), QTimeZone::utc()).toMSecsSinceEpoch();

class PracticeStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString PathOf(const QString& name = PracticeStore::FileName()) const { return dir.filePath(name); }

    // A store on the test's file, opened for recording.
    std::unique_ptr<PracticeStore> OpenStore()
    {
        auto store = std::make_unique<PracticeStore>(PathOf());
        QString message;
        EXPECT_TRUE(store->Open(message)) << message.toStdString();
        return store;
    }

    static void RecordAll(PracticeStore& store, const std::vector<PracticeAnswer>& answers)
    {
        for (const PracticeAnswer& answer : answers)
            store.Record(answer);
        ASSERT_TRUE(store.WaitUntilWritten(10000));
    }

    static std::vector<PracticeAnswer> StoredAnswers(const PracticeStore& store,
                                                     std::optional<int> learnerKey = std::nullopt)
    {
        std::vector<PracticeAnswer> answers;
        QString message;
        EXPECT_TRUE(store.Answers(learnerKey, answers, message)) << message.toStdString();
        return answers;
    }

    QTemporaryDir dir;
};

// Every field away from its default.
PracticeAnswer FullAnswer()
{
    PracticeAnswer a;
    a.answeredAtMs = kNow - 1234;
    a.learnerKey = 3;
    a.activity = PracticeActivity::Practice;
    a.lessonKey = 5;
    a.instrument = 2;
    a.tuning = QStringLiteral("drop D");
    a.key = 11;
    a.scale = 2;
    a.pattern = 4;
    a.promptNote = QStringLiteral("Bb-1");
    a.promptPosition = FretPosition{3, 2};
    a.answerPosition = {4, 7};
    a.answerNote = QStringLiteral("C-2");
    a.correct = false;
    a.responseMs = 2345;
    a.assisted = true;
    a.input = AnswerInput::Keyboard;
    return a;
}

} // namespace

TEST_F(PracticeStoreTest, KeepsEveryFieldOfAnAnswerAcrossRuns)
{
    PracticeAnswer other = Answer(kNow, {1, 1}, QStringLiteral("E-0"), 800, kNoLearner);
    other.activity = PracticeActivity::Test;
    other.input = AnswerInput::Microphone;
    other.promptPosition.reset();
    {
        auto store = OpenStore();
        RecordAll(*store, {FullAnswer(), other});
    }
    auto store = OpenStore();
    EXPECT_EQ(StoredAnswers(*store), (std::vector<PracticeAnswer>{FullAnswer(), other})) << "oldest first";
    EXPECT_EQ(StoredAnswers(*store, kNoLearner), std::vector<PracticeAnswer>{other});
}

TEST_F(PracticeStoreTest, MakesANewFileInWalModeAtTheCurrentLayout)
{
    auto store = OpenStore();
    EXPECT_EQ(store->GetMode(), PracticeStore::Mode::Recording);
    RawDatabase raw(PathOf());
    EXPECT_EQ(raw.Exec(QStringLiteral("PRAGMA user_version")).toInt(), kPracticeSchemaVersion);
    EXPECT_EQ(raw.Exec(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
}

TEST_F(PracticeStoreTest, BringsAnEmptyFileUpToDate)
{
    QFile empty(PathOf());
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    auto store = OpenStore();
    RecordAll(*store, {FullAnswer()});
    EXPECT_EQ(StoredAnswers(*store).size(), 1U);
    RawDatabase raw(PathOf());
    EXPECT_EQ(raw.Exec(QStringLiteral("PRAGMA user_version")).toInt(), kPracticeSchemaVersion);
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
        const QString gFlat = QStringLiteral("Gb-1"), fSharp = QStringLiteral("F#-1"), g = QStringLiteral("G-0");
        raw.Exec(insert.arg(kNow - 3000).arg(gFlat).arg(2).arg(10).arg(gFlat).arg(1).arg(900));
        raw.Exec(insert.arg(kNow - 2000).arg(fSharp).arg(1).arg(3).arg(g).arg(0).arg(1500));
        raw.Exec(insert.arg(kNow - 1000).arg(fSharp).arg(2).arg(10).arg(fSharp).arg(1).arg(700));
    }
    auto store = OpenStore();
    {
        RawDatabase raw(PathOf());
        EXPECT_EQ(raw.Exec(QStringLiteral("PRAGMA user_version")).toInt(), kPracticeSchemaVersion);
    }
    const std::vector<PracticeAnswer> answers = StoredAnswers(*store);
    ASSERT_EQ(answers.size(), 3U);
    EXPECT_EQ(answers[0].promptPosition, (FretPosition{2, 10})) << "a right answer was given at the prompt";
    EXPECT_FALSE(answers[1].promptPosition.has_value()) << "a wrong one cannot tell where the prompt was";
    EXPECT_EQ(answers[1].answerNote, QStringLiteral("G-0"));

    ProgressFilter filter;
    filter.learnerKey = 1;
    filter.nowMs = kNow;
    ProgressFigures figures;
    QString message;
    ASSERT_TRUE(store->Progress(filter, figures, message)) << message.toStdString();
    EXPECT_EQ(figures.overall.count, 3);
    ASSERT_EQ(figures.positions.size(), 1U) << "the old miss has no position";
    EXPECT_EQ(figures.positions[0].position, (FretPosition{2, 10}));
    EXPECT_EQ(figures.positions[0].figures.count, 2);
    EXPECT_EQ(figures.positions[0].figures.medianResponseMs, 800);
    ASSERT_EQ(figures.weakestNotes.size(), 1U) << "Gb-1 and F#-1 are one note";
    EXPECT_EQ(figures.weakestNotes[0].figures.count, 3);

    // New answers go on being recorded in the new layout.
    RecordAll(*store, {FullAnswer()});
    EXPECT_EQ(StoredAnswers(*store).size(), 4U);
}

TEST_F(PracticeStoreTest, FiguresOfOneLearnerInstrumentAndPeriod)
{
    auto store = OpenStore();
    const FretPosition e{1, 1}, a{2, 1};
    std::vector<PracticeAnswer> answers = {
        Answer(kNow - 40 * kDayMs, e, QStringLiteral("E-0"), 3000), // outside 30 days
        Missed(Answer(kNow - 20 * kDayMs, e, QStringLiteral("E-0"), 2000), a, QStringLiteral("A-1")),
        Answer(kNow - 3 * kDayMs, e, QStringLiteral("E-0"), 1000),
        Answer(kNow - 2 * kDayMs, a, QStringLiteral("A-1"), 600),
        Answer(kNow - 1 * kDayMs, a, QStringLiteral("A-1"), 800),
        Answer(kNow - 1 * kDayMs, a, QStringLiteral("A-1"), 400, 2),         // another learner
        Answer(kNow - 1 * kDayMs, a, QStringLiteral("A-1"), 400, kNoLearner), // no learner
    };
    PracticeAnswer bass = Answer(kNow - kDayMs, e, QStringLiteral("E-0"), 400);
    bass.instrument = 1;
    PracticeAnswer dropD = Answer(kNow - kDayMs, e, QStringLiteral("D-0"), 400);
    dropD.tuning = QStringLiteral("drop D");
    answers.push_back(bass);
    answers.push_back(dropD);
    RecordAll(*store, answers);

    const auto figuresFor = [&](ProgressPeriod period, int learnerKey = 1) {
        ProgressFilter filter;
        filter.learnerKey = learnerKey;
        filter.period = period;
        filter.nowMs = kNow;
        ProgressFigures figures;
        QString message;
        EXPECT_TRUE(store->Progress(filter, figures, message)) << message.toStdString();
        return figures;
    };

    const ProgressFigures all = figuresFor(ProgressPeriod::All);
    EXPECT_EQ(all.overall.count, 5);
    ASSERT_EQ(all.positions.size(), 2U);
    EXPECT_EQ(all.positions[0].position, e);
    EXPECT_EQ(all.positions[0].figures.count, 3) << "the miss of E counts at E, not where it was clicked";
    EXPECT_EQ(all.positions[0].figures.right, 2);
    EXPECT_EQ(all.positions[0].figures.medianResponseMs, 2000);
    EXPECT_EQ(all.positions[1].position, a);
    EXPECT_EQ(all.positions[1].figures.count, 2);
    EXPECT_EQ(all.positions[1].figures.medianResponseMs, 700);
    EXPECT_EQ(all.days.size(), 5U);
    EXPECT_EQ(all.days.back().day, QDate(2024, 5, 31));

    const ProgressFigures month = figuresFor(ProgressPeriod::Last30Days);
    EXPECT_EQ(month.overall.count, 4);
    EXPECT_EQ(month.positions[0].figures.count, 2);

    const ProgressFigures week = figuresFor(ProgressPeriod::Last7Days);
    EXPECT_EQ(week.overall.count, 3);
    EXPECT_DOUBLE_EQ(week.overall.Accuracy(), 1.0);

    EXPECT_EQ(figuresFor(ProgressPeriod::All, kNoLearner).overall.count, 1);
    EXPECT_EQ(figuresFor(ProgressPeriod::All, 7).overall.count, 0);
}

TEST_F(PracticeStoreTest, RecentAnswersComeNewestFirstWithMissesAtTheirPrompt)
{
    auto store = OpenStore();
    const FretPosition e{1, 1}, f{1, 2}, g{1, 4};
    PracticeAnswer unknownPrompt = Missed(Answer(kNow - 500, g, QStringLiteral("G-0"), 900), e, QStringLiteral("E-0"));
    unknownPrompt.promptPosition.reset();
    PracticeAnswer bass = Answer(kNow - 100, e, QStringLiteral("E-0"), 400);
    bass.instrument = 1;
    RecordAll(*store, {
                          Answer(kNow - 3000, e, QStringLiteral("E-0"), 1000),
                          Missed(Answer(kNow - 2000, f, QStringLiteral("F-0"), 1500), g, QStringLiteral("G-0")),
                          Answer(kNow - 1000, g, QStringLiteral("G-0"), 700),
                          unknownPrompt,
                          Answer(kNow - 200, g, QStringLiteral("G-0"), 600, 2),
                          bass,
                      });
    std::vector<PositionAnswer> recent;
    QString message;
    ASSERT_TRUE(store->RecentAnswers(1, 0, QStringLiteral("standard"), 10, recent, message)) << message.toStdString();
    ASSERT_EQ(recent.size(), 3U);
    EXPECT_EQ(recent[0].position, g);
    EXPECT_EQ(recent[0].responseMs, 700);
    EXPECT_EQ(recent[1].position, f) << "a miss counts at the prompted position";
    EXPECT_FALSE(recent[1].correct);
    EXPECT_EQ(recent[2].position, e);

    ASSERT_TRUE(store->RecentAnswers(1, 0, QStringLiteral("standard"), 2, recent, message));
    EXPECT_EQ(recent.size(), 2U);
}

TEST_F(PracticeStoreTest, DeletingALearnerDeletesTheirAnswersOnly)
{
    auto store = OpenStore();
    const FretPosition p{2, 3};
    RecordAll(*store, {Answer(kNow - 5000, p, QStringLiteral("B-1"), 900, 1),
                       Answer(kNow - 4000, p, QStringLiteral("B-1"), 900, 2),
                       Answer(kNow - 3000, p, QStringLiteral("B-1"), 900, kNoLearner)});
    // Queued just before the deletion: goes with it. Recorded after it: stays.
    store->Record(Answer(kNow - 2000, p, QStringLiteral("B-1"), 900, 1));
    QString message;
    ASSERT_TRUE(store->DeleteAnswersOfLearner(1, message)) << message.toStdString();
    store->Record(Answer(kNow - 1000, p, QStringLiteral("B-1"), 700, 1));
    ASSERT_TRUE(store->WaitUntilWritten(10000));

    const std::vector<PracticeAnswer> first = StoredAnswers(*store, 1);
    ASSERT_EQ(first.size(), 1U);
    EXPECT_EQ(first[0].responseMs, 700);
    EXPECT_EQ(StoredAnswers(*store, 2).size(), 1U);
    EXPECT_EQ(StoredAnswers(*store, kNoLearner).size(), 1U);
}

TEST_F(PracticeStoreTest, ExportsAnswersAsCsvWithTheLearnersCurrentNames)
{
    auto store = OpenStore();
    PracticeAnswer odd = FullAnswer();
    odd.tuning = QStringLiteral("open G, low");
    RecordAll(*store, {Answer(kNow - 2000, {1, 1}, QStringLiteral("E-0"), 800, 1), odd,
                       Answer(kNow - 500, {1, 2}, QStringLiteral("F-0"), 650, kNoLearner)});
    // Learners are keyed: a renamed learner keeps the answers, under the new name.
    const QHash<int, QString> names = {{1, QStringLiteral("Ann \"the\" Bass, jr.")},
                                       {3, QStringLiteral("Two\nlines")}};
    QString message;
    const QString all = PathOf(QStringLiteral("all.csv"));
    ASSERT_TRUE(store->ExportCsv(all, std::nullopt, names, message)) << message.toStdString();
    const QString header =
        "answered_at,learner_key,learner,activity,lesson_key,instrument,tuning,key,scale,pattern,prompt_note,"
        "prompt_string,prompt_fret,answer_string,answer_fret,answer_note,correct,response_ms,assisted,input_method\r\n";
    EXPECT_EQ(QString::fromUtf8(FileBytes(all)),
              header
                  + "2024-06-01T11:59:58.000Z,1,\"Ann \"\"the\"\" Bass, jr.\",drill,6,0,standard,4,1,6,E-0,1,1,1,1,"
                    "E-0,1,800,0,mouse\r\n"
                  + "2024-06-01T11:59:58.766Z,3,\"Two\nlines\",practice,5,2,\"open G, low\",11,2,4,Bb-1,3,2,4,7,"
                    "C-2,0,2345,1,keyboard\r\n"
                  + "2024-06-01T11:59:59.500Z,-1,,drill,6,0,standard,4,1,6,F-0,1,2,1,2,F-0,1,650,0,mouse\r\n");

    const QString one = PathOf(QStringLiteral("one.csv"));
    ASSERT_TRUE(store->ExportCsv(one, kNoLearner, names, message)) << message.toStdString();
    EXPECT_EQ(QString::fromUtf8(FileBytes(one)),
              header + "2024-06-01T11:59:59.500Z,-1,,drill,6,0,standard,4,1,6,F-0,1,2,1,2,F-0,1,650,0,mouse\r\n");

    const QString nowhere = PathOf(QStringLiteral("missing/folder/out.csv"));
    EXPECT_FALSE(store->ExportCsv(nowhere, std::nullopt, names, message));
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(nowhere))) << message.toStdString();
}
