#include "sound/MidiOut.h"

#include "core/Settings.h"
#include "sound/Mixer.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

MidiHandle MidiOutHandle = 0;
qint32 MidiDeviceId = -1;

namespace {

// Until the application installs a real back end, notes go nowhere.
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

std::unique_ptr<MidiOutput>& Backend()
{
    static std::unique_ptr<MidiOutput> backend = std::make_unique<SilentMidiOutput>();
    return backend;
}

QString Tr(const char* text)
{
    return QCoreApplication::translate("MidiOut", text);
}

bool SendShortMessage(quint32 message, QString& strMessage)
{
    const int result = Backend()->ShortMessage(MidiOutHandle, message);
    if (result != 0) {
        strMessage = Tr("Midi error. ReturnCode from ' midiOutShortMsg()' is: ") + QString::number(result) + QLatin1Char('.');
        return false;
    }
    return true;
}

// "Channel" and "Patch" come from the settings store unchecked; outside MIDI's ranges
// they would turn a note or program change into another kind of message.
int MidiChannel()
{
    return std::clamp<int>(Channel, 0, 15);
}

int MidiProgram()
{
    return std::clamp<int>(Patch, 0, 127);
}

} // namespace

std::unique_ptr<MidiOutput> SetMidiOutput(std::unique_ptr<MidiOutput> output)
{
    std::unique_ptr<MidiOutput> previous = std::move(Backend());
    Backend() = output ? std::move(output) : std::make_unique<SilentMidiOutput>();
    MidiOutHandle = 0;
    return previous;
}

MidiOutput& CurrentMidiOutput()
{
    return *Backend();
}

bool GetMidiDevices(MidiDevices& devices, QString& message)
{
    devices.Add(Tr("Midi Mapper"), QStringLiteral("-1"));
    const int count = Backend()->DeviceCount();
    for (int id = 0; id < count; ++id) {
        QString name;
        const int result = Backend()->DeviceName(id, name);
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

bool FindMidiDeviceId(qint32& id, QString& message)
{
    MidiDevices devices;
    if (!GetMidiDevices(devices, message))
        return false;
    id = -1;
    for (int position = 1; position <= devices.Count(); ++position) {
        if (devices.Item(position) == CurDeviceName) {
            id = position - 2;
            break;
        }
    }
    return true;
}

bool InitMidi(QString& message)
{
    if (!EnableSound)
        return true;
    QString detail;
    // The configured device first, so that the output opened here (and with it the
    // first note of a run) is that device. An output still open for a sounding note
    // stays where it is; the new device follows at the next opening.
    if (!FindMidiDeviceId(MidiDeviceId, detail)) {
        message = Tr("Unable to get the MIDI device. ") + detail;
        return false;
    }
    if (!OpenMidiOut(detail)) {
        message = Tr("Unable to open the MIDI device. ") + detail;
        return false;
    }
    if (!GetMixer().InitMixer(detail, MixerMinValue, MixerMaxValue)) {
        message = Tr("Unable to read the current MIDI volume range. ") + detail;
        return false;
    }
    if (!GetMixer().GetVolume(MixerVolume, detail)) {
        message = Tr("Unable to read the current MIDI device volume. ") + detail;
        return false;
    }
    return true;
}

QString GetMidiErrorText(qint32 code)
{
    QString text;
    if (Backend()->ErrorText(code, text))
        return text;
    return Tr("Error code is: ") + QString::number(code);
}

bool OpenMidiOut(QString& message)
{
    if (MidiOutHandle != 0)
        return true;
    MidiHandle handle = 0;
    const int result = Backend()->Open(MidiDeviceId, handle);
    if (result != 0) {
        message = Tr("Couldn't open midi out, error description is: ") + GetMidiErrorText(result) + QLatin1Char('.');
        MidiOutHandle = 0;
        return false;
    }
    MidiOutHandle = handle;
    return true;
}

bool CloseMidiOut(QString& message)
{
    if (MidiOutHandle == 0)
        return true;
    const int result = Backend()->Close(MidiOutHandle);
    MidiOutHandle = 0;
    if (result != 0) {
        message = Tr("Couldn't close midi out, error description is: ") + GetMidiErrorText(result) + QLatin1Char('.');
        return false;
    }
    return true;
}

bool MidiNoteOn(int noteNumber, QString& message)
{
    if (!OpenMidiOut(message))
        return false;
    if (MidiOutHandle == 0)
        return true;
    if (!SendShortMessage(PackShortMessage(0xC0 + MidiChannel(), MidiProgram(), 0), message))
        return false;
    return SendShortMessage(PackShortMessage(0x90 + MidiChannel(), noteNumber, 127), message);
}

bool MidiNoteOff(int noteNumber, QString& message)
{
    if (!OpenMidiOut(message))
        return false;
    if (MidiOutHandle != 0 && !SendShortMessage(PackShortMessage(0x80 + MidiChannel(), noteNumber, 0), message))
        return false;
    return CloseMidiOut(message);
}
