// The options dialog through the real main window, and what the window rebuilds after it.
#include "app/AppFixture.h"

#include "app/FrmOption.h"
#include "app/OptionsGeneralTab.h"
#include "app/OptionsLessonsTab.h"
#include "app/OptionsMidiTab.h"
#include "app/RadioGroup.h"
#include "app/ScrolledNumberBox.h"
#include "core/Paths.h"
#include "views/StaffPicture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>

namespace {

class OptionsTest : public AppFixture {
protected:
    FrmStartup& Start(QStringList devicePorts = {}, int deviceOpenError = 0)
    {
        ports = std::move(devicePorts);
        openError = deviceOpenError;
        return AppFixture::Start();
    }
    // Chooses "&Options" and hands the dialog to act while it is shown.
    void WithOptions(const std::function<void(FrmOption&)>& act)
    {
        EXPECT_EQ(WithDialog<FrmOption>(window->mnuOptions, act), 1);
    }
    // Near the left edge: a check box takes clicks only on its mark and caption.
    static void Click(QWidget* widget)
    {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
    }
    static void ClickEntry(QListWidget* list, const QString& text)
    {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    }
    // Types over the box's text; Return presses the default button after a good value.
    static void Type(QLineEdit* box, const QString& text, bool pressReturn = true)
    {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
        if (pressReturn)
            QTest::keyClick(box, Qt::Key_Return);
    }
    static QString Stored(const char* key)
    {
        return SettingsStore::Open()->value(QStringLiteral("General/") + QLatin1String(key)).toString();
    }
    Settings& Current() { return window->GetSettings(); }
};

} // namespace

TEST_F(OptionsTest, NumberBoxesRefuseBadValuesAndAskForAnotherTry)
{
    Start();
    WithOptions([&](FrmOption& dialog) {
        OptionsMidiTab& midiTab = *dialog.midiTab;
        Type(midiTab.numChannel->box, QString());
        EXPECT_EQ(recorder.lastMessage(), QStringLiteral("A value that is not a number has been entered. Please retry."));
        EXPECT_EQ(midiTab.numChannel->box->text(), QStringLiteral("0"));
        Type(midiTab.numChannel->box, QStringLiteral("16"));
        EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Only a value between 0 and 15 can be entered. Please retry."));
        EXPECT_EQ(midiTab.numChannel->box->text(), QStringLiteral("0"));
        EXPECT_TRUE(dialog.isVisible()) << "Return after a refused value does not close the dialog";
        Type(midiTab.numPatch->box, QStringLiteral("128"));
        EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Only a value between 0 and 127 can be entered. Please retry."));
        Type(midiTab.numNoteMaxDuration->box, QStringLiteral("1e"));
        EXPECT_EQ(recorder.lastMessage(), QStringLiteral("A value that is not a number has been entered. Please retry."));

        // A test lasts at least ten seconds, by the bar or typed.
        ScrolledNumberBox& duration = *dialog.generalTab->numTestDuration;
        duration.scroll->triggerAction(QAbstractSlider::SliderToMaximum);
        duration.scroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(duration.box->text(), QStringLiteral("10"));
        Type(duration.box, QStringLiteral("5"));
        EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Only a value between 10 and 100 can be entered. Please retry."));
        EXPECT_EQ(duration.box->text(), QStringLiteral("10"));
        const size_t messages = recorder.shown.size();

        // The scroll bar's top is the highest value.
        midiTab.numChannel->scroll->setValue(0);
        EXPECT_EQ(midiTab.numChannel->box->text(), QStringLiteral("15"));
        midiTab.numPatch->scroll->setValue(87);
        EXPECT_EQ(midiTab.numPatch->box->text(), QStringLiteral("40"));
        Type(midiTab.numNoteMaxDuration->box, QStringLiteral("25"), false);
        Click(dialog.btnOk);
        EXPECT_EQ(recorder.shown.size(), messages);
    });
    EXPECT_EQ(Current().channel, 15);
    EXPECT_EQ(Current().patch, 40);
    EXPECT_EQ(Current().noteMaxDuration, 25);
    EXPECT_EQ(Current().testDuration, 10);
    EXPECT_EQ(Stored("Patch"), QStringLiteral("40"));
    EXPECT_EQ(Stored("TestDuration"), QStringLiteral("10"));
}

