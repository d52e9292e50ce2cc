#pragma once
// A drill on a guitar in C major with fake views, a recording player, a timed test
// whose scores go to a temporary file, a recorder that keeps the answers and a clock
// the test moves.

#include "doubles/FakeRecorder.h"
#include "doubles/FakeViews.h"
#include "doubles/MessageRecorder.h"

#include "core/Selection.h"
#include "core/Settings.h"
#include "lessons/DrillLesson.h"
#include "lessons/TimedTest.h"
#include "records/DbaseItems.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>

constexpr FretPosition kA1{1, 6}; // string 1, fret 5: "A-1"
constexpr FretPosition kC1{2, 4}; // string 2, fret 3: "C-1"

// Asks the scripted cells first, then draws as the drill does.
class ScriptedDrill : public DrillLesson {
public:
    std::deque<FretPosition> script;

protected:
    std::optional<FretPosition> PickQuestion(const std::vector<FretPosition>& pool) override
    {
        if (script.empty())
            return DrillLesson::PickQuestion(pool);
        const FretPosition next = script.front();
        script.pop_front();
        return next;
    }
};

class DrillFixture : public ::testing::Test {
protected:
    DrillFixture()
    {
        settings = Settings::Defaults();
        settings.playNoteOnPrompt = false;
        selection.key = 4;
        selection.scale = ScaleMajor;
        selection.ShowOnly(kAllPatterns);
        staff.SetScale(notes, 4, ScaleMajor);
        context = Context();
        context.selection = &selection;
        context.test = &test;
        context.recorder = &kept;
        drill.SetContext(context);
        DrillLesson::Random().seed(1234);
        QString ignored;
        scores.GetDataFromFile(ignored);
    }

    // What every activity gets: the settings, the note table and the fakes.
    ActivityContext Context()
    {
        ActivityContext context;
        context.settings = &settings;
        context.notes = &notes;
        context.staff = &staff;
        context.board = &board;
        context.host = &host;
        context.player = &player;
        context.steadyClockMs = [this] { return clockMs; };
        return context;
    }
    // Arms a timed test for learner 1, answering its question with OK.
    void ArmTest()
    {
        settings.currLearnerKey = 1;
        recorder.answers = {MsgOk};
        test.ArmTest();
    }

    // The first cell that sounds name, or (right false) the first that does not.
    FretPosition CellOf(const QString& name, bool right = true) const
    {
        for (int s = 1; s <= 6; ++s)
            for (int f = 1; f <= 14; ++f)
                if ((notes.GetNoteObjFromFretBoard(s, f)->name == name) == right)
                    return {s, f};
        ADD_FAILURE() << "no cell for " << name.toStdString();
        return {1, 1};
    }
    bool Press(FretPosition cell, bool secondary = false)
    {
        message.clear();
        const bool ok = drill.FretboardPressed(cell, secondary, message);
        drill.FretboardReleased();
        return ok;
    }
    bool Answer(bool right) { return Press(CellOf(drill.GetActiveNoteName(), right)); }
    void Prompt(FretPosition cell)
    {
        drill.script.push_back(cell);
        drill.StartOver(message);
    }
    int MidiOf(const char* name) const { return notes.GetNoteObject(QString::fromLatin1(name))->midi; }

    QTemporaryDir folder;
    Settings settings;
    Notes notes{Instrument(), true};
    Selection selection;
    FakeStaff staff;
    FakeBoard board;
    FakeHost host;
    RecordingPlayer player;
    DbaseItems scores{folder.filePath(QStringLiteral("Score.dat"))};
    TimedTest test{settings, scores};
    MessageRecorder recorder;
    FakeRecorder kept;
    qint64 clockMs = 1000;
    ActivityContext context;
    ScriptedDrill drill;
    QString message;
};
