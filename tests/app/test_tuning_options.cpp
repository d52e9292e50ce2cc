// Instruments and tunings chosen in the options, through the real main window: what the
// board, the staff and the sound follow, and what a restart keeps.
#include "app/AppFixture.h"

#include "app/FrmOption.h"
#include "app/OptionsGeneralTab.h"
#include "app/RadioGroup.h"
#include "app/TuningPicker.h"
#include "core/NoteNames.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

class TuningOptionsTest : public AppFixture {
protected:
    void WithOptions(const std::function<void(FrmOption&, TuningPicker&)>& act)
    {
        EXPECT_EQ(WithDialog<FrmOption>(window->mnuOptions,
                                        [&](FrmOption& dialog) { act(dialog, *dialog.generalTab->tuningPicker); }),
                  1);
    }
    // Picks the entry holding data by the keyboard, as a user without a mouse would.
    static void Choose(QComboBox* box, const QVariant& data)
    {
        const int wanted = box->findData(data);
        ASSERT_GE(wanted, 0) << data.toString().toStdString();
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Home);
        for (int i = 0; i < wanted; ++i)
            QTest::keyClick(box, Qt::Key_Down);
        ASSERT_EQ(box->currentIndex(), wanted);
    }
    static void ChooseInstrument(TuningPicker& picker, InstrumentKind kind)
    {
        Choose(picker.cboInstrument, static_cast<int>(kind));
    }
    Settings& Current() { return window->GetSettings(); }
    static void Click(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    QString StaffLetters()
    {
        QString letters;
        const Instrument& instrument = window->GetNotes().GetInstrument();
        for (int level = 1; level <= instrument.StaffLevelCount(); ++level)
            letters += instrument.StaffLetter(level);
        return letters;
    }
    // The MIDI note a press of the open lowest string sounds in free play.
    int OpenLowStringPitch()
    {
        window->mnuFreePlay->trigger();
        midi.messages.clear();
        Press({1, 1});
        for (quint32 message : midi.messages)
            if ((message & 0xF0) == 0x90)
                return static_cast<int>((message >> 8) & 0x7F);
        return -1;
    }
};

} // namespace

TEST_F(TuningOptionsTest, ASevenStringInDropAIsKeptAndFollowedByBoardStaffAndSound)
{
    Start();
    WithOptions([&](FrmOption& dialog, TuningPicker& picker) {
        ChooseInstrument(picker, InstrumentKind::SevenStringGuitar);
        EXPECT_EQ(picker.CurrentTuning().id, QStringLiteral("guitar7-standard")) << "a new instrument starts standard";
        Choose(picker.cboTuning, QStringLiteral("guitar7-drop-a"));
        EXPECT_EQ(dialog.generalTab->optGuitarType->Checked(), 0) << "still a guitar for the three types";
        Click(dialog.btnOk);
    });
    EXPECT_EQ(Current().tuning, QStringLiteral("guitar7-drop-a"));
    EXPECT_EQ(Current().guitarType, 0);
    EXPECT_EQ(Board().StringCount(), 7);
    EXPECT_EQ(window->objPatternPlay->objFretboard->StringCount(), 7);
    EXPECT_TRUE(StaffLetters().startsWith(QStringLiteral("ABCDEFG"))) << StaffLetters().toStdString();
    EXPECT_EQ(Board().NoteNameAt({1, 1}), QStringLiteral("A-0"));
    EXPECT_EQ(OpenLowStringPitch(), 33) << "A1, two semitones below the seven-string's low B";

    WithOptions([&](FrmOption& dialog, TuningPicker& picker) {
        EXPECT_EQ(picker.CurrentTuning().id, QStringLiteral("guitar7-drop-a")) << "the dialog opens on the stored one";
        Click(dialog.btnCancel);
    });

    Restart();
    EXPECT_EQ(Board().StringCount(), 7);
    EXPECT_EQ(Board().NoteNameAt({2, 1}), QStringLiteral("E-0"));
}

