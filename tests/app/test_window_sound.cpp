// What the running program sends to the MIDI output: the port, the pitch and the note-offs.
#include "app/AppFixture.h"

#include <QAction>

#include <map>

namespace {

const QString kChosenPort = QStringLiteral("Chosen port");

class WindowSoundTest : public AppFixture {
protected:
    void StartOn(int guitarType)
    {
        window.reset();
        midi = {};
        ports = {QStringLiteral("Other port"), kChosenPort};
        StoreSetting(QStringLiteral("GuitarType"), QString::number(guitarType));
        StoreSetting(QStringLiteral("CurDeviceName"), kChosenPort);
        StoreSetting(QStringLiteral("Channel"), QStringLiteral("3"));
        StoreSetting(QStringLiteral("Patch"), QStringLiteral("19")); // church organ: sounds until its note-off
        Start();
        ASSERT_TRUE(recorder.shown.empty()) << recorder.lastMessage().toStdString();
    }
    QString AnswerRight()
    {
        const QString prompt = window->CurrentLesson()->GetActiveNoteName();
        AnswerPrompt(true);
        return prompt;
    }
    static quint32 Status(quint32 message) { return message & 0xF0; }
    static int Key(quint32 message) { return static_cast<int>((message >> 8) & 0x7F); }
};

} // namespace

// The guitar's open low E is E2, the basses' an octave lower.
TEST_F(WindowSoundTest, TheFirstNoteOfARunSoundsOnTheChosenPortAtConcertPitch)
{
    for (const auto& [guitarType, lowestOpenString] : {std::pair{0, 40}, std::pair{1, 28}, std::pair{2, 23}}) {
        SCOPED_TRACE(guitarType);
        StartOn(guitarType);
        window->mnuFreePlay->trigger();
        ASSERT_TRUE(midi.messages.empty()) << "nothing sounds before the press";
        Press({1, 1});
        ASSERT_GE(midi.messages.size(), 2u);
        EXPECT_EQ(midi.messages[0], PackShortMessage(0xC3, 19, 0));
        EXPECT_EQ(midi.messages[1], PackShortMessage(0x93, lowestOpenString, 127));
        EXPECT_EQ(midi.devices, std::vector<int>(midi.messages.size(), 1)) << "every message went to the chosen port";
    }
}

// On an organ no key may be left sounding: a right answer stops the note it replaces.
TEST_F(WindowSoundTest, ARightAnswerStopsTheTimedNoteItReplaces)
{
    StartOn(0);
    const QString first = AnswerRight();
    ASSERT_EQ(midi.messages.size(), 2u);
    const int firstKey = Key(midi.messages[1]);
    EXPECT_EQ(firstKey, window->GetNotes().GetNoteObject(first)->midi) << "the named note's concert pitch";
    const QString second = AnswerRight();
    ASSERT_NE(first, second);
    ASSERT_EQ(midi.messages.size(), 5u);
    const int secondKey = Key(midi.messages[3]);
    EXPECT_EQ(midi.messages[4], PackShortMessage(0x83, firstKey, 0)) << "the replaced note is stopped at once";
    AnswerRight();
    ASSERT_EQ(midi.messages.size(), 8u);
    EXPECT_EQ(midi.messages[7], PackShortMessage(0x83, secondKey, 0));
    const int thirdKey = Key(midi.messages[6]);
    window->Sound().Timeout().Tick();
    EXPECT_EQ(midi.messages.back(), PackShortMessage(0x83, thirdKey, 0)) << "the last one at its timeout";
    window->Sound().Timeout().Tick();
    EXPECT_FALSE(window->Sound().Timeout().IsActive());

    std::map<int, int> sounding;
    for (const quint32 message : midi.messages)
        sounding[Key(message)] += Status(message) == 0x90 ? 1 : Status(message) == 0x80 ? -1 : 0;
    for (const auto& [key, count] : sounding)
        EXPECT_EQ(count, 0) << "key " << key << " is left sounding";
    EXPECT_FALSE(window->Sound().Midi().IsOpen());
}
