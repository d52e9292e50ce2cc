#pragma once
// How the program sounds a note: a note number on, later the same number off. Sound
// implements it over MIDI; the activities call it; tests record it. Whether sound is
// switched on is the player's business alone: when it is off both calls succeed and
// send nothing.

#include <QString>

class NotePlayer {
public:
    virtual ~NotePlayer() = default;
    // midi: 0..127. False with message set when the note could not be sent.
    virtual bool NoteOn(int midi, QString& message) = 0;
    virtual bool NoteOff(int midi, QString& message) = 0;
};