TEST_F(TuningOptionsTest, ACustomTuningIsBuiltStringByStringAndSaysHowItsPatternsFollow)
{
    Start();
    WithOptions([&](FrmOption& dialog, TuningPicker& picker) {
        Choose(picker.cboTuning, QStringLiteral("guitar6-drop-d"));
        EXPECT_FALSE(picker.cboOpenStrings.front()->isEnabled()) << "a known tuning's strings are its own";
        EXPECT_TRUE(picker.lblPatterns->text().contains(QStringLiteral("five box shapes")));
        // End jumps to "Custom" at the list's foot, which starts from the tuning shown.
        QTest::keyClick(picker.cboTuning, Qt::Key_End);
        ASSERT_EQ(picker.CurrentTuning().id, QStringLiteral("custom"));
        ASSERT_EQ(picker.cboOpenStrings.size(), 6u);
        EXPECT_TRUE(picker.cboOpenStrings.front()->isEnabled());
        // From drop D, the top string down a tone: "double drop D".
        Choose(picker.cboOpenStrings[5], NotePosition(QStringLiteral("D-2")));
        Click(dialog.btnOk);
    });
    EXPECT_EQ(Current().tuning, QStringLiteral("custom"));
    EXPECT_EQ(Current().customTuning, QStringLiteral("guitar6: D-0 A-1 D-1 G-1 B-2 D-2"));
    EXPECT_EQ(Board().NoteNameAt({6, 1}), QStringLiteral("D-2"));
    EXPECT_EQ(OpenLowStringPitch(), 38);

    // Strings a semitone apart cannot hold the boxes: the label says the whole neck is used.
    WithOptions([&](FrmOption& dialog, TuningPicker& picker) {
        ChooseInstrument(picker, InstrumentKind::FourStringBass);
        Choose(picker.cboTuning, QStringLiteral("custom"));
        const char* strings[] = {"E-0", "F-0", "F#-0", "G-0"};
        for (size_t i = 0; i < 4; ++i)
            Choose(picker.cboOpenStrings[i], NotePosition(QString::fromLatin1(strings[i])));
        EXPECT_TRUE(picker.lblPatterns->text().contains(QStringLiteral("whole neck")));
        Click(dialog.btnOk);
    });
    EXPECT_EQ(Current().guitarType, 1);
    EXPECT_EQ(Current().customTuning, QStringLiteral("bass4: E-0 F-0 F#-0 G-0"));
    EXPECT_EQ(Board().StringCount(), 4);
}

// The three type buttons and the instrument list follow each other; a bass has only the
// simple fretboard, but keeps a realistic style stored before the bass had its own pictures.
TEST_F(TuningOptionsTest, TheGuitarTypeButtonsAndTheInstrumentListAgree)
{
    StoreSetting(QStringLiteral("GuitarType"), QStringLiteral("2"));
    StoreSetting(QStringLiteral("FretboardStyle"), QStringLiteral("0"));
    Start();
    WithOptions([&](FrmOption& dialog, TuningPicker& picker) {
        OptionsGeneralTab& tab = *dialog.generalTab;
        RadioGroup& style = *tab.optFretboardStyle;
        EXPECT_TRUE(tab.optGuitarType->Button(2)->isChecked());
        EXPECT_TRUE(style.Button(0)->isChecked());
        EXPECT_FALSE(style.Button(0)->isEnabled());
        Click(tab.optGuitarType->Button(0));
        Click(style.Button(0));
        Click(tab.optGuitarType->Button(1));
        EXPECT_EQ(picker.CurrentTuning(), StandardTuning(InstrumentKind::FourStringBass));
        EXPECT_TRUE(style.Button(1)->isChecked());
        EXPECT_FALSE(style.Button(0)->isEnabled());
        ChooseInstrument(picker, InstrumentKind::SixStringBass);
        EXPECT_EQ(tab.optGuitarType->Checked(), 2);
        ChooseInstrument(picker, InstrumentKind::SevenStringGuitar);
        EXPECT_EQ(tab.optGuitarType->Checked(), 0);
        EXPECT_TRUE(style.Button(0)->isEnabled());
        EXPECT_TRUE(style.Button(1)->isChecked());
        Click(tab.optGuitarType->Button(2));
        EXPECT_EQ(picker.CurrentTuning(), StandardTuning(InstrumentKind::FiveStringBass));
        Click(dialog.btnOk);
    });
    EXPECT_EQ(Current().guitarType, 2);
    EXPECT_EQ(Current().tuning, QStringLiteral("bass5-standard"));
    EXPECT_EQ(Board().StringCount(), 5);
}

TEST_F(TuningOptionsTest, AnUnknownStoredTuningStartsInStandardAndSaysSo)
{
    StoreSetting(QStringLiteral("GuitarType"), QStringLiteral("1"));
    StoreSetting(QStringLiteral("Tuning"), QStringLiteral("bass4-piccolo"));
    Start();
    EXPECT_TRUE(recorder.allMessages().contains(QStringLiteral("\"bass4-piccolo\""))) << recorder.allMessages().toStdString();
    EXPECT_EQ(Board().StringCount(), 4);
    EXPECT_EQ(Board().NoteNameAt({1, 1}), QStringLiteral("E-0"));
}
