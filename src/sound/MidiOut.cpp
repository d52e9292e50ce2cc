#include "sound/MidiOut.h"

#include "core/Settings.h"

#include <QCoreApplication>

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
    if (!SendShortMessage(PackShortMessage(0xC0 + Channel, Patch, 0), message))
        return false;
    return SendShortMessage(PackShortMessage(0x90 + Channel, noteNumber, 127), message);
}

bool MidiNoteOff(int noteNumber, QString& message)
{
    if (!OpenMidiOut(message))
        return false;
    if (MidiOutHandle != 0 && !SendShortMessage(PackShortMessage(0x80 + Channel, noteNumber, 0), message))
        return false;
    return CloseMidiOut(message);
}
