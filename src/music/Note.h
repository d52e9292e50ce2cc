#pragma once
// One of the 60 semitones of the note table, with the MIDI key it sounds.

#include <QString>
#include <QtGlobal>

#include <memory>

class Note {
public:
    QString strNoteName;        // e.g. "C#-2" or "Db-2", as in NoteNames
    qint16 intNoteMidiIndex = 0; // MIDI key at concert pitch on the instrument of its table

    // Both do nothing and succeed while sound is switched off.
    bool PlaySound(QString& strRetMsg) const;
    bool StopSound(QString& strRetMsg) const;

private:
    bool NoteOn(QString& strRetMsg) const;
    bool NoteOff(QString& strRetMsg) const;
};

// The note table replaces its notes on every scale change; shared ownership keeps a
// note that is still sounding (or waiting for its timeout) valid after that.
using NotePtr = std::shared_ptr<const Note>;
