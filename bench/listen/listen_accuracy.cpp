// How well the note listener hears real instruments: freepats' recorded guitar and bass
// notes (GUS patches) at their recorded pitch and transposed across each range, and
// FluidSynth renders of the General MIDI guitar and bass programs, each clean, with
// white noise 20 dB below the note, and through a 150 Hz high-pass (a laptop
// microphone), at 44.1, 48 and 96 kHz. A note counts as right when it gets exactly one
// answer, of its MIDI number, within the range's time limit after its onset. Then 10 s
// of silence, room noise and mains hum, which must get no answer at all. A miss whose own
// sound is still more than half a semitone off its pitch at the deadline is counted as
// "off-pitch" too, with the share right among the other notes beside it. The rows
// "both" sum the recordings at their own pitch and FluidSynth for each range.
//
//   fretlore_listen_accuracy [--detector=mcleod|yinfft|yin|yinfast|mcomb|all] [--rates=44100,48000]
//                            [--verbose]
#include "BenchSignals.h"
#include "support/TestSignals.h"

#include "AubioPitch.h"
#include "listen/McLeodPitch.h"
#include "listen/NoteListener.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

using namespace listening;
using namespace listening::testing;

namespace {

struct Range {
    std::string name;
    int lowest;       // the listener's lowest note (the instrument's)
    int highest;      // and highest (24 frets)
    int first, last;  // notes played
    double limit;     // seconds from onset to answer
};

const Range guitar{"guitar E2-F5", 40, 88, 40, 77, 0.060};
const Range bass{"bass E1-G#3", 28, 67, 28, 56, 0.110};
const Range lowB{"five-string B0", 23, 67, 23, 23, 0.150};

struct Note {
    std::string source;  // "freepats recorded", ...
    const Range* range;
    int midi;
    std::string instrument;
    Samples sound;       // the note alone, at the trial's rate
};

enum class Condition { Clean, Noise20dB, HighPass150 };
const char* ConditionName(Condition c)
{
    switch (c) {
    case Condition::Clean:
        return "clean";
    case Condition::Noise20dB:
        return "noise 20 dB SNR";
    case Condition::HighPass150:
        return "high-pass 150 Hz";
    }
    return "";
}

struct Tally {
    int trials = 0, right = 0, wrong = 0, late = 0, missed = 0, twice = 0;
    int unsettled = 0;             // misses whose sound is off its pitch at the deadline
    std::vector<double> latencies; // of right answers, ms
    std::vector<std::string> faults;
};

// The pitch a sound settles at (its middle stretch, long windows), in MIDI numbers with
// fractions: what a tuner shows. A patch header or SoundFont zone can be out of tune
// with its own recording; such notes test the data, not the listener, and are left out.
double SettledMidi(const Samples& sound, int rate, std::size_t from)
{
    const std::size_t window = static_cast<std::size_t>(0.2 * rate);
    if (sound.size() < from + window)
        return 0.0;
    McLeodPitch pitch(rate, 25.0, 1500.0, window, 0.9, false);
    const PitchEstimate e = pitch.Estimate(std::span(sound).subspan(from, window));
    return e.hz > 0.0 ? MidiOfHz(e.hz) : 0.0;
}

std::vector<std::string> leftOut;

bool InTune(const std::string& what, const Samples& sound, int rate, double midi)
{
    const double settled = SettledMidi(sound, rate, static_cast<std::size_t>(0.3 * rate));
    if (std::fabs(settled - midi) <= 0.4)
        return true;
    leftOut.push_back(what + " MIDI " + std::to_string(int(std::lround(midi))) + " settles at "
                      + std::to_string(settled));
    return false;
}

const char* const freepatsDir = "/usr/share/midi/freepats/Tone_000";

std::vector<std::pair<std::string, std::vector<GusSample>>> LoadPatches(int fromProgram, int toProgram)
{
    std::vector<std::pair<std::string, std::vector<GusSample>>> patches;
    const QDir dir(QString::fromLatin1(freepatsDir));
    for (const QString& file : dir.entryList({QStringLiteral("*.pat")}, QDir::Files, QDir::Name)) {
        const int program = file.left(3).toInt();
        if (program < fromProgram || program > toProgram)
            continue;
        std::vector<GusSample> samples = ReadGusPatch(dir.filePath(file));
        if (!samples.empty())
            patches.emplace_back(file.chopped(4).toStdString(), std::move(samples));
    }
    return patches;
}

const GusSample* SampleFor(const std::vector<GusSample>& samples, double hz)
{
    for (const GusSample& s : samples)
        if (hz >= s.lowHz && hz < s.highHz)
            return &s;
    // Outside every key range: the nearest root, as a synthesizer would stretch it.
    return &*std::min_element(samples.begin(), samples.end(), [hz](const GusSample& a, const GusSample& b) {
        return std::fabs(std::log(a.rootHz / hz)) < std::fabs(std::log(b.rootHz / hz));
    });
}

const Range* RangeOf(int midi, bool isBass)
{
    if (isBass)
        return midi == 23 ? &lowB : (midi >= bass.first && midi <= bass.last ? &bass : nullptr);
    return midi >= guitar.first && midi <= guitar.last ? &guitar : nullptr;
}

std::vector<Note> MakeNotes(int rate, bool verbose)
{
    std::vector<Note> notes;
    const double seconds = 1.5;
    // Real recordings at the pitch they were recorded at.
    for (const bool isBass : {false, true}) {
        for (const auto& [name, samples] : LoadPatches(isBass ? 32 : 24, isBass ? 39 : 30)) {
            for (const GusSample& s : samples) {
                const double midiExact = MidiOfHz(s.rootHz);
                const int midi = static_cast<int>(std::lround(midiExact));
                const Range* range = RangeOf(midi, isBass);
                if (!range || std::fabs(midiExact - midi) > 0.3)
                    continue;
                Samples sound = PlayGusSample(s, s.rootHz, rate, seconds);
                if (InTune(name + " (recorded)", sound, rate, midiExact))
                    notes.push_back({"freepats recorded", range, midi, name, std::move(sound)});
            }
        }
    }
    // The same recordings transposed over each range, as a sampler plays them.
    for (const bool isBass : {false, true}) {
        for (const auto& [name, samples] : LoadPatches(isBass ? 32 : 24, isBass ? 39 : 30)) {
            const std::vector<const Range*> ranges = isBass ? std::vector<const Range*>{&bass, &lowB}
                                                            : std::vector<const Range*>{&guitar};
            for (const Range* range : ranges)
                for (int midi = range->first; midi <= range->last; ++midi) {
                    Samples sound = PlayGusSample(*SampleFor(samples, HzOfMidi(midi)), HzOfMidi(midi), rate, seconds);
                    if (InTune(name, sound, rate, midi))
                        notes.push_back({"freepats transposed", range, midi, name, std::move(sound)});
                }
        }
    }
    // FluidSynth and the GM SoundFont: guitars 24-30 (31 plays harmonics, an octave
    // up), basses 32-39.
    const QString font = DefaultSoundFont();
    if (font.isEmpty()) {
        std::fprintf(stderr, "No GM SoundFont (Debian timgm6mb-soundfont): FluidSynth rows left out\n");
        return notes;
    }
    GmRenderer renderer(font, rate);
    for (int program = 24; program <= 39; ++program) {
        if (program == 31)
            continue;
        const bool isBass = program >= 32;
        const std::vector<const Range*> ranges = isBass ? std::vector<const Range*>{&bass, &lowB}
                                                        : std::vector<const Range*>{&guitar};
        for (const Range* range : ranges)
            for (int midi = range->first; midi <= range->last; ++midi) {
                Samples sound = renderer.Render(program, midi, 1.2, 0.3);
                if (InTune("GM " + std::to_string(program), sound, rate, midi))
                    notes.push_back({"FluidSynth TimGM6mb", range, midi, "GM " + std::to_string(program), std::move(sound)});
            }
    }
    if (verbose)
        std::fprintf(stderr, "%zu notes at %d Hz\n", notes.size(), rate);
    return notes;
}

DetectorFactory FactoryFor(const std::string& detector)
{
    if (detector == "mcleod")
        return {};
    return [detector](int rate, double, double, std::size_t window) -> std::unique_ptr<PitchDetector> {
        std::size_t size = 1; // aubio's FFT methods want a power of two
        while (size < window)
            size <<= 1;
        return std::make_unique<AubioPitch>(detector, rate, size);
    };
}

std::vector<PlayedNote> Run(NoteListener& listener, const Samples& stream)
{
    std::vector<PlayedNote> played;
    constexpr std::size_t block = 256;
    for (std::size_t at = 0; at < stream.size(); at += block)
        listener.Process(std::span(stream).subspan(at, std::min(block, stream.size() - at)), played);
    return played;
}

// What a tuner would show at the deadline: the pitch of the note's latest three periods
// then, in MIDI numbers with fractions (0 when it has none). A note whose own sound is
// more than half a semitone off there (a glide into the note, a slap still sharp) cannot
// be judged right in time by anything that judges what sounds.
double PitchAtDeadline(const Note& note, int rate)
{
    const std::size_t deadline = AttackStart(note.sound) + static_cast<std::size_t>(note.range->limit * rate);
    const auto length = static_cast<std::size_t>(std::ceil(3.0 * rate / HzOfMidi(note.midi)));
    if (deadline > note.sound.size() || length > deadline)
        return 0.0;
    McLeodPitch pitch(rate, HzOfMidi(note.midi - 13), HzOfMidi(note.midi + 13), length, 0.9, false);
    const PitchEstimate e = pitch.Estimate(std::span(note.sound).subspan(deadline - length, length));
    return e.hz > 0.0 && e.clarity >= 0.5 ? MidiOfHz(e.hz) : 0.0;
}

void JudgeNote(const Note& note, Condition condition, int rate, const DetectorFactory& factory, Tally& tally,
               std::uint32_t seed)
{
    Samples stream = Silence(rate, 0.5);
    const std::size_t lead = stream.size();
    const std::size_t onset = lead + AttackStart(note.sound);
    Append(stream, note.sound);
    Append(stream, Silence(rate, 0.5));
    if (condition == Condition::Noise20dB)
        AddNoise(stream, 20.0, onset, static_cast<std::size_t>(0.5 * rate), seed);
    else if (condition == Condition::HighPass150)
        ApplyHighPass(stream, rate, 150.0);

    ListenOptions options;
    options.lowestMidi = note.range->lowest;
    options.highestMidi = note.range->highest;
    NoteListener listener(rate, options, factory);
    const std::vector<PlayedNote> played = Run(listener, stream);

    ++tally.trials;
    const auto describe = [&](const char* what) {
        const double atDeadline = PitchAtDeadline(note, rate);
        const bool unsettled = std::fabs(atDeadline - note.midi) > 0.5;
        tally.unsettled += unsettled;
        std::string text = std::string(what) + ": " + note.instrument + " MIDI " + std::to_string(note.midi) + " "
            + ConditionName(condition) + " " + std::to_string(rate)
            + (unsettled ? " (sounds " + std::to_string(atDeadline).substr(0, 5) + " at the deadline)" : "");
        for (const PlayedNote& p : played)
            text += " [" + std::to_string(p.midi) + " at "
                + std::to_string(int(1000.0 * double(p.decidedFrame - std::int64_t(onset)) / rate)) + " ms]";
        tally.faults.push_back(text);
    };
    if (played.empty()) {
        ++tally.missed;
        describe("missed");
        return;
    }
    const double latency = double(played[0].decidedFrame - std::int64_t(onset)) / rate;
    if (played[0].midi != note.midi) {
        ++tally.wrong;
        describe("wrong");
    } else if (played.size() > 1) {
        ++tally.twice;
        describe("twice");
    } else if (latency > note.range->limit) {
        ++tally.late;
        describe("late");
    } else {
        ++tally.right;
        tally.latencies.push_back(latency * 1000.0);
    }
}

double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * double(values.size() - 1) + 0.5))];
}

