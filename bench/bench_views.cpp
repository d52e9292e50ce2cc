// A full fretboard redraw with every cell marked, and the rebuild after a key or
// scale change (pattern membership, highlights and the drill pool) on the guitar.
#include "core/Selection.h"
#include "core/Settings.h"
#include "music/Notes.h"
#include "music/ScalePatterns.h"
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

void PrepareGuitar(FretboardControl& board)
{
    App();
    GuitarType = 0;
    FretboardStyle = 0;
    FlatSymbolPref = true;
    BluesNotesOnly = false;
    GetNotes().Initialize();
    CurrKey = 4;
    CurrScale = 1;
    CurrKeyName = QStringLiteral("C");
    CurrPattern = 6;
    VisiblePatterns.Clear();
    VisiblePatterns.Add(QStringLiteral("6"));
    GetNotes().SetScale(CurrScale, CurrKeyName);
    board.Initialise();
}

} // namespace

static void BM_FretboardFullRedraw(benchmark::State& state)
{
    App();
    FretboardControl board;
    PrepareGuitar(board);
    for (int s = 1; s <= board.StringCount(); ++s)
        for (int f = 1; f <= 14; ++f)
            board.String(s).Item(f).SetNoteVisible(true);
    QPixmap target(board.size());
    for (auto _ : state) {
        board.RefreshDisplay();
        board.render(&target);
    }
}
BENCHMARK(BM_FretboardFullRedraw)->Unit(benchmark::kMicrosecond);

static void BM_FretboardSetScale(benchmark::State& state)
{
    App();
    FretboardControl board;
    PrepareGuitar(board);
    for (auto _ : state) {
        GetNotes().SetScale(CurrScale, CurrKeyName);
        board.SetScale();
        benchmark::DoNotOptimize(VisiblePatNotes.Count());
    }
}
BENCHMARK(BM_FretboardSetScale)->Unit(benchmark::kMicrosecond);
