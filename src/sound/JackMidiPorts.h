#pragma once
// MIDI to the input ports of a running JACK server, through JACK's own client library.
//
// Not through RtMidi's JACK back end: that one frees its message queue while its
// process callback may still be reading it (a crash, now and then, when a connection
// is closed) and ignores a connection the server refuses (every message then vanishes
// without an error).

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// The full names ("client:port") of the MIDI input ports of the running JACK server;
// none when no server runs. Never starts a server.
std::vector<std::string> JackMidiInputPorts();

// A MIDI output port of ours, connected to one input port.
class JackMidiConnection {
public:
    // Opens a JACK client with a MIDI output port and connects it to targetPort;
    // 0 or a SoundError (SoundErrPortOpen when there is no server, no such port or the
    // server refuses the connection).
    static int Open(const std::string& targetPort, std::unique_ptr<JackMidiConnection>& connection);

    // Lets the messages still queued go out (for a short while at most), then leaves
    // the server.
    ~JackMidiConnection();
    JackMidiConnection(const JackMidiConnection&) = delete;
    JackMidiConnection& operator=(const JackMidiConnection&) = delete;

    // False once the server has gone or the target port no longer takes our messages.
    bool IsConnected() const;

    // Queues one channel message (1 to 3 bytes) for the next process cycle in which
    // the connection is in the server's graph; a message is never sent into a
    // connection that is not yet there. 0 or SoundErrSend when the queue is full or the
    // server has gone.
    int Send(const unsigned char* bytes, std::size_t size);

    struct State; // shared with the process callback; defined with the JACK headers
    explicit JackMidiConnection(std::unique_ptr<State> state); // for Open

private:
    std::unique_ptr<State> state_;
};
