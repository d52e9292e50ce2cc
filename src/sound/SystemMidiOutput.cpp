#include "sound/SystemMidiOutput.h"

#include "sound/SoundErrors.h"
#include "sound/Synthesizer.h"

SystemMidiOutput::SystemMidiOutput(std::shared_ptr<Synthesizer> synthesizer)
    : synthesizer_(std::move(synthesizer))
{
}

int SystemMidiOutput::DeviceCount()
{
    return ports_.Refresh();
}

int SystemMidiOutput::DeviceName(int deviceId, QString& name)
{
    if (deviceId < 0 || deviceId >= ports_.Count())
        return SoundErrBadDevice;
    name = ports_.Name(deviceId);
    return SoundErrNone;
}

int SystemMidiOutput::Open(int deviceId, MidiHandle& handle)
{
    QString target;
    if (deviceId == SynthesizerId) {
        if (!synthesizer_)
            return SoundErrNoSynthesizer;
        if (const int result = synthesizer_->StartAudio(); result != SoundErrNone)
            return result;
    } else {
        // The list may be stale or never read (an id from the options dialog).
        if (deviceId < 0 || deviceId >= ports_.Count())
            ports_.Refresh();
        if (const int result = ports_.Connect(deviceId); result != SoundErrNone)
            return result;
        target = ports_.ConnectedName();
    }
    handle = nextHandle_++;
    open_[handle] = target;
    return SoundErrNone;
}

int SystemMidiOutput::ShortMessage(MidiHandle handle, quint32 message)
{
    const auto it = open_.find(handle);
    if (it == open_.end())
        return SoundErrNotOpen;
    if (it->second.isEmpty())
        return synthesizer_->Send(message);
    return ports_.Send(it->second, message);
}

int SystemMidiOutput::Close(MidiHandle handle)
{
    // Nothing is silenced or torn down: a released note rings out, and the next
    // opening is immediate.
    return open_.erase(handle) == 1 ? SoundErrNone : SoundErrNotOpen;
}

bool SystemMidiOutput::ErrorText(int code, QString& text)
{
    return SoundErrorText(code, text);
}
