#pragma once
// Sounds for a test's JACK server (doubles/JackServer.h): a recorded note, and a WAV
// file played into the program's input by sndfile-jackplay.

#include "listen/PitchDetector.h"
#include "listen/RtAudioInput.h"
#include "listen/WavFile.h"
#include "TestSignals.h"
#include "doubles/JackServer.h"

#include <QProcess>

namespace listening::testing {

// Plays a WAV file into the program's input with sndfile-jackplay; true when it played.
inline bool PlayInto(const QString& player, const QString& file)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(player, {QStringLiteral("--autoconnect=%1:inport 0").arg(QLatin1String(RtAudioInput::JackClientName)), file});
    return process.waitForFinished(10000) && process.exitCode() == 0;
}


// A recorded nylon-guitar note from freepats at its own pitch, or a synthetic one when
// freepats is not installed; with a little silence before it.
inline MonoSound RecordedNote(int midi, int rate)
{
    MonoSound sound{Silence(rate, 0.2), rate};
    const std::vector<GusSample> patch = ReadGusPatch(QStringLiteral("/usr/share/midi/freepats/Tone_000/024_Nylon_Guitar.pat"));
    const double hz = HzOfMidi(midi);
    for (const GusSample& sample : patch) {
        if (hz >= sample.lowHz && hz < sample.highHz) {
            Append(sound.samples, PlayGusSample(sample, hz, rate, 1.0));
            return sound;
        }
    }
    Append(sound.samples, PluckedTone(rate, hz, 1.0));
    return sound;
}

} // namespace listening::testing
