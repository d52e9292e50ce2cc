#pragma once
// Keys, scales and the note names of a key and scale.
//
// Keys 1..12: "A", "B flat", "B", "C", "D flat", "D", "E flat", "E", "F", "G flat", "G",
// "A flat"; key k's root is note-table position k. Scales: 1 "Major", 2 "Minor". The
// spelling is global: every name follows the flat/sharp preference whatever the key,
// so F major with sharps reads F G A A# C D E.

#include "music/Note.h"

#include <QString>
#include <QStringList>

#include <vector>

class Notes;

enum Scale : int { ScaleMajor = 1, ScaleMinor = 2 };
inline constexpr int kKeyCount = 12;
inline constexpr int kScaleCount = 2;

// The English names the program reasons with; translate them for display with
// QCoreApplication::translate(KeyScaleNamesContext, name). Empty for other ids.
QString KeyName(int key);
QString ScaleName(int scale);
inline constexpr char KeyScaleNamesContext[] = "KeyNames";

// A key name in the preferred spelling: "B flat" becomes "Bb" with flats and "A#" with
// sharps, and an earlier result converts again when the preference changes.
QString NormalizeKeyName(QString key, bool flats);

// The scale's seven note names without octave digit, root first; empty for a key or
// scale that does not exist.
QStringList ScaleNoteNames(int key, int scale, bool flats);

// The scale notes written on each staff level of the table's instrument, level 1 first:
// per level flat, natural, sharp, each the first such note above the notes given to the
// levels below it.
std::vector<std::vector<Note>> NotesOnStaffLevels(const Notes& table, const QStringList& scaleNames);
