// Answering by playing: a recorded input feeds notes into the real main window.
#include "AppFixture.h"

#include "app/FrmOption.h"
#include "app/OptionsInputTab.h"
#include "listen/PitchDetector.h"
#include "support/JackPlay.h"
#include "support/TestSignals.h"

#include <QCheckBox>
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

namespace {

using listening::testing::Samples;

const QString kCorrect = QStringLiteral("Correct! Now try the next note.");

class Listening : public AppFixture {
protected:
    Listening() { StoreSetting(QStringLiteral("ListenEnabled"), QStringLiteral("True")); }

    QString Status() const { return window->StatusPanelText(QString()); }
    QString Prompt() const { return window->CurrentLesson()->GetActiveNoteName(); }
    int PromptMidi() const { return window->GetNotes().GetNoteObject(Prompt())->midi; }

    // A plucked note at midi, after a short silence, then silence as a live input gives.
    static Samples Plucked(int rate, int midi, double seconds = 1.0)
    {
        Samples sound = listening::testing::Silence(rate, 0.2);
        listening::testing::Append(sound, listening::testing::PluckedTone(rate, listening::HzOfMidi(midi), seconds));
        return sound;
    }
    // The input plays sound from its start: listening begins again on it.
    void Play(Samples sound)
    {
        input->SetSound(std::move(sound));
        QString message;
        ASSERT_TRUE(window->Listening().Apply(window->GetSettings(), message)) << message.toStdString();
    }
    int NoteOns() const
    {
        return static_cast<int>(std::count_if(midi.messages.begin(), midi.messages.end(), [](quint32 message) {
            return (message & 0xF0) == 0x90 && ((message >> 16) & 0x7F) > 0;
        }));
    }
    bool WaitFor(const std::function<bool()>& done, int ms = 3000) { return QTest::qWaitFor(done, ms); }
    std::vector<PracticeAnswer> Stored() { return PracticeAnswers(std::nullopt); }
};

TEST_F(Listening, APlayedNoteAnswersTheDrillByItsPitchAtEachRateAndIsRecordedAsPlayed)
{
    struct Case {
        const char* what;
        int offset; // semitones from the prompt
        bool right;
        int rate;
    };
    const Case cases[] = {{"the prompt", 0, true, 44100},
                          {"a semitone above", 1, false, 48000},
                          {"an octave below", -12, false, 96000}};
    std::size_t filed = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        inputDevices = {{QStringLiteral("Interface"), 2, {c.rate}, true}};
        Start();
        ASSERT_TRUE(window->Listening().IsListening());
        const QString prompt = Prompt();
        const int midi = PromptMidi() + c.offset;
        Play(Plucked(c.rate, midi));
        EXPECT_EQ(input->SampleRate(), c.rate);
        const QString expected =
            c.right ? kCorrect
                    : QStringLiteral("Incorrect! You played %1. Click on sheetnote for assistance.")
                          .arg(NoteOfPitch(window->GetNotes(), midi).name);
        EXPECT_TRUE(WaitFor([&] { return Status() == expected; })) << Status().toStdString();
        EXPECT_EQ(Prompt() != prompt, c.right) << "only a right note moves on";
        const std::vector<PracticeAnswer> answers = Stored();
        ASSERT_EQ(answers.size(), ++filed) << "one answer per note";
        EXPECT_EQ(answers.back().input, AnswerInput::Microphone);
        EXPECT_EQ(answers.back().correct, c.right);
        EXPECT_EQ(NoteOns(), 0) << "the instrument sounded the answer: the program sounds nothing back";
        window.reset();
    }
}

TEST_F(Listening, AHeldNoteAnswersOnceAndTheTestCountsIt)
{
    AddLearner(QStringLiteral("Ann"));
    Start();
    recorder.answers = {MsgOk};
    window->mnuExecTest->trigger();
    ASSERT_EQ(window->Test().GetState(), TimedTest::State::Armed);
    Play(Plucked(48000, PromptMidi(), 3.0));
    ASSERT_TRUE(WaitFor([&] { return Status() == kCorrect; })) << Status().toStdString();
    EXPECT_EQ(window->Test().GetState(), TimedTest::State::Running) << "the played note started the test";
    QTest::qWait(1500); // the note rings on
    const TimedTest::Results results = window->Test().GetTestResults();
    EXPECT_EQ(results.count, 1);
    EXPECT_EQ(results.right, 1);
    const std::vector<PracticeAnswer> answers = Stored();
    ASSERT_EQ(answers.size(), 1U);
    EXPECT_EQ(answers[0].activity, PracticeActivity::Test);
}

