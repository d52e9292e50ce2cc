#include "music/Note.h"

#include "core/Settings.h"
#include "sound/MidiOut.h"

bool Note::PlaySound(QString& strRetMsg) const
{
    if (!EnableSound)
        return true;
    return NoteOn(strRetMsg);
}

bool Note::StopSound(QString& strRetMsg) const
{
    if (!EnableSound)
        return true;
    return NoteOff(strRetMsg);
}

bool Note::NoteOn(QString& strRetMsg) const
{
    return MidiNoteOn(intNoteMidiIndex, strRetMsg);
}

bool Note::NoteOff(QString& strRetMsg) const
{
    return MidiNoteOff(intNoteMidiIndex, strRetMsg);
}
