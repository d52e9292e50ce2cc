// The main window's learner and score menu entries and what it does after them.
#include "app/AppFixture.h"

#include "app/FrmLearner.h"
#include "app/FrmScore.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

class LearnerMenus : public AppFixture {
protected:
    void SetUp() override { Start(); }
    void CreateLearner(const QString& name)
    {
        EXPECT_EQ(WithDialog<FrmLearner>(window->mnuCreateLearner, [&name](FrmLearner& dialog) {
                      dialog.boxLearner->setText(name);
                      dialog.btnOk->click();
                  }),
                  1);
    }
};

} // namespace

TEST_F(LearnerMenus, TheCurrentLearnerNamesTheWindowUntilDeleted)
{
    CreateLearner(QStringLiteral("Anna"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fretlore - Learner: Anna")) << "the first is current";
    CreateLearner(QStringLiteral("Ben"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fretlore - Learner: Anna"));
    WithDialog<FrmLearner>(window->mnuSelCurrLearner, [](FrmLearner& dialog) {
        dialog.lstLearners->setCurrentRow(1);
        dialog.btnOk->click();
    });
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fretlore - Learner: Ben"));
    WithDialog<FrmLearner>(window->mnuDeleteLearner, [](FrmLearner& dialog) {
        EXPECT_EQ(dialog.intAction, int(FrmLearner::ActionDelete));
        dialog.btnOk->click(); // Ben is preselected; the recorder answers OK
    });
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fretlore"));
    EXPECT_EQ(window->GetSettings().currLearnerKey, -1);
}

TEST_F(LearnerMenus, AnUnreadableLearnerFileSkipsTheFollowUp)
{
    CreateLearner(QStringLiteral("Anna"));
    WriteBytes(LearnersPath(), "<RECORD name = 'Anna'></RECORD>\r\n");
    ModalCatcher catcher;
    window->mnuEditLearner->trigger();
    EXPECT_EQ(catcher.Count(), 0) << "the dialog never opens";
    EXPECT_FALSE(recorder.lastMessage().isEmpty());
    EXPECT_EQ(window->GetSettings().currLearnerKey, 1) << "the caption update is skipped";
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fretlore - Learner: Anna"));
}

TEST_F(LearnerMenus, ViewScoresCancelsATestAndChartsTheLessons)
{
    CreateLearner(QStringLiteral("Anna"));
    recorder.answers = {MsgOk};
    window->mnuExecTest->trigger();
    ASSERT_EQ(window->Test().GetState(), TimedTest::State::Armed);
    QStringList series;
    WithDialog<FrmScore>(window->mnuScore, [&series](FrmScore& chart) {
        EXPECT_EQ(chart.windowTitle(), QStringLiteral("Score"));
        for (int s = 1; s <= chart.Grid().SeriesCount(); ++s)
            series << chart.Grid().ColumnLabel(s);
    });
    EXPECT_EQ(window->Test().GetState(), TimedTest::State::None);
    ASSERT_EQ(series.size(), 6);
    EXPECT_EQ(series.first(), window->CurrentLesson()->name);
}
