#pragma once
// The program's MIDI output: one back end (the built-in synthesizer and the system's
// ports, or a recording one in tests), opened lazily for a note and closed after every
// note-off.

#include "core/Collection.h"
#include "sound/MidiOutput.h"

#include <QString>

#include <memory>
#include <set>

// The device list: "Midi Mapper" (the built-in synthesizer) under key "-1", then each
// output port's name under its id as decimal text. Position p belongs to device id p - 2.
using MidiDevices = Collection<QString>;

class MidiOut {
public:
    // Without a back end notes go nowhere.
    explicit MidiOut(std::unique_ptr<MidiOutput> backend = nullptr);
    ~MidiOut();
    MidiOut(const MidiOut&) = delete;
    MidiOut& operator=(const MidiOut&) = delete;

    // Replaces the back end, closing the output first.
    void SetBackend(std::unique_ptr<MidiOutput> backend);
    MidiOutput& Backend() { return *backend_; }

    bool IsOpen() const { return handle_ != 0; }
    // -1 the built-in synthesizer, 0..n-1 the ports. An open output with no note sounding
    // is closed, so the next note goes to the new device; a sounding note ends on the
    // device it began on, whose output its note-off closes.
    qint32 DeviceId() const { return deviceId_; }
    void SetDeviceId(qint32 id);

    // Fills devices (which should come in empty); on a failure the items added so far stay.
    bool GetMidiDevices(MidiDevices& devices, QString& message);
    // The id of the first device named exactly name; -1 (the synthesizer) when none is.
    bool FindMidiDeviceId(const QString& name, qint32& id, QString& message);

    bool OpenMidiOut(QString& message);
    bool CloseMidiOut(QString& message);
    QString GetMidiErrorText(qint32 code);

    // Program change and note on at velocity 127. channel and program are held within
    // MIDI's ranges, so a stored value can never turn into another kind of message.
    bool NoteOn(int note, int channel, int program, QString& message);
    // Note off, then close the output (a closed output is reopened for it).
    bool NoteOff(int note, int channel, QString& message);

private:
    bool Send(quint32 message, QString& text);

    std::unique_ptr<MidiOutput> backend_;
    MidiHandle handle_ = 0;
    qint32 deviceId_ = -1;
    std::set<int> sounding_; // notes on whose note-off has not been sent
};
