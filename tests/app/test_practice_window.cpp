// The practice records through the main window: weak notes, Progress, learners, export, faults.
#include "app/AppFixture.h"
#include "records/PracticeTestSupport.h"

#include "app/FrmLearner.h"
#include "app/FrmProgress.h"
#include "views/ProgressBoard.h"

#include <QChart>
#include <QComboBox>
#include <QDateTime>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

constexpr qint64 kDay = 24LL * 3600 * 1000;

class PracticeWindow : public AppFixture {
protected:
    QString PracticePath() const { return dir.filePath(QStringLiteral("Practice.sqlite")); }
    PracticeStore& Store() { return window->Practice().Store(); }
    QString Status() const { return window->StatusPanelText(QString()); }

    // The prompt of whatever activity hears the board.
    QString Prompt() { return window->Activities().CurrentReceiver()->GetActiveNoteName(); }
    std::vector<PracticeAnswer> Stored(std::optional<int> learner) { return PracticeAnswers(learner); }

    // Files answers straight into the running window's store and waits for them.
    void File(const std::vector<PracticeAnswer>& answers)
    {
        for (const PracticeAnswer& a : answers)
            Store().Record(a);
        ASSERT_TRUE(Store().WaitUntilWritten(5000));
    }

    static void Choose(FrmLearner& dialog, const QString& name)
    {
        const QList<QListWidgetItem*> found = dialog.lstLearners->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        dialog.lstLearners->setCurrentItem(found.constFirst());
    }

    // Opens "Progress" and hands the window to look.
    void WithProgress(const std::function<void(FrmProgress&)>& look)
    {
        EXPECT_EQ(WithDialog<FrmProgress>(window->mnuProgress, look), 1);
    }
};

} // namespace

TEST_F(PracticeWindow, WeakNotesFromTheMenuAreDrilledAndRecordedAsPractice)
{
    AddLearner(QStringLiteral("Ann"), 3);
    Start();
    window->mnuWeakNotes->trigger();
    EXPECT_TRUE(window->mnuWeakNotes->isChecked());
    EXPECT_FALSE(window->mnuDrillMode->isChecked());
    EXPECT_TRUE(Status().startsWith(QStringLiteral("Weak notes come more often"))) << Status().toStdString();

    // A wrong answer keeps the prompt: it is answered right to move on.
    for (const bool answerRight : {false, true, true}) {
        const QString prompt = Prompt();
        ASSERT_TRUE(CellOf(prompt, answerRight));
        Press(*CellOf(prompt, answerRight));
        if (!answerRight)
            Press(*CellOf(prompt, true));
    }
    const std::vector<PracticeAnswer> answers = Stored(3);
    ASSERT_EQ(answers.size(), 4U);
    EXPECT_EQ(std::count_if(answers.begin(), answers.end(), [](const PracticeAnswer& a) { return a.correct; }), 3);
    for (const PracticeAnswer& a : answers)
        EXPECT_EQ(a.activity, PracticeActivity::Practice);
    EXPECT_TRUE(recorder.shown.empty()) << recorder.allMessages().toStdString();
}

