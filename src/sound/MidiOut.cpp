#include "sound/MidiOut.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

namespace {

class SilentMidiOutput final : public MidiOutput {
public:
    int DeviceCount() override { return 0; }
    int DeviceName(int, QString&) override { return 1; }
    int Open(int, MidiHandle& handle) override
    {
        handle = 1;
        return 0;
    }
    int ShortMessage(MidiHandle, quint32) override { return 0; }
    int Close(MidiHandle) override { return 0; }
    bool ErrorText(int, QString&) override { return false; }
};

QString Tr(const char* text)
{
    return QCoreApplication::translate("MidiOut", text);
}

} // namespace

MidiOut::MidiOut(std::unique_ptr<MidiOutput> backend)
    : backend_(backend ? std::move(backend) : std::make_unique<SilentMidiOutput>())
{
}

MidiOut::~MidiOut()
{
    QString ignored;
    CloseMidiOut(ignored);
}

void MidiOut::SetBackend(std::unique_ptr<MidiOutput> backend)
{
    QString ignored;
    CloseMidiOut(ignored);
    backend_ = backend ? std::move(backend) : std::make_unique<SilentMidiOutput>();
}

void MidiOut::SetDeviceId(qint32 id)
{
    if (id == deviceId_)
        return;
    deviceId_ = id;
    QString ignored;
    if (sounding_.empty())
        CloseMidiOut(ignored);
}

bool MidiOut::GetMidiDevices(MidiDevices& devices, QString& message)
{
    devices.Add(Tr("Midi Mapper"), QStringLiteral("-1"));
    const int count = backend_->DeviceCount();
    for (int id = 0; id < count; ++id) {
        QString name;
        const int result = backend_->DeviceName(id, name);
        if (result != 0) {
            message = Tr("Error getting Midi device capabilities. Function 'midiOutGetDevCaps()' error description is: ")
                + GetMidiErrorText(result) + QLatin1Char('.');
            return false;
        }
        const qsizetype nul = name.indexOf(QChar(u'\0'));
        devices.Add(nul < 0 ? name : name.left(nul), QString::number(id));
    }
    return true;
}

bool MidiOut::FindMidiDeviceId(const QString& name, qint32& id, QString& message)
{
    MidiDevices devices;
    if (!GetMidiDevices(devices, message))
        return false;
    id = -1;
    for (int position = 1; position <= devices.Count(); ++position) {
        if (devices.Item(position) == name) {
            id = position - 2;
            break;
        }
    }
    return true;
}

QString MidiOut::GetMidiErrorText(qint32 code)
{
    QString text;
    if (backend_->ErrorText(code, text))
        return text;
    return Tr("Error code is: ") + QString::number(code);
}

bool MidiOut::OpenMidiOut(QString& message)
{
    if (handle_ != 0)
        return true;
    MidiHandle handle = 0;
    const int result = backend_->Open(deviceId_, handle);
    if (result != 0) {
        message = Tr("Couldn't open midi out, error description is: ") + GetMidiErrorText(result) + QLatin1Char('.');
        handle_ = 0;
        return false;
    }
    handle_ = handle;
    return true;
}

bool MidiOut::CloseMidiOut(QString& message)
{
    if (handle_ == 0)
        return true;
    const int result = backend_->Close(handle_);
    handle_ = 0;
    sounding_.clear();
    if (result != 0) {
        message = Tr("Couldn't close midi out, error description is: ") + GetMidiErrorText(result) + QLatin1Char('.');
        return false;
    }
    return true;
}

bool MidiOut::Send(quint32 message, QString& text)
{
    const int result = backend_->ShortMessage(handle_, message);
    if (result != 0) {
        text = Tr("Midi error. ReturnCode from ' midiOutShortMsg()' is: ") + QString::number(result) + QLatin1Char('.');
        return false;
    }
    return true;
}

bool MidiOut::NoteOn(int note, int channel, int program, QString& message)
{
    if (!OpenMidiOut(message))
        return false;
    if (handle_ == 0)
        return true;
    const int ch = std::clamp(channel, 0, 15);
    if (!Send(PackShortMessage(0xC0 + ch, std::clamp(program, 0, 127), 0), message))
        return false;
    if (!Send(PackShortMessage(0x90 + ch, note, 127), message))
        return false;
    sounding_.insert(note);
    return true;
}

bool MidiOut::NoteOff(int note, int channel, QString& message)
{
    if (!OpenMidiOut(message))
        return false;
    if (handle_ != 0 && !Send(PackShortMessage(0x80 + std::clamp(channel, 0, 15), note, 0), message))
        return false;
    sounding_.erase(note);
    return CloseMidiOut(message);
}
