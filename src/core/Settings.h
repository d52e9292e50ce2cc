#pragma once
// The settings that survive between runs, one value owned by the application and passed
// to whoever needs it. Stored as text in the per-user settings store (application
// "Fretlore", section "General"): numbers as decimal text, booleans as "True"/"False".
// A freshly made Settings holds zero, false and empty; Defaults() holds the defaults.

#include <QString>
#include <QtGlobal>

#include <memory>

class QSettings;

struct Settings {
    QString curDeviceName;        // "CurDeviceName": MIDI output; empty or unknown = built-in synthesizer
    qint32 mixerVolume = 0;       // "MixerVolume": synthesizer volume in the volume control's range
    qint16 channel = 0;           // "Channel": MIDI channel 0..15
    bool enableSound = false;     // "EnableSound"
    qint16 currLessonKey = 0;     // "CurrLessonKey": 1..6
    bool beepOnError = false;     // "BeepOnError"
    bool flatSymbolPref = false;  // "FlatSymbolPref": notes with two names take their flat name
    qint16 currLearnerKey = 0;    // "CurrLearnerKey": -1 no learner
    QString webBrowserPath;       // "WebBrowserPath"
    qint16 testDuration = 0;      // "TestDuration": seconds
    qint32 fretboardStyle = 0;    // "FretboardStyle": 0 Realistic, 1 Simple
    bool playNoteOnPrompt = false; // "PlayNoteOnPrompt": the ear-training drill style
    qint32 guitarType = 0;        // "GuitarType": 0 guitar, 1 four-string bass, 2 five-string bass
    bool echoEnabled = false;     // "EchoEnabled"
    qint16 currCustomKey = 0;     // "CurrCustomKey": 1..12
    qint16 currCustomScale = 0;   // "CurrCustomScale": 1 major, 2 minor
    qint16 currCustomPattern = 0; // "CurrCustomPattern": 0..6
    bool pentatonicOnly = false;  // "BluesNotesOnly": pentatonic notes only
    qint16 patch = 0;             // "Patch": MIDI program 0..127
    qint16 noteMaxDuration = 0;   // "NoteMaxDuration": tenths of a second; 0 is read as 10
    QString tuning;               // "Tuning": a known tuning's id, "custom", or empty for GuitarType's standard
    QString customTuning;         // "CustomTuning": the learner's own tuning, "guitar6: D-0 A-1 ..."
    bool leftHandedNeck = false;  // "LeftHandedNeck": the nut on the right
    bool lowestStringOnTop = false; // "LowestStringOnTop": the lowest string at the top
    bool listenEnabled = false;   // "ListenEnabled": answer by playing into the audio input
    QString inputDevice;          // "InputDevice": the audio input's name; empty = the system's default
    qint16 inputThreshold = 0;    // "InputThreshold": dBFS a note's peak must reach to count

    static Settings Defaults();
    bool operator==(const Settings&) const = default;
};

// Reads and writes Settings with one table of keys, conversions and defaults.
class SettingsStore {
public:
    // Reads every setting in table order. The first stored text that cannot be
    // converted stops the load: the settings before it keep their new values, the later
    // ones what they held, and message names the key, the text and the settings file.
    bool LoadSettings(Settings& settings, QString& message);

    // Writes every setting. Refuses (false, with a message) after a failed load, so
    // half-loaded values never overwrite what the user had stored.
    bool SaveSettings(const Settings& settings, QString& message);

    bool LoadFailed() const { return loadFailed_; }
    // The key that stopped the last load; empty after a successful one.
    QString FailedKey() const { return failedKey_; }

    // After a failed load: its message, where the settings are kept, and the offer to
    // reset the setting it stopped on to its default.
    QString ResetFailedSettingQuestion(const QString& loadMessage) const;
    // Stores the default of one setting (as a save writes it) and leaves every other
    // stored value as it is. False, with a message, when the file cannot be written.
    bool ResetToDefault(const QString& key, QString& message);

    // The per-user store, group "General" not yet entered.
    static std::unique_ptr<QSettings> Open();
    static QString FileName();

private:
    bool loadFailed_ = false;
    QString failedKey_;
};