TEST_F(Listening, TheProgramsOwnNoteDoesNotAnswer)
{
    Start();
    const QString prompt = Prompt();
    const Samples sound = Plucked(48000, PromptMidi());
    // The staff sounds the prompt (ear training) while the input hears the speaker.
    PressLevel(10);
    Play(sound);
    QTest::qWait(1500);
    EXPECT_NE(Status(), kCorrect);
    EXPECT_EQ(Prompt(), prompt);
    EXPECT_TRUE(Stored().empty());
}

TEST_F(Listening, FreePlayShowsThePlayedNoteOnTheStaffAndMarksItsCells)
{
    Start();
    window->mnuFreePlay->trigger();
    Play(Plucked(48000, 45)); // A2: open A string, fifth fret of low E
    const QString name = NoteOfPitch(window->GetNotes(), 45).name;
    ASSERT_TRUE(WaitFor([&] { return Staff().ShownNoteName() == name; })) << Staff().ShownNoteName().toStdString();
    EXPECT_EQ(window->StatusPanelText(QStringLiteral("Note")), name);
    EXPECT_TRUE(Board().IsMarked({1, 6}));
    EXPECT_TRUE(Board().IsMarked({2, 1}));
    EXPECT_FALSE(Board().IsMarked({1, 1}));
}

TEST_F(Listening, AnInputThatCannotListenSaysSoAndClicksGoOn)
{
    struct Case {
        const char* what;
        std::function<void()> fault;
        QString says;
    };
    const Case cases[] = {
        {"no input at all", [this] { inputDevices.clear(); },
         QStringLiteral("No audio input was found")},
        {"the stored input unplugged",
         [] { StoreSetting(QStringLiteral("InputDevice"), QStringLiteral("USB Mic")); },
         QStringLiteral("The input USB Mic is not available")},
        {"gone mid-drill", [this] { input->Vanish(false); }, QStringLiteral("stopped delivering sound")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearSettings();
        StoreShowTipsAtStartup(false);
        StoreSetting(QStringLiteral("ListenEnabled"), QStringLiteral("True"));
        inputDevices = {{QStringLiteral("Recorded input"), 1, {48000}, true}};
        const bool midDrill = QString::fromLatin1(c.what).endsWith(QLatin1String("mid-drill"));
        if (!midDrill)
            c.fault();
        Start();
        if (midDrill) {
            ASSERT_TRUE(window->Listening().IsListening());
            c.fault();
        }
        EXPECT_TRUE(WaitFor([&] { return Status().contains(c.says); })) << Status().toStdString();
        EXPECT_FALSE(window->Listening().IsListening());
        EXPECT_EQ(window->StatusPanelText(QStringLiteral("Input")), QStringLiteral("Not listening"));
        EXPECT_TRUE(recorder.shown.empty()) << recorder.allMessages().toStdString();
        AnswerPrompt(true);
        EXPECT_EQ(Status(), kCorrect) << "clicks still answer";
        EXPECT_TRUE(window->GetSettings().listenEnabled) << "the setting is the user's";
        window.reset(); // not closed: its close ends the application's event loops
    }
}

TEST_F(Listening, ClippingAndSilenceAreWarnedOf)
{
    Start();
    window->mnuFreePlay->trigger(); // the status bar is the input's alone
    Samples loud(48000, 0.0f);
    for (std::size_t i = 0; i < loud.size(); ++i)
        loud[i] = (i / 50) % 2 ? 1.0f : -1.0f;
    Play(loud);
    EXPECT_TRUE(WaitFor([&] { return Status().contains(QLatin1String("too loud")); })) << Status().toStdString();
    Play(listening::testing::Silence(48000, 0.1));
    EXPECT_TRUE(WaitFor([&] { return Status().contains(QLatin1String("silent")); }, 5000)) << Status().toStdString();
    EXPECT_TRUE(window->Listening().IsListening()) << "a warning only";
}

TEST_F(Listening, TheInputTabChoosesTheInputShowsItsLevelAndKeepsItOnOK)
{
    ClearSettings();
    StoreShowTipsAtStartup(false);
    inputDevices = {{QStringLiteral("Built-in microphone"), 1, {48000}, true},
                    {QStringLiteral("USB interface"), 2, {44100, 48000}, false},
                    {QStringLiteral("JACK: Fretlore"), 2, {48000}, false}}; // the program's own synthesizer
    Start();
    EXPECT_FALSE(window->Listening().IsListening()) << "off by default";
    input->SetSound(Plucked(48000, 52, 3.0));
    // Acts on the dialog once (a catcher would re-enter while the meter is awaited).
    const auto use = [&](bool ok) {
        int seen = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* options = qobject_cast<FrmOption*>(QApplication::activeModalWidget());
            if (!options)
                return;
            poll.stop();
            ++seen;
            OptionsInputTab& tab = *options->inputTab;
            EXPECT_EQ(tab.cboInputDevice->count(), 3) << "the default and both inputs, not the program's own sound";
            EXPECT_FALSE(tab.chkListen->isChecked());
            tab.cboInputDevice->setCurrentIndex(tab.cboInputDevice->findText(QStringLiteral("USB interface")));
            tab.btnTest->click();
            EXPECT_TRUE(WaitFor([&] { return tab.barLevel->value() > -40; })) << tab.barLevel->value();
            tab.chkListen->setChecked(true);
            tab.numThreshold->setValue(-45);
            (ok ? options->btnOk : options->btnCancel)->click();
        });
        poll.start(5);
        window->mnuOptions->trigger();
        return seen;
    };
    ASSERT_EQ(use(false), 1);
    EXPECT_FALSE(window->GetSettings().listenEnabled);
    EXPECT_FALSE(window->Listening().IsListening()) << "Cancel ends the test of the input";
    ASSERT_EQ(use(true), 1);
    EXPECT_TRUE(window->Listening().IsListening());
    EXPECT_EQ(input->DeviceName(), QStringLiteral("USB interface"));
    const auto stored = SettingsStore::Open();
    EXPECT_EQ(stored->value(QStringLiteral("General/ListenEnabled")).toString(), QStringLiteral("True"));
    EXPECT_EQ(stored->value(QStringLiteral("General/InputDevice")).toString(), QStringLiteral("USB interface"));
    EXPECT_EQ(stored->value(QStringLiteral("General/InputThreshold")).toString(), QStringLiteral("-45"));
}

} // namespace