TEST_F(PracticeWindow, ProgressShowsTheLearnersFiguresOnTheBoardInTheWeakestNotesAndPerDay)
{
    AddLearner(QStringLiteral("Ann"), 1);
    Start();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const FretPosition f{1, 2}, a{2, 1}, g{4, 1};
    PracticeAnswer bass = Answer(now - 1000, g, QStringLiteral("C-1"), 700);
    bass.instrument = 1;
    // Today: F at 1/2 twice right (1 s, 3 s) and once missed; A right in 0.5 s. Ten days
    // ago: G missed twice. Another learner's answer and the bass's never show.
    File({Answer(now - 1000, f, QStringLiteral("F-0"), 1000), Answer(now - 2000, f, QStringLiteral("F-0"), 3000),
          Missed(Answer(now - 3000, f, QStringLiteral("F-0"), 2000), {1, 3}, QStringLiteral("F#-0")),
          Answer(now - 4000, a, QStringLiteral("A-1"), 500),
          Missed(Answer(now - 10 * kDay, g, QStringLiteral("G-1"), 4000), {4, 2}, QStringLiteral("G#-1")),
          Missed(Answer(now - 10 * kDay - 1, g, QStringLiteral("G-1"), 4000), {4, 3}, QStringLiteral("A-1")),
          Answer(now - 1000, g, QStringLiteral("G-1"), 700, 2), bass});

    WithProgress([&](FrmProgress& progress) {
        EXPECT_EQ(progress.lblLearner->text(), QStringLiteral("Ann, on the guitar"));
        EXPECT_EQ(progress.cboPeriod->currentText(), QStringLiteral("All"));
        EXPECT_EQ(progress.lblSummary->text(), QStringLiteral("6 answers, 50 % right, median answer time 2.5 s"));
        ASSERT_TRUE(progress.objBoard->HeatAt(a));
        EXPECT_EQ(progress.objBoard->HeatAt(a)->medianMs, 500);
        EXPECT_FALSE(progress.objBoard->HeatAt({1, 3})) << "a wrong answer counts where it was asked";
        EXPECT_EQ(progress.objBoard->Describe(f), QStringLiteral("F-0 (string 1, fret 1): 3 answers, 67 % right, "
                                                                 "median 2.0 s"));
        EXPECT_EQ(progress.objBoard->Describe({1, 3}), QStringLiteral("Gb-0 (string 1, fret 2): not answered"));
        EXPECT_TRUE(progress.lblWeakest->text().startsWith(QStringLiteral("Weakest notes: G-1 (0 of 2 right, 4.0 s)")))
            << progress.lblWeakest->text().toStdString();

        const auto series = progress.Chart()->series();
        ASSERT_EQ(series.size(), 2);
        const QList<QPointF> times = static_cast<QLineSeries*>(series[0])->points();
        ASSERT_EQ(times.size(), 2) << "two days with answers";
        EXPECT_DOUBLE_EQ(times[0].y(), 4.0) << "seconds, oldest day first";
        EXPECT_DOUBLE_EQ(static_cast<QLineSeries*>(series[1])->at(1).y(), 75.0) << "per cent right";

        progress.cboPeriod->setCurrentIndex(progress.cboPeriod->findText(QStringLiteral("Last 7 days")));
        EXPECT_EQ(progress.lblSummary->text(), QStringLiteral("4 answers, 75 % right, median answer time 1.5 s"));
        EXPECT_FALSE(progress.objBoard->HeatAt(g));
        EXPECT_EQ(static_cast<QLineSeries*>(series[0])->count(), 1);
        progress.cboPeriod->setCurrentIndex(progress.cboPeriod->findText(QStringLiteral("Last 30 days")));
        EXPECT_TRUE(progress.objBoard->HeatAt(g));
    });
}

TEST_F(PracticeWindow, TheHeatMapFillsTheFretboardsCellsSharplyAtAnyPixelRatio)
{
    Start();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const FretPosition right{3, 5}, wrong{6, 14};
    File({Answer(now, right, QStringLiteral("D-1"), 800, kNoLearner),
          Missed(Answer(now, wrong, QStringLiteral("A-3"), 800, kNoLearner), {1, 1}, QStringLiteral("E-0"))});

    WithProgress([&](FrmProgress& progress) {
        EXPECT_EQ(progress.lblLearner->text(), QStringLiteral("Answers given without a learner, on the guitar"));
        ProgressBoard& board = *progress.objBoard;
        board.resize(900, board.heightForWidth(900));
        EXPECT_EQ(board.CellAtPoint(QPointF(board.CellDeviceRect(wrong, 1.0).center())), wrong);
        // The neck itself, under a cell nobody answered, far from the top left corner.
        const FretPosition unanswered{1, 12};
        QString neck;
        for (const qreal ratio : {1.0, 2.0}) {
            QImage image(board.size() * ratio, QImage::Format_ARGB32);
            image.setDevicePixelRatio(ratio);
            board.render(&image);
            const auto insideOf = [&](FretPosition cell) {
                // A corner inside the inset, clear of the label and of the strings.
                return board.CellDeviceRect(cell, ratio).topLeft() + QPoint(1, 1) * (qRound(2 * ratio) + 1);
            };
            for (const auto& [cell, accuracy] : {std::pair{right, 1.0}, std::pair{wrong, 0.0}})
                EXPECT_EQ(image.pixelColor(insideOf(cell)).name(), ProgressBoard::AccuracyColor(accuracy).name()) << ratio;
            const QString here = image.pixelColor(insideOf(unanswered)).name();
            if (neck.isEmpty())
                neck = here;
            EXPECT_EQ(here, neck) << "the board picture fills the board at ratio " << ratio;
        }
        EXPECT_NE(neck, board.palette().color(QPalette::Window).name());
        EXPECT_NEAR(board.CellDeviceRect(right, 2.0).width(), 2 * board.CellDeviceRect(right, 1.0).width(), 1)
            << "twice the pixels, not the same pixels stretched";
    });
}