struct NoiseCase {
    std::string name;
    Samples sound;
};

std::vector<NoiseCase> QuietSounds(int rate)
{
    const auto ten = static_cast<std::size_t>(10 * rate);
    return {
        {"silence", Silence(rate, 10.0)},
        {"room noise -60 dBFS", PinkNoise(ten, 0.001, 11)},
        {"room noise -30 dBFS", PinkNoise(ten, 0.0316, 12)},
        {"mains hum 50 Hz -20 dBFS", Hum(rate, 10.0, 50.0, 0.1)},
        {"mains hum 60 Hz -20 dBFS", Hum(rate, 10.0, 60.0, 0.1)},
    };
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<std::string> detectors{"mcleod"};
    std::vector<int> rates{44100, 48000, 96000};
    bool verbose = false;
    for (const QString& arg : app.arguments().mid(1)) {
        if (arg.startsWith(QStringLiteral("--detector="))) {
            const QString which = arg.mid(11);
            detectors = which == QStringLiteral("all")
                ? std::vector<std::string>{"mcleod", "yinfft", "yin", "yinfast", "mcomb"}
                : std::vector<std::string>{which.toStdString()};
        } else if (arg.startsWith(QStringLiteral("--rates="))) {
            rates.clear();
            for (const QString& r : arg.mid(8).split(QLatin1Char(',')))
                rates.push_back(r.toInt());
        } else if (arg == QStringLiteral("--verbose")) {
            verbose = true;
        } else {
            std::fprintf(stderr, "usage: %s [--detector=mcleod|yinfft|yin|yinfast|mcomb|all] [--rates=44100,...] [--verbose]\n", argv[0]);
            return 2;
        }
    }
    if (!QDir(QString::fromLatin1(freepatsDir)).exists())
        std::fprintf(stderr, "freepats is not installed (scripts/setup): its rows are left out\n");

    const Condition conditions[] = {Condition::Clean, Condition::Noise20dB, Condition::HighPass150};
    // detector -> source/range -> condition -> rate -> tally
    std::map<std::string, std::map<std::pair<std::string, std::string>, std::map<int, std::map<int, Tally>>>> results;
    std::map<std::string, std::map<std::string, int>> quietAnswers;
    // detector -> "source: instrument" -> tally over every condition and rate
    std::map<std::string, std::map<std::string, Tally>> byInstrument;
    std::map<std::string, double> seconds;

    for (const int rate : rates) {
        const std::vector<Note> notes = MakeNotes(rate, verbose);
        const std::vector<NoiseCase> quiet = QuietSounds(rate);
        for (const std::string& detector : detectors) {
            const DetectorFactory factory = FactoryFor(detector);
            const auto started = std::chrono::steady_clock::now();
            std::uint32_t seed = 1;
            for (const Note& note : notes)
                for (const Condition condition : conditions) {
                    Tally& tally = results[detector][{note.source, note.range->name}][int(condition)][rate];
                    const int rightBefore = tally.right;
                    JudgeNote(note, condition, rate, factory, tally, seed++);
                    Tally& instrument = byInstrument[detector][note.source + ": " + note.instrument];
                    ++instrument.trials;
                    instrument.right += tally.right - rightBefore;
                }
            for (const NoiseCase& q : quiet)
                for (const Range* range : {&guitar, &bass, &lowB}) {
                    ListenOptions options;
                    options.lowestMidi = range->lowest;
                    options.highestMidi = range->highest;
                    NoteListener listener(rate, options, factory);
                    quietAnswers[detector][q.name] += static_cast<int>(Run(listener, q.sound).size());
                }
            seconds[detector] += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        }
    }

    for (const std::string& detector : detectors) {
        std::printf("\n=== detector: %s (%.1f s of computing) ===\n", detector.c_str(), seconds[detector]);
        std::printf("%-22s %-15s %-17s", "source", "range", "condition");
        for (const int rate : rates)
            std::printf(" %9.1f kHz", rate / 1000.0);
        std::printf("   latency ms median/p95/max   wrong late missed twice  off-pitch\n");
        for (const auto& [key, byCondition] : results[detector]) {
            for (const Condition condition : conditions) {
                const auto& byRate = byCondition.at(int(condition));
                Tally all;
                std::printf("%-22s %-15s %-17s", key.first.c_str(), key.second.c_str(), ConditionName(condition));
                for (const int rate : rates) {
                    const Tally& t = byRate.at(rate);
                    std::printf(" %6.1f%% /%3d", 100.0 * t.right / std::max(1, t.trials), t.trials);
                    all.trials += t.trials;
                    all.right += t.right;
                    all.wrong += t.wrong;
                    all.late += t.late;
                    all.missed += t.missed;
                    all.twice += t.twice;
                    all.unsettled += t.unsettled;
                    all.latencies.insert(all.latencies.end(), t.latencies.begin(), t.latencies.end());
                    if (verbose)
                        for (const std::string& f : t.faults)
                            std::fprintf(stderr, "  %s\n", f.c_str());
                }
                std::printf("   %5.0f /%5.0f /%5.0f      %5d %4d %6d %5d  %9d  (%.1f%% of the rest)\n",
                            Percentile(all.latencies, 0.5), Percentile(all.latencies, 0.95),
                            Percentile(all.latencies, 1.0), all.wrong, all.late, all.missed, all.twice,
                            all.unsettled, 100.0 * all.right / std::max(1, all.trials - all.unsettled));
            }
        }
        // The target's sources: the recordings at their own pitch and FluidSynth over each
        // range. The transposed recordings stay out: a sample played far from its own pitch
        // has its attack stretched or squeezed, which no real instrument does.
        std::printf("per range, recorded and FluidSynth together:\n");
        std::map<std::string, std::map<int, std::map<int, Tally>>> byRange;
        for (const auto& [key, byCondition] : results[detector]) {
            if (key.first == "freepats transposed")
                continue;
            for (const auto& [condition, byRate] : byCondition)
                for (const auto& [rate, t] : byRate) {
                    Tally& sum = byRange[key.second][condition][rate];
                    sum.trials += t.trials;
                    sum.right += t.right;
                }
        }
        for (const auto& [range, byCondition] : byRange)
            for (const Condition condition : conditions) {
                std::printf("%-22s %-15s %-17s", "both", range.c_str(), ConditionName(condition));
                for (const int rate : rates) {
                    const Tally& t = byCondition.at(int(condition)).at(rate);
                    std::printf(" %6.1f%% /%3d", 100.0 * t.right / std::max(1, t.trials), t.trials);
                }
                std::printf("\n");
            }
        std::printf("right by instrument (every condition and rate):\n");
        for (const auto& [name, t] : byInstrument[detector])
            std::printf("  %-44s %6.1f%% of %d\n", name.c_str(), 100.0 * t.right / std::max(1, t.trials), t.trials);
        std::printf("answers to 10 s of (each rate, each range's listener):");
        for (const auto& [name, count] : quietAnswers[detector])
            std::printf("  %s: %d", name.c_str(), count);
        std::printf("\n");
    }
    std::printf("\nleft out, their sound settles off the pitch they are labelled with (%zu, all rates):\n", leftOut.size());
    std::map<std::string, int> outCounts;
    for (const std::string& what : leftOut)
        ++outCounts[what.substr(0, what.find(" MIDI"))];
    for (const auto& [what, count] : outCounts)
        std::printf("  %s: %d notes\n", what.c_str(), count);
    return 0;
}
