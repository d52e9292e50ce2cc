#pragma once
// The volume control of the built-in synthesizer: its master gain as a level 0..65535.

#include "sound/MixerDevice.h"

#include <memory>

class Synthesizer;

class SynthMixerDevice final : public MixerDevice {
public:
    static constexpr quint32 VolumeControlId = 1;

    explicit SynthMixerDevice(std::shared_ptr<Synthesizer> synthesizer);

    int Open(MixerHandle& handle) override;
    int GetVolumeControl(MixerHandle handle, MixerControl& control) override;
    int GetValue(MixerHandle handle, quint32 controlId, quint32& value) override;
    int SetValue(MixerHandle handle, quint32 controlId, quint32 value) override;
    void Close(MixerHandle) override {}

private:
    int Check(MixerHandle handle, quint32 controlId) const;

    std::shared_ptr<Synthesizer> synthesizer_;
};
