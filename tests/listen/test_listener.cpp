// Listening through an input, on the GUI thread's event loop: a recorded input plays
// notes, the listener reports them once, warns of clipping and silence, keeps quiet
// while the program sounds, and says clearly why it cannot start or had to stop.
#include "support/TestSignals.h"

#include "listen/Listener.h"
#include "listen/RecordedInput.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace listening;
using namespace listening::testing;

namespace {

struct Rig {
    Rig() : Rig(RecordedInput().Devices()) {}
    explicit Rig(QList<InputDevice> devices)
    {
        auto owned = std::make_unique<RecordedInput>(std::move(devices));
        input = owned.get();
        listener = std::make_unique<Listener>(std::move(owned));
    }
    RecordedInput* input;
    std::unique_ptr<Listener> listener;
};

Samples NoteAt(int rate, double start, int midi, double seconds = 1.0)
{
    Samples sound = Silence(rate, start);
    Append(sound, PluckedTone(rate, HzOfMidi(midi), seconds, 0.5));
    return sound;
}

// Waits (bounded) until the spy holds count signals.
bool WaitFor(QSignalSpy& spy, int count, int milliseconds = 5000)
{
    QDeadlineTimer deadline(milliseconds);
    while (spy.count() < count && !deadline.hasExpired())
        spy.wait(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    return spy.count() >= count;
}

} // namespace

TEST(Listener, AnInputThatIsMissingRefusesToOpenOrRunsAtNoUsableRateIsReportedAndNotListenedTo)
{
    struct Case {
        QList<InputDevice> devices;
        const char* chosen; // nullptr: the default input
        bool refusesToOpen;
        InputStatus status;
        const char* text;   // nullptr: not checked
    };
    const QList<InputDevice> recorded = RecordedInput().Devices();
    const Case cases[] = {
        {recorded, "USB Microphone", false, InputStatus::DeviceMissing,
         "The input USB Microphone is not available. Choose another input in the options."},
        {{}, nullptr, false, InputStatus::NoDevice,
         "No audio input was found. Connect a microphone or an audio interface, then try again."},
        {recorded, nullptr, true, InputStatus::OpenFailed,
         "The input Recorded input could not be opened: it may be in use by another program."},
        {{InputDevice{QStringLiteral("Telephone"), 1, {8000}, true}}, nullptr, false, InputStatus::RateUnsupported, nullptr},
    };
    for (const Case& c : cases) {
        Rig rig(c.devices);
        if (c.refusesToOpen)
            rig.input->FailNextOpen(InputStatus::OpenFailed);
        EXPECT_FALSE(rig.listener->Start(c.chosen ? QString::fromUtf8(c.chosen) : QString()));
        EXPECT_EQ(rig.listener->Status(), c.status);
        if (c.text) {
            EXPECT_EQ(rig.listener->ErrorText(), QString::fromUtf8(c.text));
        }
        EXPECT_FALSE(rig.listener->IsListening());
    }
}

class ListenerRates : public ::testing::TestWithParam<int> {};

TEST_P(ListenerRates, ANotePlayedIntoTheInputIsReportedOnceAsItsMidiNumber)
{
    const int rate = GetParam();
    Rig rig;
    Samples sound = NoteAt(rate, 0.3, 45, 1.5);
    Append(sound, NoteAt(rate, 0.1, 64, 0.8));
    rig.input->SetSound(sound);
    rig.input->SetSpeed(4.0);
    QSignalSpy played(rig.listener.get(), &Listener::notePlayed);
    QSignalSpy levels(rig.listener.get(), &Listener::levelChanged);
    ASSERT_TRUE(rig.listener->Start(QString(), rate)) << rig.listener->ErrorText().toStdString();
    EXPECT_EQ(rig.listener->SampleRate(), rate);
    EXPECT_EQ(rig.listener->Status(), InputStatus::Running);
    ASSERT_TRUE(WaitFor(played, 2));
    EXPECT_EQ(played.at(0).at(0).toInt(), 45);
    EXPECT_EQ(played.at(1).at(0).toInt(), 64);
    EXPECT_LT(played.at(0).at(1).toLongLong(), played.at(1).at(1).toLongLong());
    // Well after the second note nothing more comes.
    while (rig.input->Played() < sound.size() + std::size_t(rate))
        QTest::qWait(20);
    EXPECT_EQ(played.count(), 2);
    ASSERT_FALSE(levels.isEmpty());
    double loudest = -120.0;
    for (const QList<QVariant>& level : levels)
        loudest = std::max(loudest, level.at(1).toDouble());
    EXPECT_GT(loudest, -12.0);
    EXPECT_LT(loudest, 0.0);
}

INSTANTIATE_TEST_SUITE_P(Rates, ListenerRates, ::testing::Values(44100, 48000, 96000));

TEST(Listener, ANoteThatBeginsWhileTheProgramSoundsIsNotReported)
{
    const int rate = 48000;
    Rig rig;
    Samples sound = NoteAt(rate, 0.2, 45, 0.6);      // the program's own note, heard back
    Append(sound, NoteAt(rate, 0.2, 52, 0.6));       // the learner's answer at 1.0 s
    rig.input->SetSound(sound);
    QSignalSpy played(rig.listener.get(), &Listener::notePlayed);
    const auto started = Listener::Clock::now();
    rig.listener->MuteUntil(started + std::chrono::milliseconds(600)); // sounding until 0.6 s
    ASSERT_TRUE(rig.listener->Start(QString(), rate));
    ASSERT_TRUE(WaitFor(played, 1, 4000));
    EXPECT_EQ(played.at(0).at(0).toInt(), 52);
    const qint64 onset = played.at(0).at(1).toLongLong() - Listener::SteadyMs(started);
    EXPECT_NEAR(onset, 1000, 100) << "the onset on the steady clock";
}

TEST(Listener, AnInputThatVanishesStopsListeningWithAClearText)
{
    for (const bool reported : {true, false}) {
        Rig rig;
        rig.input->SetSound(NoteAt(48000, 0.2, 50));
        rig.input->SetSpeed(4.0);
        QSignalSpy stopped(rig.listener.get(), &Listener::listeningStopped);
        ASSERT_TRUE(rig.listener->Start(QString()));
        rig.input->Vanish(reported); // unplugged; without a report the stream just goes quiet
        ASSERT_TRUE(WaitFor(stopped, 1, 3000)) << (reported ? "reported" : "silent");
        EXPECT_EQ(stopped.at(0).at(0).value<InputStatus>(), InputStatus::Vanished);
        EXPECT_EQ(stopped.at(0).at(1).toString(),
                  "The input Recorded input stopped delivering sound (was it unplugged?). Listening is off.");
        EXPECT_FALSE(rig.listener->IsListening());
        // It can start again once the input is back.
        EXPECT_TRUE(rig.listener->Start(QString()));
        rig.listener->Stop();
    }
}

TEST(Listener, ClippingAndSilenceRaiseWarningsThatStoppingClears)
{
    const int rate = 44100;
    Rig rig;
    Samples loud = PluckedTone(rate, 220.0, 0.5, 3.0);
    for (float& x : loud)
        x = std::clamp(x, -1.0f, 1.0f);
    Append(loud, Silence(rate, 4.0));
    rig.input->SetSound(loud);
    rig.input->SetSpeed(4.0);
    QSignalSpy warnings(rig.listener.get(), &Listener::warningChanged);
    ASSERT_TRUE(rig.listener->Start(QString(), rate));
    ASSERT_TRUE(WaitFor(warnings, 1));
    EXPECT_EQ(warnings.at(0).at(0).value<InputWarning>(), InputWarning::Clipping);
    EXPECT_EQ(warnings.at(0).at(1).toString(), "The input is too loud and clips: turn its gain down.");
    // Three seconds of the input's silence pass while the clipping warning still holds.
    ASSERT_TRUE(WaitFor(warnings, 2, 6000));
    EXPECT_EQ(warnings.at(1).at(0).value<InputWarning>(), InputWarning::Silent);
    EXPECT_EQ(warnings.at(1).at(1).toString(),
              "The input is silent: check that the microphone is connected and not muted.");
    EXPECT_EQ(rig.listener->Warning(), InputWarning::Silent);
    rig.listener->Stop();
    EXPECT_EQ(rig.listener->Warning(), InputWarning::None);
}
