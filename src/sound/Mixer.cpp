#include "sound/Mixer.h"

#include <QCoreApplication>

#include <algorithm>

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

QString Tr(const char* text)
{
    return QCoreApplication::translate("Mixer", text);
}

QString ErrorCodeMessage(int code)
{
    return Tr("Mixer error code: ") + QString::number(code) + QStringLiteral(". ");
}

} // namespace

Mixer::Mixer(std::unique_ptr<MixerDevice> device)
    : device_(device ? std::move(device) : std::make_unique<RememberingMixerDevice>())
{
}

void Mixer::SetDevice(std::unique_ptr<MixerDevice> device)
{
    CloseMixer();
    device_ = device ? std::move(device) : std::make_unique<RememberingMixerDevice>();
}

bool Mixer::Open(QString& message)
{
    if (handle_ != 0)
        return true;
    MixerHandle handle = 0;
    if (device_->Open(handle) != 0 || handle == 0) {
        message = Tr("Couldn't open the mixer.");
        return false;
    }
    handle_ = handle;
    if (device_->GetVolumeControl(handle_, volume_) != 0) {
        // Left open on purpose: the handle is forgotten, as the first platform did.
        handle_ = 0;
        message = Tr("Couldn't open the MIDI volume control.");
        return false;
    }
    return true;
}

bool Mixer::InitMixer(QString& message)
{
    if (!Open(message))
        return false;
    minValue_ = volume_.minimum;
    maxValue_ = volume_.maximum;
    return true;
}

bool Mixer::GetVolume(qint32& volume, QString& message)
{
    if (!Open(message))
        return false;
    quint32 value = 0;
    const int result = device_->GetValue(handle_, volume_.id, value);
    if (result == 0)
        volume = static_cast<qint32>(value);
    else
        message = ErrorCodeMessage(result);
    CloseMixer();
    return result == 0;
}

bool Mixer::SetVolume(qint32 volume, QString& message)
{
    if (!Open(message))
        return false;
    const qint32 bounded = std::clamp(volume, volume_.minimum, std::max(volume_.minimum, volume_.maximum));
    const int result = device_->SetValue(handle_, volume_.id, static_cast<quint32>(bounded));
    if (result != 0)
        message = ErrorCodeMessage(result);
    CloseMixer();
    return result == 0;
}

void Mixer::CloseMixer()
{
    if (handle_ == 0)
        return;
    device_->Close(handle_);
    handle_ = 0;
}
