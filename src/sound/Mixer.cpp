#include "sound/Mixer.h"

#include <QCoreApplication>

#include <algorithm>

qint32 MixerMinValue = 0;
qint32 MixerMaxValue = 65000;

namespace {

class RememberingMixerDevice final : public MixerDevice {
public:
    int Open(MixerHandle& handle) override
    {
        handle = 1;
        return 0;
    }
    int GetVolumeControl(MixerHandle, MixerControl& control) override
    {
        control = {1, 0, 65535};
        return 0;
    }
    int GetValue(MixerHandle, quint32, quint32& value) override
    {
        value = level_;
        return 0;
    }
    int SetValue(MixerHandle, quint32, quint32 value) override
    {
        level_ = value;
        return 0;
    }
    void Close(MixerHandle) override {}

private:
    quint32 level_ = 65535;
};

std::unique_ptr<MixerDevice>& Device()
{
    static std::unique_ptr<MixerDevice> device = std::make_unique<RememberingMixerDevice>();
    return device;
}

QString Tr(const char* text)
{
    return QCoreApplication::translate("Mixer", text);
}

QString ErrorCodeMessage(int code)
{
    return Tr("Mixer error code: ") + QString::number(code) + QStringLiteral(". ");
}

} // namespace

Mixer& GetMixer()
{
    Device(); // made first so that it outlives the mixer, whose release closes it
    static Mixer mixer;
    return mixer;
}

std::unique_ptr<MixerDevice> SetMixerDevice(std::unique_ptr<MixerDevice> device)
{
    GetMixer().CloseMixer();
    std::unique_ptr<MixerDevice> previous = std::move(Device());
    Device() = device ? std::move(device) : std::make_unique<RememberingMixerDevice>();
    return previous;
}

MixerDevice& CurrentMixerDevice()
{
    return *Device();
}

bool Mixer::InitMixer(QString& message, qint32& minimum, qint32& maximum)
{
    if (hMixer != 0)
        return true;
    MixerHandle handle = 0;
    intLastResult = Device()->Open(handle);
    if (intLastResult != 0 || handle == 0) {
        hMixer = 0;
        message = Tr("Couldn't open the mixer.");
        return false;
    }
    hMixer = handle;
    intLastResult = Device()->GetVolumeControl(hMixer, ctrlVolume);
    if (intLastResult != 0) {
        // Left open on purpose: the handle is forgotten, as the first platform did.
        hMixer = 0;
        message = Tr("Couldn't open the MIDI volume control.");
        return false;
    }
    if (minimum != -1)
        minimum = ctrlVolume.minimum;
    if (maximum != -1)
        maximum = ctrlVolume.maximum;
    return true;
}

bool Mixer::GetVolume(qint32& volume, QString& message)
{
    qint32 noBounds = -1;
    qint32 noBoundsEither = -1;
    if (!InitMixer(message, noBounds, noBoundsEither))
        return false;
    quint32 value = 0;
    intLastResult = Device()->GetValue(hMixer, ctrlVolume.id, value);
    const bool ok = intLastResult == 0;
    if (ok)
        volume = static_cast<qint32>(value);
    else
        message = ErrorCodeMessage(intLastResult);
    CloseMixer();
    return ok;
}

bool Mixer::SetVolume(qint32 volume, QString& message)
{
    qint32 noBounds = -1;
    qint32 noBoundsEither = -1;
    if (!InitMixer(message, noBounds, noBoundsEither))
        return false;
    const qint32 bounded = std::clamp(volume, ctrlVolume.minimum, std::max(ctrlVolume.minimum, ctrlVolume.maximum));
    intLastResult = Device()->SetValue(hMixer, ctrlVolume.id, static_cast<quint32>(bounded));
    const bool ok = intLastResult == 0;
    if (!ok)
        message = ErrorCodeMessage(intLastResult);
    CloseMixer();
    return ok;
}

void Mixer::CloseMixer()
{
    if (hMixer == 0)
        return;
    Device()->Close(hMixer);
    hMixer = 0;
}
