#include "ModalCatcher.h"
#include "TemporaryStores.h"
#include "TestSupport.h"

#include "app/FrmOption.h"
#include "app/FrmStartup.h"
#include "app/TipSettings.h"
#include "core/Paths.h"
#include "lessons/LessonGeneral.h"
#include "records/DbaseItems.h"
#include "records/LearnerItems.h"
#include "sound/MidiOut.h"
#include "sound/Mixer.h"
#include "sound/RecordingMidiOutput.h"
#include "sound/RecordingMixerDevice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultSettings();
        StoreShowTipsAtStartup(false); // the tip window would come first
        ResetSelection();
        ASSERT_TRUE(stores.IsValid());
        SeedDrillRandom(11);
        SetMixerDevice(std::make_unique<RecordingMixerDevice>(&mixer));
    }
    void TearDown() override
    {
        window.reset();
        SetMidiOutput(nullptr);
        SetMixerDevice(nullptr);
    }

    // Starts the main window on a recording MIDI back end with these ports.
    FrmStartup& Start(QStringList ports = {}, int openError = 0)
    {
        auto output = std::make_unique<RecordingMidiOutput>(&midi, std::move(ports));
        output->openError = openError;
        SetMidiOutput(std::move(output));
        window = std::make_unique<FrmStartup>();
        window->resize(800, 620);
        window->show();
        EXPECT_EQ(window->Load(), FrmStartup::LoadResult::Ready);
        return *window;
    }

    // Chooses "&Options" and hands the dialog to act while it is shown. A dialog that
    // act leaves open is closed, as by its close box.
    void WithOptions(const std::function<void(frmOption&)>& act)
    {
        int seen = 0;
        ModalCatcher catcher([&](QWidget* modal) {
            auto* dialog = qobject_cast<frmOption*>(modal);
            ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
            ++seen;
            act(*dialog);
        });
        window->mnuOptions->trigger();
        EXPECT_EQ(seen, 1);
    }

    // Near the left edge: a check box or option button only takes clicks on its own
    // mark and caption, and its row may be wider.
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
    // Replaces the box's text as typed; Return ends the editing (and, for a good value,
    // presses the dialog's default button).
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
        const auto store = OpenSettingsStore();
        return store->value(QStringLiteral("General/") + QLatin1String(key)).toString();
    }

    RecordingMidiOutput::Log midi;
    RecordingMixerDevice::Log mixer;
    TemporaryStores stores; // before the window, which uses them until it goes
    MessageRecorder recorder;
    std::unique_ptr<FrmStartup> window;
};

} // namespace

TEST_F(OptionsTest, NumberBoxesRefuseBadValuesAndAskForAnotherTry)
{
    Start();
    WithOptions([&](frmOption& dialog) {
        Type(dialog.boxChannel, QString());
        EXPECT_EQ(recorder.lastMessage(), QStringLiteral("A value that is not a number has been entered. Please retry."));
        EXPECT_EQ(dialog.boxChannel->text(), QStringLiteral("0"));

        Type(dialog.boxChannel, QStringLiteral("16"));
        EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Only a value between 0 and 15 can be entered. Please retry."));
        EXPECT_EQ(dialog.boxChannel->text(), QStringLiteral("0"));
        EXPECT_TRUE(dialog.isVisible()) << "Return after a refused value does not close the dialog";

        Type(dialog.boxPatch, QStringLiteral("128"));
        EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Only a value between 0 and 127 can be entered. Please retry."));
        Type(dialog.boxNoteMaxDuration, QStringLiteral("1e"));
        EXPECT_EQ(recorder.lastMessage(), QStringLiteral("A value that is not a number has been entered. Please retry."));
        const size_t messages = recorder.shown.size();

        // The scroll bar's top is the highest value.
        dialog.scrollChannel->setValue(0);
        EXPECT_EQ(dialog.boxChannel->text(), QStringLiteral("15"));
        dialog.scrollPatch->setValue(87);
        EXPECT_EQ(dialog.boxPatch->text(), QStringLiteral("40"));
        Type(dialog.boxNoteMaxDuration, QStringLiteral("25"), false);
        Click(dialog.btnOk);
        EXPECT_EQ(recorder.shown.size(), messages);
    });
    EXPECT_EQ(Channel, 15);
    EXPECT_EQ(Patch, 40);
    EXPECT_EQ(NoteMaxDuration, 25);
    EXPECT_EQ(Stored("Patch"), QStringLiteral("40"));
}

