#pragma once
// A JACK server of the test's own on the dummy driver (no sound card), under a name of
// its own so it never meets the user's. While it lives, JACK clients of this process and
// its children find it by default and never start another; it is stopped however the
// test ends, and what it leaves in /dev/shm is removed. Servers started at the same time
// by tests running in parallel get in each other's way (one of them times out), so
// each test waits for the others' servers to end before starting its own. One at a time,
// they can share one name: a server that was killed leaves its slot in JACK's registry,
// and only a server of the same name takes the slot back (eight such slots and no
// server starts at all).

#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>

#include <optional>


// A child process that is always stopped, however the test ends.
class Child {
public:
    Child(const QString& program, const QStringList& arguments)
    {
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(program, arguments);
        process_.waitForStarted(5000);
    }
    ~Child() { Stop(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

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
    bool IsRunning() const { return process_.state() == QProcess::Running; }
    // Everything it printed so far, waiting up to milliseconds for more.
    QString Output(int milliseconds = 10)
    {
        process_.waitForReadyRead(milliseconds);
        output_ += QString::fromLocal8Bit(process_.readAll());
        return output_;
    }

private:
    QProcess process_;
    QString output_;
};

// Sets an environment variable while it lives.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

class JackServer {
public:
    static constexpr int kRate = 48000;

    // Waits up to waitSeconds for the server to take clients. Synchronous, a busy
    // machine's server does not drop the output of a client that finished its cycle late.
    explicit JackServer(bool synchronous = false, int waitSeconds = 10)
        : turn_(QDir::temp().filePath(QStringLiteral("fretlore-test-jack.lock"))),
          name_(QStringLiteral("fretlore-test")),
          noStart_("JACK_NO_START_SERVER", "1"), defaultServer_("JACK_DEFAULT_SERVER", name_.toLocal8Bit())
    {
        turn_.setStaleLockTime(0); // a dead holder is still found stale by its process id
        if (!turn_.tryLock(300000)) {
            error_ = QStringLiteral("another test's JACK server did not end within five minutes");
            return;
        }
        const QString jackd = QStandardPaths::findExecutable(QStringLiteral("jackd"));
        const QString wait = QStandardPaths::findExecutable(QStringLiteral("jack_wait"));
        if (jackd.isEmpty() || wait.isEmpty()) {
            error_ = QStringLiteral("jackd or jack_wait is not installed (Debian package jackd2)");
            return;
        }
        QStringList arguments{QStringLiteral("--no-realtime"), QStringLiteral("-n"), name_, QStringLiteral("-d"),
                              QStringLiteral("dummy"), QStringLiteral("-r"), QString::number(kRate),
                              QStringLiteral("-p"), QStringLiteral("256")};
        if (synchronous)
            arguments.insert(1, QStringLiteral("--sync"));
        jackd_.emplace(jackd, arguments);
        QProcess waiter;
        waiter.start(wait, {QStringLiteral("-s"), name_, QStringLiteral("-w"), QStringLiteral("-t"),
                            QString::number(waitSeconds)});
        if (!(waiter.waitForFinished((waitSeconds + 5) * 1000) && waiter.exitCode() == 0 && jackd_->IsRunning()))
            error_ = QStringLiteral("the dummy JACK server did not start here: ") + jackd_->Output();
    }
    ~JackServer()
    {
        Stop();
        QDir shm(QStringLiteral("/dev/shm"));
        for (const QString& file : shm.entryList({QStringLiteral("jack*") + name_ + QLatin1Char('*')}, QDir::Files))
            shm.remove(file);
    }
    JackServer(const JackServer&) = delete;
    JackServer& operator=(const JackServer&) = delete;

    // Empty when the server runs; otherwise why a test on it must be skipped.
    QString Error() const { return error_; }
    void Stop()
    {
        if (jackd_)
            jackd_->Stop();
    }

private:
    QLockFile turn_;
    QString name_;
    ScopedEnv noStart_;
    ScopedEnv defaultServer_;
    std::optional<Child> jackd_;
    QString error_;
};
