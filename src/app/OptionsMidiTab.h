#pragma once
// The options dialog's "Midi" tab: sound on or off, the MIDI device, volume, channel,
// instrument sound and the longest time a note sounds.

#include <QWidget>

class QCheckBox;
class QListWidget;
class QSlider;
class ScrolledNumberBox;
class SoundSystem;
struct Settings;

class OptionsMidiTab : public QWidget {
    Q_OBJECT
public:
    OptionsMidiTab(SoundSystem& sound, QWidget* parent = nullptr);

    void Load(const Settings& settings);
    // The volume control's range and level afresh, after sound has been started again.
    void LoadMidiValues(const Settings& settings);
    bool CheckValues();
    // Takes the device for the next note and sets the volume when sound is on.
    void Save(Settings& settings);

    QCheckBox* chkEnableSound = nullptr;
    QListWidget* lstMidiDevs = nullptr;
    QSlider* Slider = nullptr;
    ScrolledNumberBox* numChannel = nullptr;
    ScrolledNumberBox* numPatch = nullptr;
    ScrolledNumberBox* numNoteMaxDuration = nullptr;

private:
    void LoadDevices(const Settings& settings);

    SoundSystem& sound_;
};