// The whole way: the program's own input (RtAudio) on a dummy JACK server of the test,
// a recorded note played into it by a JACK client, and the drill judging it.
TEST_F(Listening, ANotePlayedIntoTheProgramsJackInputAnswersTheDrill)
{
    using namespace listening::testing;
    const QString player = QStandardPaths::findExecutable(QStringLiteral("sndfile-jackplay"));
    if (player.isEmpty())
        GTEST_SKIP() << "sndfile-jackplay (sndfile-tools) is not installed";
    constexpr int rate = JackServer::kRate;
    JackServer jack;
    if (!jack.Error().isEmpty())
        GTEST_SKIP() << jack.Error().toStdString();
    QTemporaryDir files;
    ASSERT_TRUE(files.isValid());

    StoreSetting(QStringLiteral("InputDevice"), QStringLiteral("JACK: system"));
    FrmStartup::Options options = Options();
    options.input = {}; // the system's inputs, here the test's server
    window = std::make_unique<FrmStartup>(options);
    window->show();
    ASSERT_EQ(window->Load(), FrmStartup::LoadResult::Ready) << recorder.allMessages().toStdString();
    ASSERT_TRUE(window->Listening().IsListening()) << Status().toStdString();
    EXPECT_EQ(window->Listening().Listener().SampleRate(), rate);

    for (const bool right : {true, false}) {
        const int midi = PromptMidi() + (right ? 0 : 2);
        const QString file = files.filePath(QStringLiteral("%1.wav").arg(midi));
        ASSERT_TRUE(WriteWav(file, RecordedNote(midi, rate)));
        ASSERT_TRUE(PlayInto(player, file));
        const QString expected =
            right ? kCorrect
                  : QStringLiteral("Incorrect! You played %1. Click on sheetnote for assistance.")
                        .arg(NoteOfPitch(window->GetNotes(), midi).name);
        EXPECT_TRUE(WaitFor([&] { return Status() == expected; })) << right << ": " << Status().toStdString();
    }
    window.reset(); // the server stops after the program's client has gone
}