// The note length's bar reaches 50 tenths, but the setting holds any 16-bit number.
TEST_F(OptionsTest, ANoteLengthBeyondTheScrollBarIsKept)
{
    StoreSetting(QStringLiteral("NoteMaxDuration"), QStringLiteral("200"));
    Start();
    WithOptions([&](FrmOption& dialog) {
        EXPECT_EQ(dialog.midiTab->numNoteMaxDuration->box->text(), QStringLiteral("200"));
        EXPECT_EQ(dialog.midiTab->numNoteMaxDuration->scroll->value(), 0) << "the bar stands at its top";
        Click(dialog.btnOk);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_TRUE(recorder.shown.empty()) << recorder.lastMessage().toStdString();
    EXPECT_EQ(Stored("NoteMaxDuration"), QStringLiteral("200"));

    WithOptions([&](FrmOption& dialog) {
        QLineEdit* box = dialog.midiTab->numNoteMaxDuration->box;
        Type(box, QStringLiteral("32768"));
        EXPECT_EQ(recorder.lastMessage(),
                  QStringLiteral("Only a value between -32768 and 32767 can be entered. Please retry."));
        dialog.midiTab->numNoteMaxDuration->scroll->setValue(20);
        EXPECT_EQ(box->text(), QStringLiteral("30"));
        Type(box, QStringLiteral("32767"), false);
        Click(dialog.btnOk);
    });
    EXPECT_EQ(recorder.shown.size(), 1U);
    EXPECT_EQ(Current().noteMaxDuration, 32767);
}

// The drill's switches and the neck's turn are stored, and none of them rebuilds the boards.
TEST_F(OptionsTest, DrillSwitchesAndTheNecksTurnAreStoredWithoutARebuild)
{
    Start();
    FretboardControl* trainerBoard = window->objTrainer->objFretboard;
    WithOptions([&](FrmOption& dialog) {
        OptionsGeneralTab& tab = *dialog.generalTab;
        EXPECT_TRUE(tab.chkEchoEnabled->isEnabled());
        EXPECT_FALSE(tab.frmPlayNoteWhenSelected->isEnabled());
        Click(tab.optPlayNoteOnPrompt[1]);
        EXPECT_FALSE(tab.frmPlayNoteOnPrompt->isEnabled());
        EXPECT_FALSE(tab.chkEchoEnabled->isEnabled());
        EXPECT_TRUE(tab.chkBeepOnError->isEnabled());
        Click(tab.chkBeepOnError);
        EXPECT_TRUE(tab.optLowestString[1]->isChecked()) << "at the bottom";
        Click(tab.chkLeftHandedNeck);
        Click(tab.optLowestString[0]);
        Click(dialog.btnOk);
        EXPECT_FALSE(dialog.boolFretboardStyleChanged);
    });
    EXPECT_FALSE(Current().playNoteOnPrompt);
    EXPECT_FALSE(Current().beepOnError);
    EXPECT_TRUE(Current().echoEnabled);
    EXPECT_EQ(Stored("PlayNoteOnPrompt"), QStringLiteral("False"));
    EXPECT_EQ(Stored("BeepOnError"), QStringLiteral("False"));
    EXPECT_EQ(Stored("EchoEnabled"), QStringLiteral("True"));
    EXPECT_EQ(Stored("LeftHandedNeck"), QStringLiteral("True"));
    EXPECT_EQ(Stored("LowestStringOnTop"), QStringLiteral("True"));
    // The nut on the right, the lowest string at the top, on both pages.
    EXPECT_GT(trainerBoard->CellCentre({1, 1}).x(), trainerBoard->CellCentre({1, 2}).x());
    EXPECT_LT(trainerBoard->CellCentre({1, 1}).y(), trainerBoard->CellCentre({6, 1}).y());
    window->stpTabStrip->setCurrentIndex(1);
    EXPECT_TRUE(window->objPatternPlay->objFretboard->IsLeftHanded());
    EXPECT_TRUE(window->objPatternPlay->objFretboard->IsLowestOnTop());
}

TEST_F(OptionsTest, CancelTakesBackALessonAndTheCustomLessonStoresItsKeyAndTwoPatterns)
{
    Start();
    WithOptions([&](FrmOption& dialog) {
        dialog.SSTab1->setCurrentIndex(2);
        ClickEntry(dialog.lessonsTab->lstLessons, QStringLiteral("Lesson 2 - Learn second pattern"));
        EXPECT_EQ(dialog.lessonsTab->lstHilitedPatterns->currentItem()->text(), QStringLiteral("Pattern 1"));
        Click(dialog.btnCancel);
    });
    EXPECT_EQ(window->objTrainer->GetSelection().pattern, 4);
    EXPECT_EQ(window->StatusPanelText(QStringLiteral("Lesson")), QStringLiteral("Lesson 1 - Start"));

    WithOptions([&](FrmOption& dialog) {
        dialog.SSTab1->setCurrentIndex(2);
        EXPECT_FALSE(dialog.lessonsTab->lstHilitedPatterns->isEnabled());
        EXPECT_TRUE(dialog.lessonsTab->txtKey->isVisible());

        ClickEntry(dialog.lessonsTab->lstLessons, QStringLiteral("Lesson 5 - Custom scales"));
        EXPECT_EQ(Current().currLessonKey, 1) << "the choice reaches the settings with OK";
        EXPECT_TRUE(dialog.lessonsTab->cboKey->isVisible());
        EXPECT_FALSE(dialog.lessonsTab->txtKey->isVisible());
        ASSERT_TRUE(dialog.lessonsTab->lstHilitedPatterns->isEnabled());
        EXPECT_EQ(dialog.lessonsTab->lstHilitedPatterns->selectedItems().size(), 1) << "the custom pattern, 1";

        ClickEntry(dialog.lessonsTab->lstHilitedPatterns, QStringLiteral("None"));
        EXPECT_EQ(dialog.lessonsTab->lstHilitedPatterns->selectedItems().size(), 1) << "None stands alone";
        ClickEntry(dialog.lessonsTab->lstHilitedPatterns, QStringLiteral("Pattern 4"));
        ClickEntry(dialog.lessonsTab->lstHilitedPatterns, QStringLiteral("Pattern 2"));
        EXPECT_EQ(dialog.lessonsTab->lstHilitedPatterns->selectedItems().size(), 2);
        dialog.lessonsTab->cboKey->setCurrentIndex(dialog.lessonsTab->cboKey->findText(QStringLiteral("G")));
        Click(dialog.btnOk);
    });
    const Selection& drill = window->objTrainer->GetSelection();
    EXPECT_EQ(drill.visiblePatterns, (std::vector<int>{2, 4}));
    EXPECT_EQ(drill.pattern, 4) << "the later one in the list";
    EXPECT_EQ(Current().currCustomPattern, 2) << "the one with the focus";
    EXPECT_EQ(drill.key, 11);
    EXPECT_EQ(Stored("CurrLessonKey"), QStringLiteral("5"));
    EXPECT_EQ(window->StatusPanelText(QStringLiteral("Lesson")), QStringLiteral("Lesson 5 - Custom scales"));
    EXPECT_EQ(window->StatusPanelText(QStringLiteral("KeyAndScale")), QStringLiteral("Key: G Major"));
    EXPECT_EQ(window->objTrainer->objFretboard->GetSelection(), drill) << "the board shows the new choice";
}

TEST_F(OptionsTest, TheMidiTabListsThePortsAndSetsTheChosenOneAndTheVolume)
{
    Start({QStringLiteral("Port A"), QStringLiteral("Port B")});
    WithOptions([&](FrmOption& dialog) {
        dialog.SSTab1->setCurrentIndex(1);
        ASSERT_EQ(dialog.midiTab->lstMidiDevs->count(), 3);
        EXPECT_EQ(dialog.midiTab->lstMidiDevs->currentItem()->text(), QStringLiteral("Midi Mapper"));
        ClickEntry(dialog.midiTab->lstMidiDevs, QStringLiteral("Port B"));
        dialog.midiTab->Slider->setValue(20000);
        Click(dialog.btnOk);
    });
    EXPECT_EQ(Current().curDeviceName, QStringLiteral("Port B"));
    EXPECT_EQ(window->Sound().Midi().DeviceId(), 1);
    EXPECT_EQ(mixer.level, 20000u);
    EXPECT_EQ(Stored("CurDeviceName"), QStringLiteral("Port B"));
}

// A port that cannot be opened is named at the start and again by Apply, which turns sound off.
TEST_F(OptionsTest, WithoutAWorkingDeviceTheStartAndApplyTurnSoundOff)
{
    const QString cannotOpen = QStringLiteral("Unable to open the MIDI device. Couldn't open midi out, "
                                              "error description is: The device is gone.");
    Start({}, 77);
    ASSERT_EQ(recorder.shown.size(), 1u) << recorder.allMessages().toStdString();
    EXPECT_EQ(recorder.lastMessage(), cannotOpen);
    const QString storedBefore = Stored("EnableSound");
    WithOptions([&](FrmOption& dialog) {
        dialog.SSTab1->setCurrentIndex(1);
        EXPECT_FALSE(dialog.midiTab->chkEnableSound->isChecked());
        Click(dialog.midiTab->chkEnableSound);
        Click(dialog.btnApply);
        EXPECT_EQ(recorder.shown.size(), 2u);
        EXPECT_EQ(recorder.lastMessage(), cannotOpen);
        EXPECT_FALSE(dialog.midiTab->chkEnableSound->isChecked());
        EXPECT_FALSE(Current().enableSound);
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(Stored("EnableSound"), storedBefore) << "Apply stores nothing";
}

TEST_F(OptionsTest, BrowseSplitsThePathForTheFileDialogAndTakesTheChoice)
{
    Start();
    WithOptions([&](FrmOption& dialog) {
        QStringList asked;
        QString answer;
        dialog.generalTab->cdlgFile = [&](QWidget*, const QString& title, const QString& folder, const QString& name) {
            asked = {title, folder, name};
            return answer;
        };
        dialog.generalTab->boxWebBrowserPath->setText(QStringLiteral("/opt/web/browser"));
        Click(dialog.generalTab->btnBrowse);
        EXPECT_EQ(asked, QStringList({QStringLiteral("Please indicate the position of your WebBrowser, preferably IE4"),
                                      QStringLiteral("/opt/web/"), QStringLiteral("browser")}));
        EXPECT_EQ(dialog.generalTab->boxWebBrowserPath->text(), QStringLiteral("/opt/web/browser")) << "cancelled";
        answer = QStringLiteral("/usr/bin/firefox");
        Click(dialog.generalTab->btnBrowse);
        Click(dialog.btnOk);
    });
    EXPECT_EQ(Current().webBrowserPath, QStringLiteral("/usr/bin/firefox"));
}

TEST_F(OptionsTest, TheFourStringBassRebuildsBothBoardsAndTheStaffAtOnce)
{
    Start();
    ASSERT_EQ(window->objTrainer->objFretboard->StringCount(), 6);
    ASSERT_EQ(window->objTrainer->objSheet->Geometry().LevelCount(), 23);
    WithOptions([&](FrmOption& dialog) {
        Click(dialog.generalTab->optGuitarType->Button(1));
        Click(dialog.btnOk);
        EXPECT_TRUE(dialog.boolFretboardStyleChanged);
    });
    EXPECT_EQ(Current().guitarType, 1);
    EXPECT_EQ(Current().fretboardStyle, 1);
    EXPECT_EQ(window->objTrainer->objFretboard->StringCount(), 4);
    EXPECT_EQ(window->objPatternPlay->objFretboard->StringCount(), 4);
    SheetControl* sheet = window->objTrainer->objSheet;
    EXPECT_EQ(sheet->Geometry().LevelCount(), 18);

    // The staff shows the bass clef: its left part, before any note, is the bass staff.
    MusicSigns signs;
    ASSERT_TRUE(signs.Load(nullptr));
    const auto staffOf = [&](bool bass) {
        return DrawStaffPicture(sheet->size(), 1, sheet->Geometry().WorkArea(), bass, signs)
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage shown = sheet->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect clef(0, 0, qRound(120 * sheet->Zoom()), sheet->height());
    ASSERT_NE(staffOf(true).copy(clef), staffOf(false).copy(clef));
    EXPECT_EQ(shown.copy(clef), staffOf(true).copy(clef));

    // The drill goes on with the new board: its prompt lies on one of the four strings.
    EXPECT_TRUE(CellFor(true)) << window->CurrentLesson()->GetActiveNoteName().toStdString();
    EXPECT_TRUE(recorder.shown.empty()) << recorder.lastMessage().toStdString();
}
