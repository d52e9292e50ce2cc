// What the running program sends to the MIDI output: the device the first note of a
// run goes to, the pitch of a named note, and the note-offs of the drill's timed notes.
#include "TestSupport.h"

#include "app/FrmStartup.h"
#include "app/TipSettings.h"
#include "lessons/LessonGeneral.h"
#include "records/DbaseItems.h"
#include "records/LearnerItems.h"
#include "sound/MidiOut.h"
#include "sound/Mixer.h"
#include "sound/RecordingMidiOutput.h"
#include "sound/RecordingMixerDevice.h"
#include "views/FretboardControl.h"

#include <QAction>
#include <QTest>
#include <gtest/gtest.h>

#include <map>

namespace {

const QString kChosenPort = QStringLiteral("Chosen port");

class WindowSoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultSettings();
        ResetSelection();
        StoreShowTipsAtStartup(false); // the tip window would wait for an answer
        SetMixerDevice(std::make_unique<RecordingMixerDevice>(&mixer));
        GetLearnerItems() = LearnerItems();
        GetDbaseItems() = DbaseItems();
        SeedDrillRandom(29);
    }
    void TearDown() override
    {
        window.reset();
        SetMidiOutput(nullptr);
        SetMixerDevice(nullptr);
    }

    // Stores the settings the program starts with, then starts it on a back end that
    // lists two ports and records what goes where.
    void Start(int guitarType)
    {
        window.reset();
        SetMidiOutput(nullptr);
        midi = {};
        SetMidiOutput(std::make_unique<RecordingMidiOutput>(
            &midi, QStringList{QStringLiteral("Other port"), kChosenPort}));
        GuitarType = guitarType;
        EnableSound = true;
        CurDeviceName = kChosenPort;
        Channel = 3;
        Patch = 19; // church organ: a note sounds until its note-off
        QString message;
        ASSERT_TRUE(SaveSettings(message)) << message.toStdString();

        window = std::make_unique<FrmStartup>();
        window->resize(800, 620);
        window->show();
        ASSERT_EQ(window->Load(), FrmStartup::LoadResult::Ready);
        ASSERT_TRUE(recorder.shown.empty()) << recorder.lastMessage().toStdString();
    }

    FretboardControl& Board() { return *window->objFretlore->objFretboard; }
    void ClickCell(int string, int position)
    {
        const Rect& r = Board().String(string).Item(position).Bounds();
        QTest::mouseClick(&Board(), Qt::LeftButton, {}, QPoint(qRound(r.floatCenterX), qRound(r.floatCenterY)));
    }
    // Clicks the first cell of the prompted note; returns its name.
    QString AnswerRight()
    {
        const QString prompt = window->CurrentLesson()->GetActiveNoteName();
        for (int s = 1; s <= Board().StringCount(); ++s)
            for (int f = 1; f <= 14; ++f)
                if (Board().String(s).Item(f).GetNoteName() == prompt) {
                    ClickCell(s, f);
                    return prompt;
                }
        ADD_FAILURE() << "no cell holds the prompt " << prompt.toStdString();
        return {};
    }

    static quint32 Status(quint32 message) { return message & 0xF0; }
    static int Key(quint32 message) { return static_cast<int>((message >> 8) & 0x7F); }

    RecordingMidiOutput::Log midi;
    RecordingMixerDevice::Log mixer;
    MessageRecorder recorder;
    std::unique_ptr<FrmStartup> window;
};

} // namespace

// The first note after start-up goes to the port chosen in the options, at the pitch its
// name says: the guitar's open low E is E2, the basses' an octave lower.
TEST_F(WindowSoundTest, TheFirstNoteOfARunSoundsOnTheChosenPortAtConcertPitch)
{
    struct Case {
        int guitarType;
        int lowestOpenString;
    };
    for (const Case& instrument : {Case{0, 40}, Case{1, 28}, Case{2, 23}}) {
        SCOPED_TRACE(instrument.guitarType);
        Start(instrument.guitarType);
        window->mnuFreePlay->trigger();
        ASSERT_TRUE(midi.messages.empty()) << "nothing sounds before the click";
        ClickCell(1, 1);

        ASSERT_GE(midi.messages.size(), 2u);
        EXPECT_EQ(midi.messages[0], PackShortMessage(0xC3, 19, 0));
        EXPECT_EQ(midi.messages[1], PackShortMessage(0x93, instrument.lowestOpenString, 127));
        EXPECT_EQ(midi.devices, std::vector<int>(midi.messages.size(), 1)) << "every message went to the chosen port";
        EXPECT_EQ(midi.lastOpenedDevice, 1);
    }
}

// Right answers in a row on an organ: each note is stopped when the next right answer
// replaces it, the last one by the timer, so no key is left sounding.
TEST_F(WindowSoundTest, ARightAnswerStopsTheTimedNoteItReplaces)
{
    Start(0);
    const QString first = AnswerRight();
    ASSERT_EQ(midi.messages.size(), 2u);
    const int firstKey = Key(midi.messages[1]);
    EXPECT_EQ(Status(midi.messages[1]), 0x90u);

    const QString second = AnswerRight();
    ASSERT_NE(first, second) << "the drill does not prompt the same note twice in a row";
    ASSERT_EQ(midi.messages.size(), 5u);
    const int secondKey = Key(midi.messages[3]);
    EXPECT_EQ(midi.messages[3], PackShortMessage(0x93, secondKey, 127));
    EXPECT_EQ(midi.messages[4], PackShortMessage(0x83, firstKey, 0)) << "the replaced note is stopped at once";

    const QString third = AnswerRight();
    ASSERT_EQ(midi.messages.size(), 8u);
    EXPECT_EQ(midi.messages[7], PackShortMessage(0x83, secondKey, 0));
    const int thirdKey = Key(midi.messages[6]);

    window->TimerNoteTimeout.Tick();
    EXPECT_EQ(midi.messages.back(), PackShortMessage(0x83, thirdKey, 0)) << "the last one at its timeout";
    window->TimerNoteTimeout.Tick();
    EXPECT_FALSE(window->TimerNoteTimeout.IsActive());

    std::map<int, int> sounding;
    for (const quint32 message : midi.messages) {
        if (Status(message) == 0x90)
            ++sounding[Key(message)];
        else if (Status(message) == 0x80)
            --sounding[Key(message)];
    }
    for (const auto& [key, count] : sounding)
        EXPECT_EQ(count, 0) << "key " << key << " is left sounding";
    EXPECT_EQ(MidiOutHandle, 0u);
}