// The note length's scroll bar reaches 50 tenths, but the setting holds any 16-bit
// number: a longer stored length survives OK, and the box takes what the setting holds.
TEST_F(OptionsTest, ANoteLengthBeyondTheScrollBarIsKept)
{
    {
        const auto store = OpenSettingsStore();
        store->setValue(QStringLiteral("General/NoteMaxDuration"), QStringLiteral("200"));
        store->sync();
    }
    Start();
    ASSERT_EQ(NoteMaxDuration, 200);
    WithOptions([&](frmOption& dialog) {
        EXPECT_EQ(dialog.boxNoteMaxDuration->text(), QStringLiteral("200"));
        EXPECT_EQ(dialog.scrollNoteMaxDuration->value(), 0) << "the bar stands at its top";
        Click(dialog.btnOk);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_TRUE(recorder.shown.empty()) << recorder.lastMessage().toStdString();
    EXPECT_EQ(NoteMaxDuration, 200);
    EXPECT_EQ(Stored("NoteMaxDuration"), QStringLiteral("200"));

    WithOptions([&](frmOption& dialog) {
        Type(dialog.boxNoteMaxDuration, QStringLiteral("32768"));
        EXPECT_EQ(recorder.lastMessage(),
                  QStringLiteral("Only a value between -32768 and 32767 can be entered. Please retry."));
        EXPECT_EQ(dialog.boxNoteMaxDuration->text(), QStringLiteral("0"));
        dialog.scrollNoteMaxDuration->setValue(20);
        EXPECT_EQ(dialog.boxNoteMaxDuration->text(), QStringLiteral("30"));
        Type(dialog.boxNoteMaxDuration, QStringLiteral("32767"), false);
        Click(dialog.btnOk);
    });
    EXPECT_EQ(recorder.shown.size(), 1U);
    EXPECT_EQ(NoteMaxDuration, 32767);
    EXPECT_EQ(Stored("NoteMaxDuration"), QStringLiteral("32767"));
}

TEST_F(OptionsTest, ATestLastsAtLeastTenSeconds)
{
    Start();
    WithOptions([&](frmOption& dialog) {
        EXPECT_EQ(dialog.boxTestDuration->text(), QStringLiteral("30"));
        EXPECT_EQ(dialog.scrollTestDur->value(), 70);
        dialog.scrollTestDur->triggerAction(QAbstractSlider::SliderToMaximum);
        dialog.scrollTestDur->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(dialog.boxTestDuration->text(), QStringLiteral("10"));

        Type(dialog.boxTestDuration, QStringLiteral("5"));
        EXPECT_EQ(recorder.lastMessage(),
                  QStringLiteral("Only a value between 10 and 100 can be entered. Please retry."));
        EXPECT_EQ(dialog.boxTestDuration->text(), QStringLiteral("10"));
        Click(dialog.btnOk);
    });
    EXPECT_EQ(TestDuration, 10);
    EXPECT_EQ(Stored("TestDuration"), QStringLiteral("10"));
}

TEST_F(OptionsTest, ABassHasOnlyTheSimpleFretboard)
{
    GuitarType = 2;
    FretboardStyle = 0; // stored before the bass had its own pictures
    QString message;
    ASSERT_TRUE(SaveSettings(message));
    Start();
    WithOptions([&](frmOption& dialog) {
        EXPECT_TRUE(dialog.optGuitarType[2]->isChecked());
        EXPECT_TRUE(dialog.optFretboardStyle[0]->isChecked()) << "a bass keeps the style it was stored with";
        EXPECT_FALSE(dialog.optFretboardStyle[0]->isEnabled());

        Click(dialog.optGuitarType[0]);
        EXPECT_TRUE(dialog.optFretboardStyle[0]->isEnabled());
        Click(dialog.optFretboardStyle[0]);
        Click(dialog.optGuitarType[1]);
        EXPECT_TRUE(dialog.optFretboardStyle[1]->isChecked());
        EXPECT_FALSE(dialog.optFretboardStyle[0]->isEnabled());
        Click(dialog.optGuitarType[0]);
        EXPECT_TRUE(dialog.optFretboardStyle[0]->isEnabled());
        EXPECT_TRUE(dialog.optFretboardStyle[1]->isChecked());
    });
}

TEST_F(OptionsTest, ChangingOnlyTheDrillStyleRebuildsNothing)
{
    Start();
    WithOptions([&](frmOption& dialog) {
        EXPECT_TRUE(dialog.optPlayNoteOnPrompt[0]->isChecked());
        EXPECT_TRUE(dialog.chkEchoEnabled->isEnabled());
        EXPECT_FALSE(dialog.frmPlayNoteWhenSelected->isEnabled());

        Click(dialog.optPlayNoteOnPrompt[1]);
        EXPECT_FALSE(dialog.frmPlayNoteOnPrompt->isEnabled());
        EXPECT_FALSE(dialog.chkEchoEnabled->isEnabled());
        EXPECT_TRUE(dialog.chkBeepOnError->isEnabled());
        Click(dialog.chkBeepOnError);
        Click(dialog.btnOk);
        EXPECT_FALSE(dialog.boolFretboardStyleChanged);
    });
    EXPECT_FALSE(PlayNoteOnPrompt);
    EXPECT_FALSE(BeepOnError);
    EXPECT_TRUE(EchoEnabled);
    EXPECT_EQ(PrevNoteEchoDuration, 0);
    EXPECT_EQ(Stored("PlayNoteOnPrompt"), QStringLiteral("False"));
    EXPECT_EQ(Stored("BeepOnError"), QStringLiteral("False"));
    EXPECT_EQ(Stored("EchoEnabled"), QStringLiteral("True"));
}

TEST_F(OptionsTest, TheCustomLessonStoresItsKeyAndTwoHighlightedPatterns)
{
    Start();
    WithOptions([&](frmOption& dialog) {
        dialog.SSTab1->setCurrentIndex(2);
        ASSERT_EQ(dialog.lstLessons->count(), 6);
        EXPECT_EQ(dialog.lstLessons->currentItem()->text(), QStringLiteral("Lesson 1 - Start"));
        EXPECT_FALSE(dialog.lstHilitedPatterns->isEnabled());
        EXPECT_TRUE(dialog.txtKey->isVisible());
        EXPECT_EQ(dialog.txtKey->text(), QStringLiteral("C"));
        ASSERT_EQ(dialog.lstPatterns->count(), 1);
        EXPECT_EQ(dialog.lstPatterns->item(0)->text(), QStringLiteral("Pattern 4"));

        ClickEntry(dialog.lstLessons, QStringLiteral("Lesson 5 - Custom scales"));
        EXPECT_EQ(CurrLessonKey, 5);
        EXPECT_TRUE(ScaleRebuildPending);
        EXPECT_TRUE(dialog.cboKey->isVisible());
        EXPECT_FALSE(dialog.txtKey->isVisible());
        ASSERT_TRUE(dialog.lstHilitedPatterns->isEnabled());
        EXPECT_EQ(dialog.lstHilitedPatterns->selectedItems().size(), 1) << "the custom pattern, 1";

        ClickEntry(dialog.lstHilitedPatterns, QStringLiteral("None"));
        EXPECT_EQ(dialog.lstHilitedPatterns->selectedItems().size(), 1) << "None stands alone";
        ClickEntry(dialog.lstHilitedPatterns, QStringLiteral("Pattern 4"));
        ClickEntry(dialog.lstHilitedPatterns, QStringLiteral("Pattern 2"));
        EXPECT_EQ(dialog.lstHilitedPatterns->selectedItems().size(), 2);
        dialog.cboKey->setCurrentIndex(dialog.cboKey->findText(QStringLiteral("G")));
        Click(dialog.btnOk);
    });
    EXPECT_EQ(VisiblePatterns.Count(), 2);
    EXPECT_EQ(VisiblePatterns.Item(1), QStringLiteral("2"));
    EXPECT_EQ(VisiblePatterns.Item(2), QStringLiteral("4"));
    EXPECT_EQ(CurrPattern, 4) << "the later one in the list";
    EXPECT_EQ(SavedPattern, 4);
    EXPECT_EQ(CurrCustomPattern, 2) << "the one with the focus";
    EXPECT_EQ(CurrCustomKey, 11);
    EXPECT_EQ(CurrKey, 11);
    EXPECT_EQ(window->CurrentLesson()->intKey, 11);
    EXPECT_EQ(Stored("CurrLessonKey"), QStringLiteral("5"));
    EXPECT_EQ(window->StatusPanelText(QStringLiteral("Lesson")), QStringLiteral("Lesson 5 - Custom scales"));
    EXPECT_EQ(window->StatusPanelText(QStringLiteral("KeyAndScale")), QStringLiteral("Key: G Major"));
    EXPECT_FALSE(ScaleRebuildPending) << "the trainer has redrawn with the new choice";
}

TEST_F(OptionsTest, CancelTakesBackALessonChosenInTheDialog)
{
    Start();
    WithOptions([&](frmOption& dialog) {
        dialog.SSTab1->setCurrentIndex(2);
        ClickEntry(dialog.lstLessons, QStringLiteral("Lesson 2 - Learn second pattern"));
        EXPECT_EQ(CurrLessonKey, 2);
        EXPECT_EQ(CurrPattern, 1);
        Click(dialog.btnCancel);
    });
    EXPECT_EQ(CurrLessonKey, 1);
    EXPECT_EQ(CurrPattern, 4);
    ASSERT_EQ(VisiblePatterns.Count(), 1);
    EXPECT_EQ(VisiblePatterns.Item(1), QStringLiteral("4"));
    EXPECT_EQ(window->StatusPanelText(QStringLiteral("Lesson")), QStringLiteral("Lesson 1 - Start"));
}

TEST_F(OptionsTest, TheMidiTabListsThePortsAndSetsTheChosenOneAndTheVolume)
{
    Start({QStringLiteral("Port A"), QStringLiteral("Port B")});
    WithOptions([&](frmOption& dialog) {
        dialog.SSTab1->setCurrentIndex(1);
        ASSERT_EQ(dialog.lstMidiDevs->count(), 3);
        EXPECT_EQ(dialog.lstMidiDevs->currentItem()->text(), QStringLiteral("Midi Mapper"));
        EXPECT_EQ(dialog.Slider->minimum(), 0);
        EXPECT_EQ(dialog.Slider->maximum(), 65535) << "the volume control's own range";
        ClickEntry(dialog.lstMidiDevs, QStringLiteral("Port B"));
        dialog.Slider->setValue(20000);
        Click(dialog.btnOk);
    });
    EXPECT_EQ(CurDeviceName, QStringLiteral("Port B"));
    EXPECT_EQ(MidiDeviceId, 1);
    EXPECT_EQ(mixer.level, 20000u);
    EXPECT_EQ(Stored("CurDeviceName"), QStringLiteral("Port B"));
}

TEST_F(OptionsTest, ApplyWithoutAWorkingDeviceTurnsSoundOffAgain)
{
    EnableSound = false;
    QString message;
    ASSERT_TRUE(SaveSettings(message));
    Start({}, 77);
    WithOptions([&](frmOption& dialog) {
        dialog.SSTab1->setCurrentIndex(1);
        EXPECT_FALSE(dialog.chkEnableSound->isChecked());
        Click(dialog.chkEnableSound);
        Click(dialog.btnApply);
        EXPECT_EQ(recorder.lastMessage(), QStringLiteral("Unable to open the MIDI device. Couldn't open midi out, "
                                                         "error description is: The device is gone."));
        EXPECT_FALSE(dialog.chkEnableSound->isChecked());
        EXPECT_FALSE(EnableSound);
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(Stored("EnableSound"), QStringLiteral("False")) << "Apply stores nothing";
}

TEST_F(OptionsTest, BrowseSplitsThePathForTheFileDialogAndTakesTheChoice)
{
    Start();
    WithOptions([&](frmOption& dialog) {
        QStringList asked;
        QString answer;
        dialog.cdlgFile = [&](QWidget*, const QString& title, const QString& directory, const QString& fileName) {
            asked = {title, directory, fileName};
            return answer;
        };
        dialog.boxWebBrowserPath->setText(QStringLiteral("/opt/web/browser"));
        Click(dialog.btnBrowse);
        EXPECT_EQ(asked, QStringList({QStringLiteral("Please indicate the position of your WebBrowser, preferably IE4"),
                                      QStringLiteral("/opt/web/"), QStringLiteral("browser")}));
        EXPECT_EQ(dialog.boxWebBrowserPath->text(), QStringLiteral("/opt/web/browser")) << "cancelled";
        answer = QStringLiteral("/usr/bin/firefox");
        Click(dialog.btnBrowse);
        EXPECT_EQ(dialog.boxWebBrowserPath->text(), answer);
        Click(dialog.btnOk);
    });
    EXPECT_EQ(WebBrowserPath, QStringLiteral("/usr/bin/firefox"));
}

TEST_F(OptionsTest, TheFourStringBassRebuildsBothBoardsAndTheStaffAtOnce)
{
    Start();
    ASSERT_EQ(window->objFretlore->objFretboard->StringCount(), 6);
    ASSERT_EQ(window->objFretlore->objSheet->Note(1).Count(), 23);
    WithOptions([&](frmOption& dialog) {
        Click(dialog.optGuitarType[1]);
        Click(dialog.btnOk);
        EXPECT_TRUE(dialog.boolFretboardStyleChanged);
    });
    EXPECT_EQ(GuitarType, 1);
    EXPECT_EQ(FretboardStyle, 1);
    EXPECT_EQ(window->objFretlore->objFretboard->StringCount(), 4);
    EXPECT_EQ(window->objPatternPlay->objFretboard->StringCount(), 4);
    SheetControl* sheet = window->objFretlore->objSheet;
    EXPECT_EQ(sheet->Note(1).Count(), 17);

    // The staff shows the bass clef: its left part, before any note, is the bass picture.
    const QImage bass = QImage(ProgramDataPath(QStringLiteral("Images/SheetBass.jpg"))).convertToFormat(QImage::Format_RGB32);
    const QImage treble = QImage(ProgramDataPath(QStringLiteral("Images/Sheet.jpg"))).convertToFormat(QImage::Format_RGB32);
    const QImage shown = sheet->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect clef(0, 0, 120, bass.height());
    ASSERT_NE(bass.copy(clef), treble.copy(clef));
    EXPECT_EQ(shown.copy(clef), bass.copy(clef));

    // The drill goes on with the new board: its prompt lies on one of the four strings.
    const QString prompt = window->CurrentLesson()->GetActiveNoteName();
    bool found = false;
    for (int s = 1; s <= 4; ++s)
        for (int f = 1; f <= 14; ++f)
            found = found || window->objFretlore->objFretboard->String(s).Item(f).GetNoteName() == prompt;
    EXPECT_TRUE(found) << prompt.toStdString();
    EXPECT_TRUE(recorder.shown.empty()) << recorder.lastMessage().toStdString();
}
