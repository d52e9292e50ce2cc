#pragma once
// A volume back end that keeps its level in memory and counts its calls, with switches
// to make each call fail. Used by tests.

#include "sound/MixerDevice.h"

class RecordingMixerDevice final : public MixerDevice {
public:
    struct Log {
        int opens = 0;
        int closes = 0;
        quint32 level = 0;
    };

    explicit RecordingMixerDevice(Log* log, MixerControl control = {7, 0, 65535})
        : log_(log), control_(control) {}

    int openError = 0;
    int controlError = 0;
    int getError = 0;
    int setError = 0;

    int Open(MixerHandle& handle) override
    {
        if (openError != 0)
            return openError;
        ++log_->opens;
        handle = 5;
        return 0;
    }
    int GetVolumeControl(MixerHandle, MixerControl& control) override
    {
        if (controlError != 0)
            return controlError;
        control = control_;
        return 0;
    }
    int GetValue(MixerHandle, quint32 controlId, quint32& value) override
    {
        if (getError != 0)
            return getError;
        if (controlId != control_.id)
            return 99;
        value = log_->level;
        return 0;
    }
    int SetValue(MixerHandle, quint32 controlId, quint32 value) override
    {
        if (setError != 0)
            return setError;
        if (controlId != control_.id)
            return 99;
        log_->level = value;
        return 0;
    }
    void Close(MixerHandle) override { ++log_->closes; }

private:
    Log* log_;
    MixerControl control_;
};
