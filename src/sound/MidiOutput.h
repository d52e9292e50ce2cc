#pragma once
// The contract every MIDI back end fulfils: a list of output devices, opening one
// (id -1 is the built-in synthesizer), sending one packed short message, closing, and a
// text for each error code it returns. Codes are the back end's own; 0 means success.

#include <QString>
#include <QtGlobal>

#include <cstdint>

using MidiHandle = std::uintptr_t;

class MidiOutput {
public:
    virtual ~MidiOutput() = default;

    virtual int DeviceCount() = 0;
    // Fills name for device id 0..DeviceCount()-1; returns 0 or an error code.
    virtual int DeviceName(int deviceId, QString& name) = 0;
    // Opens device deviceId (-1: the built-in synthesizer); sets a non-zero handle.
    virtual int Open(int deviceId, MidiHandle& handle) = 0;
    // message: status in bits 0-7, data 1 in bits 8-15, data 2 in bits 16-23.
    virtual int ShortMessage(MidiHandle handle, quint32 message) = 0;
    virtual int Close(MidiHandle handle) = 0;
    // Text of an error code; false when the back end does not know the code.
    virtual bool ErrorText(int code, QString& text) = 0;
};

// Packs a short message as the back ends expect it.
constexpr quint32 PackShortMessage(int status, int data1, int data2)
{
    return static_cast<quint32>(status & 0xFF) | (static_cast<quint32>(data1 & 0xFF) << 8)
        | (static_cast<quint32>(data2 & 0xFF) << 16);
}
