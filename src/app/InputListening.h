#pragma once
// Listening as the main window runs it: the listener on the input "InputDevice" names,
// started and stopped as "ListenEnabled" says, deaf while the program sounds a note, and
// its state and troubles in words for the status bar. When the input cannot be opened
// or goes away, listening stops and says why; the setting stays as the user left it.

#include "listen/Listener.h"

#include <QObject>
#include <QString>

#include <memory>

struct Settings;
class Notes;

class InputListening : public QObject {
    Q_OBJECT
public:
    explicit InputListening(std::unique_ptr<listening::AudioInput> input, QObject* parent = nullptr);

    listening::Listener& Listener() { return listener_; }
    // The inputs there are now, but for the program's own sound: its synthesizer's JACK
    // client has outputs and would be listed as an input.
    QList<listening::InputDevice> Devices();
    bool IsListening() const { return listener_.IsListening(); }

    // Hears the notes the table holds (and a little below, for a string tuned down).
    void SetRange(const Notes& notes);
    // Listens as the settings say: on the named input with its threshold, or not at
    // all. False, with message, when it should listen but cannot.
    bool Apply(const Settings& settings, QString& message);
    // Listens on device for the options' level meter, whatever the settings say.
    bool Try(const QString& device, int thresholdDb, QString& message);
    void Stop();
    // The program sounds something until then.
    void MuteUntil(listening::Listener::Clock::time_point end) { listener_.MuteUntil(end); }

    // What the status bar's "Input" panel says: where it listens, or why it does not.
    QString StateText() const { return state_; }

signals:
    // A note was played (MIDI number, concert pitch).
    void notePlayed(int midi);
    // The state text changed; problem: it is worth the learner's attention.
    void stateChanged(const QString& text, bool problem);

private:
    void SetState(const QString& text, bool problem);

    bool Listen(const QString& device, int thresholdDb, QString& message);

    listening::Listener listener_;
    listening::ListenOptions range_;
    QString state_;
};
