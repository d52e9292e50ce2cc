#include "app/InputListening.h"

#include "core/Settings.h"
#include "music/Notes.h"

#include <QCoreApplication>

#include <algorithm>

InputListening::InputListening(std::unique_ptr<listening::AudioInput> input, QObject* parent)
    : QObject(parent), listener_(std::move(input))
{
    connect(&listener_, &listening::Listener::notePlayed, this, [this](int midi) { emit notePlayed(midi); });
    connect(&listener_, &listening::Listener::warningChanged, this,
            [this](listening::InputWarning warning, const QString& text) {
                if (warning == listening::InputWarning::None)
                    SetState(listening::InputStatusText(listening::InputStatus::Running,
                                                        listener_.Input().DeviceName()),
                             false);
                else
                    SetState(text, true);
            });
    connect(&listener_, &listening::Listener::listeningStopped, this,
            [this](listening::InputStatus, const QString& text) { SetState(text, true); });
}

QList<listening::InputDevice> InputListening::Devices()
{
    QList<listening::InputDevice> devices = listener_.Devices();
    devices.removeIf([](const listening::InputDevice& device) { return device.name == QLatin1String("JACK: Fretlore"); });
    return devices;
}

void InputListening::SetState(const QString& text, bool problem)
{
    if (text == state_)
        return;
    state_ = text;
    emit stateChanged(text, problem);
}

void InputListening::SetRange(const Notes& notes)
{
    const auto [lowest, highest] = std::minmax_element(
        notes.All().begin(), notes.All().end(), [](const Note& a, const Note& b) { return a.midi < b.midi; });
    if (lowest == notes.All().end())
        return;
    range_.lowestMidi = std::max(21, lowest->midi - 2);
    range_.highestMidi = std::min(highest->midi, 96);
}

bool InputListening::Apply(const Settings& settings, QString& message)
{
    if (!settings.listenEnabled) {
        Stop();
        return true;
    }
    return Listen(settings.inputDevice, settings.inputThreshold, message);
}

bool InputListening::Try(const QString& device, int thresholdDb, QString& message)
{
    return Listen(device, thresholdDb, message);
}

bool InputListening::Listen(const QString& device, int thresholdDb, QString& message)
{
    listening::ListenOptions options = range_;
    options.thresholdDb = thresholdDb;
    if (listener_.Start(device, 0, options)) {
        SetState(listening::InputStatusText(listening::InputStatus::Running, listener_.Input().DeviceName()), false);
        return true;
    }
    message = listener_.ErrorText();
    SetState(message, true);
    return false;
}

void InputListening::Stop()
{
    listener_.Stop();
    SetState(QString(), false);
}
