#include "sound/SoundErrors.h"

#include <QCoreApplication>

bool SoundErrorText(int code, QString& text)
{
    const char* source = nullptr;
    switch (code) {
    case SoundErrNone: source = QT_TRANSLATE_NOOP("Sound", "No error"); break;
    case SoundErrNoSynthesizer: source = QT_TRANSLATE_NOOP("Sound", "The built-in synthesizer could not be started"); break;
    case SoundErrNoSoundFont:
        source = QT_TRANSLATE_NOOP("Sound", "No General MIDI SoundFont was found (install the package timgm6mb-soundfont)");
        break;
    case SoundErrSoundFontLoad: source = QT_TRANSLATE_NOOP("Sound", "The General MIDI SoundFont could not be loaded"); break;
    case SoundErrNoAudio:
        source = QT_TRANSLATE_NOOP("Sound", "No audio output could be opened (PipeWire, PulseAudio, ALSA and JACK were tried)");
        break;
    case SoundErrNotOpen: source = QT_TRANSLATE_NOOP("Sound", "The MIDI output is not open"); break;
    case SoundErrBadDevice: source = QT_TRANSLATE_NOOP("Sound", "There is no MIDI output device with this number"); break;
    case SoundErrPortOpen: source = QT_TRANSLATE_NOOP("Sound", "The MIDI port could not be opened"); break;
    case SoundErrSend: source = QT_TRANSLATE_NOOP("Sound", "The MIDI device refused the message"); break;
    case SoundErrBadMessage: source = QT_TRANSLATE_NOOP("Sound", "The MIDI message is not a channel message"); break;
    default: return false;
    }
    text = QCoreApplication::translate("Sound", source);
    return true;
}
