// Writes the answers of a simulated learner into a practice file, for screenshots and
// for trying the Progress window by hand: a learner who drills C major over the whole
// neck on a number of days over the last two weeks, who is slow and unsure on the
// sharps and high up the neck, and who gets better from day to day.
//
// Usage: fretlore_sample_practice FILE [GUITAR_TYPE [ANSWERS [LEARNER_KEY [SEED]]]]
//   GUITAR_TYPE 0 guitar, 1 four-string bass, 2 five-string bass (default 0)
#include "core/Selection.h"
#include "music/Notes.h"
#include "music/PatternLayout.h"
#include "records/PracticeStore.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>
#include <random>

namespace {

constexpr qint64 kDayMs = 24LL * 3600 * 1000;
constexpr int kDays = 14;

struct Learner {
    const Notes& notes;
    std::mt19937 random;

    // How unsure the learner is at a place, 0..1, on the given day (0 the first).
    double Doubt(FretPosition at, const QString& note, int day) const
    {
        double doubt = 0.08 + 0.025 * (at.fret - 1);
        if (note.contains(QLatin1Char('#')) || note.contains(QLatin1Char('b')))
            doubt += 0.3;
        if (note.startsWith(QLatin1Char('F')) || note.startsWith(QLatin1Char('B')))
            doubt += 0.15;
        return std::clamp(doubt * (1.0 - 0.045 * day), 0.02, 0.9);
    }

    PracticeAnswer Answer(FretPosition prompt, int day, qint64 atMs)
    {
        const QString note = notes.GetNoteObjFromFretBoard(prompt.string, prompt.fret)->name;
        const double doubt = Doubt(prompt, note, day);
        PracticeAnswer a;
        a.answeredAtMs = atMs;
        a.activity = day % 3 == 2 ? PracticeActivity::Practice : PracticeActivity::Drill;
        a.lessonKey = 4;
        a.instrument = static_cast<int>(notes.GetInstrument().Type());
        a.key = 4;
        a.scale = 1;
        a.pattern = 6;
        a.promptNote = note;
        a.promptPosition = prompt;
        a.correct = std::bernoulli_distribution(1.0 - doubt)(random);
        a.answerPosition = prompt;
        if (!a.correct) {
            // A neighbouring fret, the commonest slip.
            const int fret = prompt.fret == 1 ? 2 : prompt.fret + (random() % 2 ? 1 : -1);
            a.answerPosition = {prompt.string, std::min(fret, kFretPositions)};
        }
        a.answerNote = notes.GetNoteObjFromFretBoard(a.answerPosition.string, a.answerPosition.fret)->name;
        std::lognormal_distribution<double> spread(0.0, 0.25);
        a.responseMs = int((900 + 5200 * doubt) * spread(random));
        return a;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s FILE [GUITAR_TYPE [ANSWERS [LEARNER_KEY [SEED]]]]\n", argv[0]);
        return 2;
    }
    const int guitarType = args.size() > 2 ? args[2].toInt() : 0;
    const int count = args.size() > 3 ? args[3].toInt() : 400;
    const int learnerKey = args.size() > 4 ? args[4].toInt() : 1;
    const unsigned seed = args.size() > 5 ? args[5].toUInt() : 5;

    const Notes notes(Instrument::FromGuitarType(guitarType), false);
    Selection cMajor;
    cMajor.key = 4;
    cMajor.scale = 1;
    cMajor.pattern = 6;
    cMajor.visiblePatterns = {1, 2, 3, 4, 5};
    const std::vector<FretPosition> pool = QuestionPool(notes.GetInstrument(), cMajor);
    if (pool.empty()) {
        std::fprintf(stderr, "no positions to ask\n");
        return 1;
    }

    PracticeStore store(args[1]);
    QString message;
    if (!store.Open(message)) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 1;
    }
    Learner learner{notes, std::mt19937(seed)};
    // Practice days: most of the last two weeks, a session each in the evening.
    const QDateTime today(QDate::currentDate(), QTime(19, 0));
    std::vector<int> days;
    for (int day = 0; day < kDays; ++day)
        if (day % 4 != 1)
            days.push_back(day);
    for (int i = 0; i < count; ++i) {
        const int day = days[std::size_t(i) * days.size() / std::size_t(count)];
        const qint64 at = today.addDays(day - kDays + 1).toMSecsSinceEpoch() + qint64(i) * 4000;
        PracticeAnswer a = learner.Answer(pool[learner.random() % pool.size()], day, at);
        a.learnerKey = learnerKey;
        store.Record(a);
    }
    if (!store.WaitUntilWritten(60000)) {
        std::fprintf(stderr, "the answers could not be written\n");
        return 1;
    }
    std::printf("%d answers written to %s\n", count, qPrintable(args[1]));
    return 0;
}
