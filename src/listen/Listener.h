#pragma once
// Listening as the program sees it: an audio input, drained on the owner's (GUI) thread
// every 10 ms into a note listener, with Qt signals for a played note, the level meter,
// level warnings and a failed input. The audio thread only fills the input's ring; this
// object never runs on it.

#include "listen/AudioInput.h"
#include "listen/NoteListener.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace listening {

enum class InputWarning {
    None,
    Clipping,  // samples at full scale within the last second
    Silent,    // nothing above -80 dBFS for three seconds
};

QString InputWarningText(InputWarning warning);

class Listener : public QObject {
    Q_OBJECT
public:
    using Clock = AudioInput::Clock;

    explicit Listener(std::unique_ptr<AudioInput> input, QObject* parent = nullptr);
    ~Listener() override;

    AudioInput& Input() { return *input_; }
    QList<InputDevice> Devices() { return input_->Devices(); }

    // Opens the named input (empty: the default) and starts listening for notes in the
    // options' range. False when it cannot: Status() and ErrorText() say why.
    bool Start(const QString& deviceName, int sampleRate = 0, ListenOptions options = {});
    void Stop();
    bool IsListening() const { return timer_.isActive(); }

    InputStatus Status() const { return input_->Status(); }
    QString ErrorText() const { return input_->ErrorText(); }
    int SampleRate() const { return input_->SampleRate(); }
    InputWarning Warning() const { return warning_; }

    void SetThresholdDb(double db);
    double ThresholdDb() const { return options_.thresholdDb; }

    // "I am sounding until end": nothing that begins before end (plus the input's own
    // latency) is reported. Call it for every note the program plays, with its release.
    void MuteUntil(Clock::time_point end);

    // Drains the input now; the timer calls it every 10 ms.
    void Poll();

    // Milliseconds on the steady clock, the clock of notePlayed's onset.
    static qint64 SteadyMs(Clock::time_point time);

signals:
    // A note began at onsetMs (steady clock) and was heard as midi (concert pitch).
    void notePlayed(int midi, qint64 onsetMs);
    // The level since the previous signal, in dBFS, about 20 times a second.
    void levelChanged(double rmsDb, double peakDb);
    void warningChanged(listening::InputWarning warning, const QString& text);
    // Listening ended by itself: the input failed or vanished. ErrorText() is the text.
    void listeningStopped(listening::InputStatus status, const QString& text);

private:
    void Fail(InputStatus status);
    void SetWarning(InputWarning warning);
    Clock::time_point TimeOfFrame(std::int64_t frame) const;

    std::unique_ptr<AudioInput> input_;
    ListenOptions options_;
    std::unique_ptr<NoteListener> notes_;
    QTimer timer_;
    std::vector<float> drained_;
    std::vector<PlayedNote> played_;
    Clock::time_point pendingMute_{};
    Clock::time_point lastLevel_{};
    Clock::time_point lastClip_{};
    InputWarning warning_ = InputWarning::None;
    // The newest frame the input had delivered and when, as of the last poll.
    std::int64_t anchorFrame_ = 0;
    Clock::time_point anchorTime_{};
};

} // namespace listening

Q_DECLARE_METATYPE(listening::InputStatus)
Q_DECLARE_METATYPE(listening::InputWarning)
