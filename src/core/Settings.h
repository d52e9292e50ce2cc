#pragma once
// The twenty settings that survive between runs, one global each, stored as text in
// the per-user settings store (application "Fretlore", section "General").
// Before LoadSettings they hold zero, false or empty, not their defaults.

#include <QString>
#include <QtGlobal>

#include <memory>

class QSettings;

extern QString CurDeviceName;     // MIDI output device name; empty or unknown = mapper
extern qint32 MixerVolume;        // synthesizer volume in the volume control's range
extern qint16 Channel;            // MIDI channel 0..15
extern bool EnableSound;
extern qint16 CurrLessonKey;      // "1".."6"
extern bool BeepOnError;
extern bool FlatSymbolPref;       // true: notes with two names take their flat name
extern qint16 CurrLearnerKey;     // -1: no learner
extern QString WebBrowserPath;
extern qint16 TestDuration;       // seconds
extern qint32 FretboardStyle;     // 0 Realistic, 1 Simple
extern bool PlayNoteOnPrompt;     // ear-training drill style
extern qint32 GuitarType;         // 0 guitar, 1 four-string bass, 2 five-string bass
extern bool EchoEnabled;
extern qint16 CurrCustomKey;      // 1..12
extern qint16 CurrCustomScale;    // 1 major, 2 minor
extern qint16 CurrCustomPattern;  // 0..6
extern bool BluesNotesOnly;       // pentatonic notes only
extern qint16 Patch;              // MIDI program 0..127
extern qint16 NoteMaxDuration;    // tenths of a second; 0 is read as 10

// Reads all twenty settings in table order. The first value that cannot be converted
// stops the load: the settings before it keep their new values, the later ones what
// they held, and message names the key and the bad text.
bool LoadSettings(QString& message);

// Writes all twenty settings. Refuses (false, with a message) after a failed
// LoadSettings, so half-loaded values never overwrite what the user had stored.
bool SaveSettings(QString& message);

// True when the last LoadSettings stopped on a bad value.
bool SettingsLoadFailed();

// After a failed LoadSettings: its message, where the settings are kept, and the offer
// to reset the setting it stopped on to its default.
QString ResetFailedSettingQuestion(const QString& loadMessage);

// Removes the stored value of the setting the last LoadSettings stopped on, so that it
// reads as its default; every other stored setting stays as it is. False, with a
// message, when the settings file cannot be written.
bool ResetFailedSetting(QString& message);

// Restores the start-of-run state (zero, false, empty; nothing loaded). For tests.
void ResetSettingsToUnloaded();

// The per-user store, group "General" not yet entered.
std::unique_ptr<QSettings> OpenSettingsStore();
