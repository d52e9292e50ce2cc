#pragma once
// The MIDI volume: the level of the volume control on the mixer's synthesizer line.
// The mixer is opened for each operation and closed again after every read and set.

#include "sound/MixerDevice.h"

#include <QString>

#include <memory>

// Bounds of the volume control; the main window sets 0 and 65000 before sound starts,
// InitMidi replaces them with the control's own.
extern qint32 MixerMinValue;
extern qint32 MixerMaxValue;

class Mixer {
public:
    Mixer() = default;
    ~Mixer() { CloseMixer(); }
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Opens the mixer and finds the volume control. minimum and maximum receive the
    // control's bounds unless they come in as -1; an open mixer leaves them alone.
    bool InitMixer(QString& message, qint32& minimum, qint32& maximum);
    // On failure volume keeps what it held, so a passing fault cannot zero the
    // user's stored volume.
    bool GetVolume(qint32& volume, QString& message);
    // volume is held within the control's bounds.
    bool SetVolume(qint32 volume, QString& message);
    void CloseMixer();

    bool IsOpen() const { return hMixer != 0; }

private:
    MixerHandle hMixer = 0;
    MixerControl ctrlVolume;
    int intLastResult = 0;
};

// The one mixer of the program.
Mixer& GetMixer();

// Installs the device the mixer talks to and returns the previous one; the mixer is
// closed first. Until one is installed, a volume control that only remembers its level
// (0..65535) stands in.
std::unique_ptr<MixerDevice> SetMixerDevice(std::unique_ptr<MixerDevice> device);
MixerDevice& CurrentMixerDevice();
