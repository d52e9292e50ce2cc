// The McLeod detector on its own: harmonic tones at every pitch of the instruments and
// every rate, and the spectrum check that keeps a note from being heard a twelfth or an
// octave low without raising a real low note.
#include "support/TestSignals.h"

#include "listen/McLeodPitch.h"
#include "listen/WavFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace listening;
using namespace listening::testing;

namespace {

// Partials (multiple of hz, amplitude), steady, for seconds.
Samples Partials(int rate, double hz, std::initializer_list<std::pair<double, double>> list, double seconds = 0.2)
{
    Samples out(static_cast<std::size_t>(seconds * rate));
    for (std::size_t i = 0; i < out.size(); ++i) {
        double v = 0.0;
        for (const auto& [multiple, amplitude] : list)
            v += amplitude * std::sin(2.0 * std::numbers::pi * hz * multiple * double(i) / rate + multiple);
        out[i] = static_cast<float>(v);
    }
    return out;
}

} // namespace

TEST(McLeodPitch, HarmonicTonesAreFoundWithinFiveCentsAtEveryPitchAndRate)
{
    for (const int rate : {44100, 48000, 96000}) {
        const double lowest = HzOfMidi(22.5);
        const auto window = static_cast<std::size_t>(std::ceil(2.0 * rate / lowest));
        McLeodPitch pitch(rate, lowest, HzOfMidi(88.5), window);
        for (int midi = 23; midi <= 88; ++midi) {
            const Samples tone = Partials(rate, HzOfMidi(midi), {{1, 0.5}, {2, 0.3}, {3, 0.2}, {4, 0.1}, {5, 0.05}});
            const PitchEstimate found = pitch.Estimate(std::span(tone).first(window));
            EXPECT_NEAR(MidiOfHz(found.hz), midi, 0.05) << "MIDI " << midi << " at " << rate;
            EXPECT_GT(found.clarity, 0.95) << "MIDI " << midi << " at " << rate;
        }
    }
}

TEST(McLeodPitch, NoiseAndSilenceHaveNoClearPitch)
{
    const int rate = 48000;
    McLeodPitch pitch(rate, 30.0, 1400.0, 4096);
    const Samples quiet = Silence(rate, 0.1);
    EXPECT_EQ(pitch.Estimate(std::span(quiet).first(4096)).hz, 0.0);
    const Samples noise = WhiteNoise(4096, 0.1, 5);
    EXPECT_LT(pitch.Estimate(noise).clarity, 0.5);
}

TEST(McLeodPitch, AnOpenStringRingingATwelfthBelowDoesNotPullTheNoteDown)
{
    const int rate = 48000;
    const std::size_t window = 2 * rate / 80;
    // E4 with the open A string (A2, whose third partial is E4) ringing along.
    const double a2 = HzOfMidi(45);
    const Samples ringing = Partials(rate, a2, {{3, 0.5}, {6, 0.25}, {9, 0.12}, {1, 0.16}, {2, 0.15}});
    McLeodPitch plain(rate, 80.0, 1400.0, window, 0.9, false);
    McLeodPitch checked(rate, 80.0, 1400.0, window);
    EXPECT_NEAR(MidiOfHz(plain.Estimate(std::span(ringing).first(window)).hz), 45.0, 0.1)
        << "the square difference alone finds the common period";
    EXPECT_NEAR(MidiOfHz(checked.Estimate(std::span(ringing).first(window)).hz), 64.0, 0.1);

    // A real A2 whose third partial is its strongest stays A2, and so does one whose
    // fundamental a laptop microphone has taken away.
    const Samples strongThird = Partials(rate, a2, {{1, 0.25}, {2, 0.3}, {3, 0.5}, {4, 0.2}, {5, 0.1}, {6, 0.1}});
    EXPECT_NEAR(MidiOfHz(checked.Estimate(std::span(strongThird).first(window)).hz), 45.0, 0.1);
    const Samples noFundamental = Partials(rate, a2, {{2, 0.4}, {3, 0.5}, {4, 0.3}, {5, 0.2}, {6, 0.1}});
    EXPECT_NEAR(MidiOfHz(checked.Estimate(std::span(noFundamental).first(window)).hz), 45.0, 0.1);
}

// A distorted attack: the second partial far above the note's own, and much that does not
// repeat. The note is still found as itself, not as its octave.
TEST(McLeodPitch, InAMurkyStretchAStrongSecondPartialDoesNotPassForTheNote)
{
    const int rate = 48000;
    const std::size_t window = 2 * rate / 80;
    McLeodPitch pitch(rate, 80.0, 1400.0, window);
    int right = 0;
    for (int midi = 45; midi <= 72; ++midi) {
        Samples murky = Partials(rate, HzOfMidi(midi), {{1, 0.1}, {2, 0.6}, {3, 0.1}, {4, 0.2}});
        const Samples noise = WhiteNoise(murky.size(), 0.35, std::uint32_t(midi));
        for (std::size_t i = 0; i < murky.size(); ++i)
            murky[i] += noise[i];
        const PitchEstimate found = pitch.Estimate(std::span(murky).first(window));
        ASSERT_LT(found.clarity, 0.75) << "MIDI " << midi << " is not murky";
        right += std::fabs(MidiOfHz(found.hz) - midi) < 0.3;
    }
    EXPECT_GE(right, 24) << "of 28 notes";
}

TEST(WavFile, AWrittenSoundReadsBackAtItsRateWithin16BitPrecision)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const MonoSound sound{PluckedTone(44100, 220.0, 0.3), 44100};
    const QString path = dir.filePath(QStringLiteral("note.wav"));
    ASSERT_TRUE(WriteWav(path, sound));
    QString error;
    const MonoSound back = ReadWav(path, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(back.sampleRate, 44100);
    ASSERT_EQ(back.samples.size(), sound.samples.size());
    for (std::size_t i = 0; i < back.samples.size(); i += 97)
        EXPECT_NEAR(back.samples[i], sound.samples[i], 1.0 / 32767);

    EXPECT_TRUE(ReadWav(dir.filePath(QStringLiteral("missing.wav")), &error).samples.empty());
    EXPECT_FALSE(error.isEmpty());
    const QString bogus = dir.filePath(QStringLiteral("bogus.wav"));
    QFile file(bogus);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("RIFF\x04\x00\x00\x00WAVEjunk");
    file.close();
    const MonoSound none = ReadWav(bogus, &error);
    EXPECT_TRUE(none.samples.empty());
    EXPECT_EQ(none.sampleRate, 0);
}
