#include "sound/RtMidiPorts.h"

#include "sound/JackMidiPorts.h"
#include "sound/SoundErrors.h"
#include "sound/Synthesizer.h"

#include <QRegularExpression>

#include <RtMidi.h>

namespace {

const char* const kClientName = "Fretlore";

// The RtMidi back ends we list ports through; JACK's ports are ours (JackMidiPorts.h).
std::vector<RtMidi::Api> UsableApis()
{
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    std::erase(apis, RtMidi::RTMIDI_DUMMY);
    std::erase(apis, RtMidi::UNIX_JACK);
    return apis;
}

// Bytes in a channel message with this status.
size_t MessageLength(unsigned int status)
{
    const unsigned int kind = status & 0xF0;
    return (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
}

} // namespace

QString StableMidiPortName(const QString& rawName)
{
    static const QRegularExpression clientPort(QStringLiteral("\\s+\\d+:\\d+$"));
    QString name = rawName;
    name.remove(clientPort);
    return name;
}

RtMidiPorts::RtMidiPorts()
{
    NeverStartJackServer();
}

RtMidiPorts::~RtMidiPorts() = default;

int RtMidiPorts::Refresh()
{
    ports_.clear();
    for (const RtMidi::Api api : UsableApis()) {
        try {
            RtMidiOut probe(api, kClientName);
            const unsigned int count = probe.getPortCount();
            for (unsigned int i = 0; i < count; ++i) {
                const std::string raw = probe.getPortName(i);
                if (raw.empty())
                    continue; // the port went away while we listed
                const QString shown = QString::fromStdString(raw);
                ports_.push_back({api, raw, api == RtMidi::LINUX_ALSA ? StableMidiPortName(shown) : shown});
            }
        } catch (const RtMidiError&) {
            // This back end is not available here (no /dev/snd/seq, say): the others may be.
        }
    }
    for (const std::string& raw : JackMidiInputPorts())
        ports_.push_back({RtMidi::UNIX_JACK, raw, QString::fromStdString(raw)});
    return Count();
}

QString RtMidiPorts::Name(int index) const
{
    return index >= 0 && index < Count() ? ports_[static_cast<size_t>(index)].name : QString();
}

int RtMidiPorts::Connect(int index)
{
    if (index < 0 || index >= Count())
        return SoundErrBadDevice;
    const Port& port = ports_[static_cast<size_t>(index)];
    if (connectedName_ == port.name
        && ((connection_ && connection_->isPortOpen()) || (jackConnection_ && jackConnection_->IsConnected())))
        return SoundErrNone;
    connection_.reset();
    jackConnection_.reset();
    connectedName_.clear();
    if (port.api == RtMidi::UNIX_JACK) {
        const int result = JackMidiConnection::Open(port.rawName, jackConnection_);
        if (result == SoundErrNone)
            connectedName_ = port.name;
        return result;
    }
    try {
        auto out = std::make_unique<RtMidiOut>(static_cast<RtMidi::Api>(port.api), kClientName);
        // Port numbers shift when devices come and go: find it again by its name.
        const unsigned int count = out->getPortCount();
        for (unsigned int i = 0; i < count; ++i) {
            if (out->getPortName(i) != port.rawName)
                continue;
            out->openPort(i, "MIDI out");
            if (!out->isPortOpen())
                return SoundErrPortOpen;
            connection_ = std::move(out);
            connectedName_ = port.name;
            return SoundErrNone;
        }
    } catch (const RtMidiError&) {
    }
    return SoundErrPortOpen;
}

int RtMidiPorts::Send(const QString& portName, unsigned int message)
{
    if ((!connection_ && !jackConnection_) || portName != connectedName_)
        return SoundErrNotOpen;
    const unsigned char status = static_cast<unsigned char>(message & 0xFF);
    if (status < 0x80 || status >= 0xF0)
        return SoundErrBadMessage;
    const unsigned char bytes[3] = {status, static_cast<unsigned char>((message >> 8) & 0x7F),
                                    static_cast<unsigned char>((message >> 16) & 0x7F)};
    if (jackConnection_)
        return jackConnection_->Send(bytes, MessageLength(status));
    try {
        connection_->sendMessage(bytes, MessageLength(status));
    } catch (const RtMidiError&) {
        return SoundErrSend;
    }
    return SoundErrNone;
}
