#include "sound/SynthMixerDevice.h"

#include "sound/SoundErrors.h"
#include "sound/Synthesizer.h"

namespace {
constexpr MixerHandle kHandle = 1;
}

SynthMixerDevice::SynthMixerDevice(std::shared_ptr<Synthesizer> synthesizer)
    : synthesizer_(std::move(synthesizer))
{
}

int SynthMixerDevice::Open(MixerHandle& handle)
{
    if (!synthesizer_ || !synthesizer_->IsCreated())
        return SoundErrNoSynthesizer;
    handle = kHandle;
    return SoundErrNone;
}

int SynthMixerDevice::GetVolumeControl(MixerHandle handle, MixerControl& control)
{
    if (handle != kHandle)
        return SoundErrNotOpen;
    control = {VolumeControlId, 0, static_cast<qint32>(Synthesizer::MaxLevel)};
    return SoundErrNone;
}

int SynthMixerDevice::Check(MixerHandle handle, quint32 controlId) const
{
    if (handle != kHandle)
        return SoundErrNotOpen;
    return controlId == VolumeControlId ? SoundErrNone : SoundErrBadDevice;
}

int SynthMixerDevice::GetValue(MixerHandle handle, quint32 controlId, quint32& value)
{
    if (const int result = Check(handle, controlId); result != SoundErrNone)
        return result;
    value = synthesizer_->Level();
    return SoundErrNone;
}

int SynthMixerDevice::SetValue(MixerHandle handle, quint32 controlId, quint32 value)
{
    if (const int result = Check(handle, controlId); result != SoundErrNone)
        return result;
    synthesizer_->SetLevel(value);
    return SoundErrNone;
}
