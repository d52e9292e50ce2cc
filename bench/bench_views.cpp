// A full fretboard redraw with every cell marked, and the rebuild after a key or
// scale change (pattern membership, highlights and the drill's questions) on the guitar.
#include "core/Selection.h"
#include "music/Notes.h"
#include "music/PatternLayout.h"
#include "views/FretboardControl.h"

#include <QApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "fretlore_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

Selection AllPatternsOfC()
{
    Selection selection;
    selection.key = 4;
    selection.scale = 1;
    selection.ShowOnly(6);
    return selection;
}

} // namespace

static void BM_FretboardFullRedraw(benchmark::State& state)
{
    App();
    const Notes notes(Instrument(), true);
    FretboardControl board;
    board.Initialise(notes, FretboardStyle::Realistic);
    board.SetSelection(AllPatternsOfC());
    board.MarkNote(QStringLiteral("-")); // every name holds "-": every cell is marked
    QPixmap target(board.size());
    for (auto _ : state) {
        board.Refresh();
        board.render(&target);
    }
}
BENCHMARK(BM_FretboardFullRedraw)->Unit(benchmark::kMicrosecond);

static void BM_FretboardSetScale(benchmark::State& state)
{
    App();
    const Notes notes(Instrument(), true);
    FretboardControl board;
    board.Initialise(notes, FretboardStyle::Realistic);
    const Selection selection = AllPatternsOfC();
    for (auto _ : state) {
        board.SetSelection(selection);
        benchmark::DoNotOptimize(QuestionPool(notes.GetInstrument(), selection).size());
    }
}
BENCHMARK(BM_FretboardSetScale)->Unit(benchmark::kMicrosecond);
