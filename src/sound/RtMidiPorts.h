#pragma once
// The MIDI output ports of the system: ALSA sequencer ports where /dev/snd/seq exists
// (through RtMidi) and the MIDI inputs of a running JACK server (through JACK's own
// library, see JackMidiPorts.h). A back end that is missing simply contributes no ports.
//
// One port connection is kept open after use: reopening a port for every note is slow,
// and a JACK connection needs a process cycle or two before it carries messages.

#include <QString>

#include <memory>
#include <string>
#include <vector>

class JackMidiConnection;
class RtMidiOut;

class RtMidiPorts {
public:
    RtMidiPorts();
    ~RtMidiPorts();
    RtMidiPorts(const RtMidiPorts&) = delete;
    RtMidiPorts& operator=(const RtMidiPorts&) = delete;

    // Lists the ports again; returns how many there are.
    int Refresh();
    int Count() const { return static_cast<int>(ports_.size()); }
    // The name shown to the user; empty for an index outside the list.
    QString Name(int index) const;

    // Connects to port index of the last Refresh (reusing the kept connection when it
    // is the same port); 0 or a SoundError.
    int Connect(int index);
    // Sends over the connection to the port named portName; 0 or a SoundError.
    int Send(const QString& portName, unsigned int message);
    QString ConnectedName() const { return connectedName_; }

private:
    struct Port {
        int api;              // RtMidi::Api (UNIX_JACK: one of ours)
        std::string rawName;  // as RtMidi gives it
        QString name;         // as the user sees it
    };

    std::vector<Port> ports_;
    std::unique_ptr<RtMidiOut> connection_;          // an ALSA port
    std::unique_ptr<JackMidiConnection> jackConnection_; // or a JACK port
    QString connectedName_;
};

// An ALSA port name without the client:port numbers it ends with, which change from
// one boot to the next ("Midi Through:Midi Through Port-0 14:0").
QString StableMidiPortName(const QString& rawName);
