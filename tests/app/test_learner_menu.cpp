// The main window's learner and score menu entries and what it does after them.
#include "TemporaryStores.h"
#include "TestSupport.h"
#include "app/ModalCatcher.h"

#include "app/FrmLearner.h"
#include "app/FrmScore.h"
#include "app/FrmStartup.h"
#include "app/TipSettings.h"
#include "lessons/LessonGeneral.h"
#include "records/DbaseItems.h"
#include "records/LearnerItems.h"
#include "sound/MidiOut.h"
#include "sound/Mixer.h"
#include "sound/RecordingMidiOutput.h"
#include "sound/RecordingMixerDevice.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

class LearnerMenus : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultSettings();
        ResetSelection();
        SetMidiOutput(std::make_unique<RecordingMidiOutput>(&midi));
        SetMixerDevice(std::make_unique<RecordingMixerDevice>(&mixer));
        ASSERT_TRUE(stores.IsValid());
        SeedDrillRandom(17);
        StoreShowTipsAtStartup(false); // no tip window in the way of the dialogs
        window = std::make_unique<FrmStartup>();
        window->resize(800, 620);
        window->show();
        ASSERT_EQ(window->Load(), FrmStartup::LoadResult::Ready);
    }
    void TearDown() override
    {
        window.reset();
        SetMidiOutput(nullptr);
        SetMixerDevice(nullptr);
        StoreShowTipsAtStartup(true);
    }

    // Chooses a learner entry and answers the dialog with name typed into the box.
    void CreateLearner(const QString& name)
    {
        ModalCatcher catcher([name](QWidget* modal) {
            auto* dialog = qobject_cast<frmLearner*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->boxLearner->setText(name);
            dialog->btnOk->click();
        });
        window->mnuCreateLearner->trigger();
        EXPECT_EQ(catcher.Count(), 1);
    }

    RecordingMidiOutput::Log midi;
    RecordingMixerDevice::Log mixer;
    TemporaryStores stores; // before the window, which uses them until it goes
    MessageRecorder recorder;
    std::unique_ptr<FrmStartup> window;
};

} // namespace

TEST_F(LearnerMenus, ANewFirstLearnerNamesTheWindow)
{
    CreateLearner(QStringLiteral("Anna"));
    EXPECT_EQ(CurrLearnerKey, 1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fretlore - Learner: Anna"));

    CreateLearner(QStringLiteral("Ben"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fretlore - Learner: Anna"));

    ModalCatcher select([](QWidget* modal) {
        auto* dialog = qobject_cast<frmLearner*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->intAction, int(frmLearner::ActionSelect));
        dialog->lstLearners->setCurrentRow(1);
        dialog->btnOk->click();
    });
    window->mnuSelCurrLearner->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fretlore - Learner: Ben"));
}

TEST_F(LearnerMenus, DeletingTheCurrentLearnerLeavesNoLearnerSelected)
{
    CreateLearner(QStringLiteral("Anna"));
    ModalCatcher remove([](QWidget* modal) {
        auto* dialog = qobject_cast<frmLearner*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->intAction, int(frmLearner::ActionDelete));
        dialog->btnOk->click(); // Anna is preselected; the recorder answers OK
    });
    window->mnuDeleteLearner->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fretlore"));
    EXPECT_EQ(CurrLearnerKey, -1);
}

TEST_F(LearnerMenus, AnUnreadableLearnerFileSkipsTheFollowUp)
{
    CreateLearner(QStringLiteral("Anna"));
    QFile file(GetLearnerItems().FilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("<RECORD name = 'Anna'></RECORD>\r\n");
    file.close();
    ModalCatcher catcher;
    window->mnuEditLearner->trigger();
    EXPECT_EQ(catcher.Count(), 0) << "the dialog never opens";
    EXPECT_FALSE(recorder.lastMessage().isEmpty());
    EXPECT_EQ(CurrLearnerKey, 1) << "the caption update is skipped";
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fretlore - Learner: Anna"));
}

TEST_F(LearnerMenus, ViewScoresCancelsATestAndChartsTheLessons)
{
    CreateLearner(QStringLiteral("Anna"));
    window->ArmTest();
    ASSERT_EQ(TestState, TestArmed);
    QStringList series;
    ModalCatcher catcher([&series](QWidget* modal) {
        auto* chart = qobject_cast<frmScore*>(modal);
        ASSERT_NE(chart, nullptr);
        for (int s = 1; s <= chart->Grid().SeriesCount(); ++s)
            series << chart->Grid().ColumnLabel(s);
    });
    window->mnuScore->trigger();
    EXPECT_EQ(catcher.LastTitle(), QStringLiteral("Score"));
    EXPECT_EQ(TestState, TestNone);
    ASSERT_EQ(series.size(), 6);
    EXPECT_EQ(series.first(), window->CurrentLesson()->strName);
}