TEST_F(PracticeWindow, DeletingALearnerDeletesTheirAnswersAndRenamingKeepsThem)
{
    AddLearner(QStringLiteral("Ann"), 1);
    AddLearner(QStringLiteral("Ben"), 2);
    Start();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    File({Answer(now, {1, 1}, QStringLiteral("E-0"), 900, 1), Answer(now, {1, 2}, QStringLiteral("F-0"), 900, 2),
          Answer(now, {1, 3}, QStringLiteral("F#-0"), 900, 2)});

    WithDialog<FrmLearner>(window->mnuEditLearner, [this](FrmLearner& dialog) {
        Choose(dialog, QStringLiteral("Ben"));
        dialog.boxLearner->setText(QStringLiteral("Benjamin"));
        dialog.btnOk->click();
    });
    EXPECT_EQ(Stored(2).size(), 2U) << "a renamed learner keeps their answers";

    WithDialog<FrmLearner>(window->mnuDeleteLearner, [this](FrmLearner& dialog) {
        Choose(dialog, QStringLiteral("Benjamin"));
        dialog.btnOk->click();
    });
    EXPECT_TRUE(recorder.allMessages().contains(QStringLiteral("Their practice answers are deleted with them.")))
        << recorder.allMessages().toStdString();
    EXPECT_TRUE(Stored(2).empty());
    EXPECT_EQ(Stored(1).size(), 1U) << "the other learner's answers stay";
}

TEST_F(PracticeWindow, ExportWritesTheLearnersOrEveryonesAnswersAndNamesAFileItCannotWrite)
{
    AddLearner(QStringLiteral("Ann"), 1);
    Start();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    File({Answer(now, {1, 1}, QStringLiteral("E-0"), 900, 1), Answer(now, {1, 2}, QStringLiteral("F-0"), 900, kNoLearner)});
    QString offered, target;
    window->Practice().cdlgExport = [&](QWidget*, const QString&, const QString&, const QString& fileName) {
        offered = fileName;
        return target;
    };
    struct Case {
        int answer; // to "Export only the answers of the learner 'Ann'?"
        const char* file;
        const char* offered;
        int rows;
    };
    for (const Case& c : {Case{MsgYes, "ann.csv", "Practice of Ann.csv", 1}, Case{MsgNo, "all.csv", "Practice.csv", 2}}) {
        target = dir.filePath(QString::fromLatin1(c.file));
        recorder.answers = {c.answer};
        window->mnuExportPractice->trigger();
        EXPECT_EQ(offered, QString::fromLatin1(c.offered));
        const QStringList lines = QString::fromUtf8(FileBytes(target)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), c.rows + 1) << c.file;
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("answered_at,learner_key,learner,")));
        EXPECT_TRUE(lines[1].contains(QStringLiteral(",1,Ann,drill,"))) << lines[1].toStdString();
        EXPECT_TRUE(Status().contains(QDir::toNativeSeparators(target))) << Status().toStdString();
    }

    target = dir.filePath(QStringLiteral("no such folder/out.csv"));
    recorder.shown.clear();
    recorder.answers = {MsgNo};
    window->mnuExportPractice->trigger();
    EXPECT_TRUE(recorder.lastMessage().contains(target)) << recorder.allMessages().toStdString();
    EXPECT_FALSE(QFile::exists(target));
}

