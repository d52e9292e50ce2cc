// A full fretboard redraw with every cell marked, at its smallest and at the size it has
// in a 1280 x 1024 window at pixel ratios 1, 1.5 and 2, and the rebuild after a key or
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

// The trainer page of a 1280 x 1024 window shows the board at 2.1 times its smallest
// (1218 x 210). The argument is the pixel ratio in tenths.
constexpr double kLargeWindowZoom = 2.1;

static void BM_FretboardRedrawLargeWindow(benchmark::State& state)
{
    App();
    const Notes notes(Instrument(), true);
    FretboardControl board;
    board.Initialise(notes, FretboardStyle::Realistic);
    board.SetZoom(kLargeWindowZoom);
    board.SetSelection(AllPatternsOfC());
    board.MarkNote(QStringLiteral("-"));
    const qreal ratio = state.range(0) / 10.0;
    QPixmap target(board.size() * ratio);
    target.setDevicePixelRatio(ratio);
    for (auto _ : state) {
        board.Refresh();
        board.render(&target);
    }
}
BENCHMARK(BM_FretboardRedrawLargeWindow)->Arg(10)->Arg(15)->Arg(20)->Unit(benchmark::kMicrosecond);

// The first redraw after the window changed size: the background is drawn anew.
static void BM_FretboardRedrawAfterResize(benchmark::State& state)
{
    App();
    const Notes notes(Instrument(), true);
    FretboardControl board;
    board.Initialise(notes, FretboardStyle::Realistic);
    board.SetSelection(AllPatternsOfC());
    board.MarkNote(QStringLiteral("-"));
    const qreal ratio = state.range(0) / 10.0;
    bool large = false;
    for (auto _ : state) {
        large = !large;
        board.SetZoom(large ? kLargeWindowZoom : kLargeWindowZoom - 0.1);
        QPixmap target(board.size() * ratio);
        target.setDevicePixelRatio(ratio);
        board.render(&target);
    }
}
BENCHMARK(BM_FretboardRedrawAfterResize)->Arg(10)->Arg(15)->Arg(20)->Unit(benchmark::kMicrosecond);

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
