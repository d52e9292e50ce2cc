#pragma once
// One semitone of the note table: its name in the preferred spelling and the MIDI
// number of its concert pitch. A value: it plays nothing itself (sound does that).

#include <QString>

struct Note {
    QString name;     // e.g. "C#-2" or "Db-2"
    int midi = 0;     // concert pitch, 0..127 (guitar "E-0" 40, bass "E-0" 28)
    int position = 0; // 1..60 in the note table

    bool operator==(const Note&) const = default;
};
