#pragma once
// The MIDI volume: the level of the volume control on the mixer's synthesizer line.
// The mixer is opened for each operation and closed again after every read and set.

#include "sound/MixerDevice.h"

#include <QString>

#include <memory>

class Mixer {
public:
    // Without a device, a volume control that only remembers its level (0..65535).
    explicit Mixer(std::unique_ptr<MixerDevice> device = nullptr);
    ~Mixer() { CloseMixer(); }
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Replaces the device, closing the mixer first.
    void SetDevice(std::unique_ptr<MixerDevice> device);

    // Bounds of the volume control: 0 and 65000 until InitMixer reads the control's own.
    qint32 MinValue() const { return minValue_; }
    qint32 MaxValue() const { return maxValue_; }

    // Opens the mixer, finds the volume control and takes its bounds.
    bool InitMixer(QString& message);
    // On failure volume keeps what it held, so a passing fault cannot zero the user's
    // stored volume.
    bool GetVolume(qint32& volume, QString& message);
    // volume is held within the control's bounds.
    bool SetVolume(qint32 volume, QString& message);
    void CloseMixer();

    bool IsOpen() const { return handle_ != 0; }

private:
    bool Open(QString& message);

    std::unique_ptr<MixerDevice> device_;
    MixerHandle handle_ = 0;
    MixerControl volume_;
    qint32 minValue_ = 0;
    qint32 maxValue_ = 65000;
};
