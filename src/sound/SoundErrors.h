#pragma once
// Error codes of our own MIDI back ends (0 is success) and their texts. The texts end
// without a full stop: callers close their messages with one.

#include <QString>

enum SoundError : int {
    SoundErrNone = 0,
    SoundErrNoSynthesizer = 1,  // FluidSynth could not create its synthesizer
    SoundErrNoSoundFont = 2,    // no General MIDI SoundFont in any known place
    SoundErrSoundFontLoad = 3,  // a SoundFont was found but would not load
    SoundErrNoAudio = 4,        // no desktop audio output would open
    SoundErrNotOpen = 5,        // a handle that is not (or no longer) open
    SoundErrBadDevice = 6,      // a device id outside the list
    SoundErrPortOpen = 7,       // a MIDI port that would not open
    SoundErrSend = 8,           // a message the device refused
    SoundErrBadMessage = 9,     // not a channel message
};

// False for a code none of our back ends gives.
bool SoundErrorText(int code, QString& text);
