#pragma once
// A MIDI back end that keeps every message instead of sounding it, with switches to
// make each call fail. Used by tests and by the fault checks.

#include "sound/MidiOutput.h"

#include <QStringList>

#include <map>
#include <vector>

class RecordingMidiOutput final : public MidiOutput {
public:
    struct Log {
        std::vector<quint32> messages; // every short message sent, in order
        std::vector<int> devices;      // the device each of them went to (clear both)
        int opens = 0;
        int closes = 0;
        int lastOpenedDevice = -2;
    };

    explicit RecordingMidiOutput(Log* log, QStringList deviceNames = {})
        : log_(log), deviceNames_(std::move(deviceNames)) {}

    int openError = 0;
    int sendError = 0;
    int closeError = 0;
    int capsError = 0;

    int DeviceCount() override { return static_cast<int>(deviceNames_.size()); }
    int DeviceName(int deviceId, QString& name) override
    {
        if (capsError != 0)
            return capsError;
        name = deviceNames_.value(deviceId);
        return 0;
    }
    int Open(int deviceId, MidiHandle& handle) override
    {
        if (openError != 0)
            return openError;
        ++log_->opens;
        log_->lastOpenedDevice = deviceId;
        handle = nextHandle_++;
        openDevices_[handle] = deviceId;
        return 0;
    }
    int ShortMessage(MidiHandle handle, quint32 message) override
    {
        if (sendError != 0)
            return sendError;
        log_->messages.push_back(message);
        const auto device = openDevices_.find(handle);
        log_->devices.push_back(device == openDevices_.end() ? -2 : device->second);
        return 0;
    }
    int Close(MidiHandle handle) override
    {
        ++log_->closes;
        openDevices_.erase(handle);
        return closeError;
    }
    bool ErrorText(int code, QString& text) override
    {
        if (code == 77) {
            text = QStringLiteral("The device is gone");
            return true;
        }
        return false;
    }

private:
    Log* log_;
    QStringList deviceNames_;
    std::map<MidiHandle, int> openDevices_;
    MidiHandle nextHandle_ = 42;
};
