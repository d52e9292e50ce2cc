#include "sound/JackMidiPorts.h"

#include "sound/SoundErrors.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

namespace {

const char* const kClientName = "Fretlore";
const char* const kPortName = "MIDI out";

// A queued message: its length, then up to three bytes.
constexpr std::size_t kRecordSize = 4;
constexpr std::size_t kQueueBytes = 4096; // some 1000 messages, far more than a run sends at once
// How long a closing connection waits for its queue to empty.
constexpr std::chrono::milliseconds kDrainLimit{500};

struct ClientCloser {
    void operator()(jack_client_t* client) const { jack_client_close(client); }
};
using ClientHandle = std::unique_ptr<jack_client_t, ClientCloser>;

ClientHandle OpenClient()
{
    return ClientHandle(jack_client_open(kClientName, JackNoStartServer, nullptr));
}

} // namespace

struct JackMidiConnection::State {
    ClientHandle client;
    jack_port_t* port = nullptr;
    jack_ringbuffer_t* queue = nullptr;
    std::string target;
    std::atomic<bool> serverGone{false};
    std::atomic<bool> live{false}; // the connection has been in the server's graph
    std::atomic<bool> lost{false}; // and has left it again (the target port went away)

    ~State()
    {
        // The process callback reads the queue: stop it before the queue goes.
        if (client)
            jack_deactivate(client.get());
        client.reset();
        if (queue)
            jack_ringbuffer_free(queue);
    }

    // Runs on JACK's process thread: no locks, no allocation.
    static int Process(jack_nframes_t frames, void* arg)
    {
        auto* state = static_cast<State*>(arg);
        void* buffer = jack_port_get_buffer(state->port, frames);
        jack_midi_clear_buffer(buffer);
        // A connection made a moment ago joins the graph at the start of a later
        // cycle; until then whatever is written here reaches no one, so the messages
        // wait in the queue.
        if (jack_port_connected(state->port) == 0) {
            if (state->live.load(std::memory_order_relaxed))
                state->lost.store(true, std::memory_order_relaxed);
            return 0;
        }
        state->live.store(true, std::memory_order_relaxed);
        unsigned char record[kRecordSize];
        while (jack_ringbuffer_read_space(state->queue) >= kRecordSize) {
            jack_ringbuffer_peek(state->queue, reinterpret_cast<char*>(record), kRecordSize);
            if (jack_midi_event_write(buffer, 0, record + 1, record[0]) != 0)
                break; // this cycle's buffer is full: the rest goes in the next one
            jack_ringbuffer_read_advance(state->queue, kRecordSize);
        }
        return 0;
    }

    static void Shutdown(void* arg) { static_cast<State*>(arg)->serverGone = true; }
};

std::vector<std::string> JackMidiInputPorts()
{
    std::vector<std::string> names;
    const ClientHandle client = OpenClient();
    if (!client)
        return names;
    if (const char** ports = jack_get_ports(client.get(), nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput)) {
        for (const char** name = ports; *name; ++name)
            names.emplace_back(*name);
        jack_free(ports);
    }
    return names;
}

JackMidiConnection::JackMidiConnection(std::unique_ptr<State> state)
    : state_(std::move(state))
{
}

int JackMidiConnection::Open(const std::string& targetPort, std::unique_ptr<JackMidiConnection>& connection)
{
    auto state = std::make_unique<State>();
    state->target = targetPort;
    state->client = OpenClient();
    if (!state->client)
        return SoundErrPortOpen;
    state->queue = jack_ringbuffer_create(kQueueBytes);
    if (!state->queue)
        return SoundErrPortOpen;
    jack_client_t* client = state->client.get();
    state->port = jack_port_register(client, kPortName, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (!state->port || jack_set_process_callback(client, &State::Process, state.get()) != 0)
        return SoundErrPortOpen;
    jack_on_shutdown(client, &State::Shutdown, state.get());
    if (jack_activate(client) != 0)
        return SoundErrPortOpen;
    const int result = jack_connect(client, jack_port_name(state->port), targetPort.c_str());
    if (result != 0 && result != EEXIST)
        return SoundErrPortOpen;
    connection = std::make_unique<JackMidiConnection>(std::move(state));
    return SoundErrNone;
}

JackMidiConnection::~JackMidiConnection()
{
    if (!state_)
        return;
    const auto deadline = std::chrono::steady_clock::now() + kDrainLimit;
    while (jack_ringbuffer_read_space(state_->queue) > 0 && IsConnected()
           && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool JackMidiConnection::IsConnected() const
{
    // A connection not yet in the graph counts: the server accepted it.
    return !state_->serverGone && !state_->lost;
}

int JackMidiConnection::Send(const unsigned char* bytes, std::size_t size)
{
    if (size == 0 || size >= kRecordSize || state_->serverGone)
        return SoundErrSend;
    if (jack_ringbuffer_write_space(state_->queue) < kRecordSize)
        return SoundErrSend;
    unsigned char record[kRecordSize] = {static_cast<unsigned char>(size)};
    for (std::size_t i = 0; i < size; ++i)
        record[i + 1] = bytes[i];
    jack_ringbuffer_write(state_->queue, reinterpret_cast<const char*>(record), kRecordSize);
    return SoundErrNone;
}
