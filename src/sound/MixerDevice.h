#pragma once
// The contract of a volume back end: open the (first) mixer device, find the volume
// control of its synthesizer line, read and set that control's level. Result codes are
// the back end's own; 0 means success.

#include <QtGlobal>

#include <cstdint>

using MixerHandle = std::uintptr_t;

struct MixerControl {
    quint32 id = 0;
    qint32 minimum = 0;
    qint32 maximum = 0;
};

class MixerDevice {
public:
    virtual ~MixerDevice() = default;

    // Sets a non-zero handle.
    virtual int Open(MixerHandle& handle) = 0;
    // The volume control of the synthesizer line: its id and bounds.
    virtual int GetVolumeControl(MixerHandle handle, MixerControl& control) = 0;
    virtual int GetValue(MixerHandle handle, quint32 controlId, quint32& value) = 0;
    virtual int SetValue(MixerHandle handle, quint32 controlId, quint32 value) = 0;
    virtual void Close(MixerHandle handle) = 0;
};
