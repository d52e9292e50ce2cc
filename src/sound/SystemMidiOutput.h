#pragma once
// The back end the program runs with: device -1 ("Midi Mapper") is the built-in
// synthesizer, devices 0..n-1 are the system's MIDI ports.

#include "sound/MidiOutput.h"
#include "sound/RtMidiPorts.h"

#include <map>
#include <memory>

class Synthesizer;

class SystemMidiOutput final : public MidiOutput {
public:
    explicit SystemMidiOutput(std::shared_ptr<Synthesizer> synthesizer);

    int DeviceCount() override;
    int DeviceName(int deviceId, QString& name) override;
    int Open(int deviceId, MidiHandle& handle) override;
    int ShortMessage(MidiHandle handle, quint32 message) override;
    int Close(MidiHandle handle) override;
    bool ErrorText(int code, QString& text) override;

private:
    static constexpr int SynthesizerId = -1;

    std::shared_ptr<Synthesizer> synthesizer_;
    RtMidiPorts ports_;
    // What each open handle talks to: an empty name is the synthesizer.
    std::map<MidiHandle, QString> open_;
    MidiHandle nextHandle_ = 1;
};
