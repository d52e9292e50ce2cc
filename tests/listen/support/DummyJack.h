#pragma once
// A JACK server of the test's own on the dummy driver (no sound card), under a name
// nobody else uses, found by the clients of this process through JACK_DEFAULT_SERVER;
// always stopped, and what it leaves in /dev/shm removed. Header-only: both test
// programs use it.

#include "listen/PitchDetector.h"
#include "listen/RtAudioInput.h"
#include "listen/WavFile.h"
#include "TestSignals.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <memory>

#include <unistd.h>

namespace listening::testing {

class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// A server that is always stopped, and what it leaves in /dev/shm removed.
class JackServer {
public:
    JackServer(const QString& jackd, const QString& name, int rate) : name_(name)
    {
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(jackd, {QStringLiteral("--no-realtime"), QStringLiteral("-n"), name, QStringLiteral("-d"),
                               QStringLiteral("dummy"), QStringLiteral("-r"), QString::number(rate),
                               QStringLiteral("-p"), QStringLiteral("256")});
        process_.waitForStarted(5000);
    }
    ~JackServer()
    {
        Stop();
        QDir shm(QStringLiteral("/dev/shm"));
        for (const QString& file : shm.entryList({QStringLiteral("jack*") + name_ + QLatin1Char('*')}, QDir::Files))
            shm.remove(file);
    }
    void Stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(8000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    bool Running() const { return process_.state() == QProcess::Running; }
    QString Output() { return QString::fromLocal8Bit(process_.readAll()); }

private:
    QString name_;
    QProcess process_;
};

// A running server for this process's clients, or the reason there is none.
class DummyJack {
public:
    explicit DummyJack(int rate)
        : name_(QStringLiteral("fretlore-test-%1-%2")
                    .arg(::getpid())
                    .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')))
        , noStart_("JACK_NO_START_SERVER", "1")
        , serverName_("JACK_DEFAULT_SERVER", name_.toLocal8Bit())
    {
        const QString jackd = QStandardPaths::findExecutable(QStringLiteral("jackd"));
        const QString wait = QStandardPaths::findExecutable(QStringLiteral("jack_wait"));
        if (jackd.isEmpty() || wait.isEmpty()) {
            whyNot_ = QStringLiteral("jackd or jack_wait (Debian jackd2) is not installed");
            return;
        }
        server_ = std::make_unique<JackServer>(jackd, name_, rate);
        QProcess waiter;
        waiter.start(wait, {QStringLiteral("-s"), name_, QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("10")});
        if (!(waiter.waitForFinished(12000) && waiter.exitCode() == 0 && server_->Running()))
            whyNot_ = QStringLiteral("the dummy JACK server did not start here: ") + server_->Output();
    }
    bool Running() const { return whyNot_.isEmpty() && server_ && server_->Running(); }
    QString WhyNot() const { return whyNot_; }
    void Stop() { server_->Stop(); }

private:
    QString name_;
    ScopedEnv noStart_;
    ScopedEnv serverName_;
    std::unique_ptr<JackServer> server_;
    QString whyNot_;
};

// Plays a WAV file into the program's input with sndfile-jackplay; true when it played.
inline bool PlayInto(const QString& player, const QString& file)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(player, {QStringLiteral("--autoconnect=%1:inport 0").arg(QLatin1String(RtAudioInput::JackClientName)), file});
    return process.waitForFinished(10000) && process.exitCode() == 0;
}


// A recorded nylon-guitar note from freepats at its own pitch, or a synthetic one when
// freepats is not installed; with a little silence before it.
inline MonoSound RecordedNote(int midi, int rate)
{
    MonoSound sound{Silence(rate, 0.2), rate};
    const std::vector<GusSample> patch = ReadGusPatch(QStringLiteral("/usr/share/midi/freepats/Tone_000/024_Nylon_Guitar.pat"));
    const double hz = HzOfMidi(midi);
    for (const GusSample& sample : patch) {
        if (hz >= sample.lowHz && hz < sample.highHz) {
            Append(sound.samples, PlayGusSample(sample, hz, rate, 1.0));
            return sound;
        }
    }
    Append(sound.samples, PluckedTone(rate, hz, 1.0));
    return sound;
}

} // namespace listening::testing