namespace {

// Which files cannot be recorded into is the store's own test; here a fault found on
// opening and one the writer finds later.
enum class Fault { Damaged, Locked };

class PracticeFileFault : public PracticeWindow, public ::testing::WithParamInterface<Fault> {};

} // namespace

TEST_P(PracticeFileFault, IsNamedOnceAndTheDrillGoesOnWithoutTouchingAnyFile)
{
    AddLearner(QStringLiteral("Ann"), 1);
    WriteBytes(ScoresPath(), "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = '0.5'></RECORD>\r\n");
    std::optional<RawDatabase> other;
    if (GetParam() == Fault::Damaged) {
        WriteBytes(PracticePath(), QByteArray("These are not the answers you are looking for.\n").repeated(100));
    } else {
        {
            PracticeStore made(PracticePath());
            QString message;
            ASSERT_TRUE(made.Open(message)) << message.toStdString();
            made.Record(Answer(QDateTime::currentMSecsSinceEpoch(), {1, 1}, QStringLiteral("E-0"), 900));
            ASSERT_TRUE(made.WaitUntilWritten(5000));
        }
        other.emplace(PracticePath());
        other->Exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
        other->Exec(QStringLiteral("BEGIN EXCLUSIVE"));
        other->Exec(QStringLiteral("SELECT count(*) FROM answers"));
    }
    const QByteArray practiceBefore = FileBytes(PracticePath());
    const QByteArray learnersBefore = ReadBytes(LearnersPath());
    const QByteArray scoresBefore = ReadBytes(ScoresPath());

    Start();
    QTest::qWait(50); // a fault the writer finds arrives as a signal
    EXPECT_TRUE(recorder.allMessages().contains(QDir::toNativeSeparators(PracticePath())))
        << recorder.allMessages().toStdString();
    EXPECT_NE(Store().GetMode(), PracticeStore::Mode::Recording);
    const size_t messages = recorder.shown.size();
    for (int i = 0; i < 3; ++i) {
        AnswerPrompt(true);
        EXPECT_EQ(Status(), QStringLiteral("Correct! Now try the next note."));
    }
    QTest::qWait(50);
    EXPECT_EQ(recorder.shown.size(), messages) << "one message, not one per answer";
    window.reset();

    EXPECT_EQ(FileBytes(PracticePath()), practiceBefore);
    EXPECT_EQ(ReadBytes(LearnersPath()), learnersBefore);
    EXPECT_EQ(ReadBytes(ScoresPath()), scoresBefore);
}

INSTANTIATE_TEST_SUITE_P(Faults, PracticeFileFault, ::testing::Values(Fault::Damaged, Fault::Locked),
                         [](const auto& info) { return info.param == Fault::Damaged ? "Damaged" : "Locked"; });

// A fault that passes and comes back (another program locking the file now and then)
// is told once a run, not each time: the drill is not to be interrupted by it.
TEST(PracticeRecordsFaults, AFaultThatComesBackIsToldOnceARun)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(PracticeStore::FileName());
    MessageRecorder recorder;
    PracticeRecords records(path);
    records.Open();
    records.Store().SetRetryInterval(50);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (int round = 0; round < 2; ++round) {
        QSignalSpy problems(&records.Store(), &PracticeStore::Problem);
        {
            RawDatabase other(path);
            other.Exec(QStringLiteral("BEGIN IMMEDIATE"));
            records.Record(Answer(now + round, {1, 3}, QStringLiteral("G-0"), 800));
            ASSERT_TRUE(problems.wait(20000)) << "round " << round;
        }
        ASSERT_TRUE(records.Store().WaitUntilWritten(20000));
    }
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_TRUE(recorder.shown.front().text.contains(QLatin1String("locked"))) << recorder.shown.front().text.toStdString();
}
