#pragma once
// A host for the views under test: routes their events to a chosen activity and
// records what the main window would be told.

#include "TestSupport.h"
#include "lessons/FakeViews.h"
#include "views/ViewHost.h"

#include <vector>

// An activity that only records the events it receives and where they were made.
class RecordingLesson : public LessonInterface {
public:
    struct Event {
        qint32 code;
        int fretboardX, fretboardY, sheetX, sheetY;
    };
    std::vector<Event> events;
    QString activeName = QStringLiteral("C-2");

    QString GetVersion() const override { return QStringLiteral("1.0"); }
    bool Sequencer(qint32 intEvent, StartupFormInterface*, SheetInterface* sheet, FretboardInterface* fretboard,
                   notes&, QString&) override
    {
        events.push_back({intEvent, fretboard ? fretboard->intCurrentX : -1, fretboard ? fretboard->intCurrentY : -1,
                          sheet ? sheet->intCurrentX : -1, sheet ? sheet->intCurrentY : -1});
        return true;
    }
    NotePtr GetPlayingNote() const override { return nullptr; }
    QString GetActiveNoteName() const override { return activeName; }
    void GetTestResults(qint16& a, qint16& b, qint16& c) const override { a = b = c = 0; }
    void GenerateNextNote() override { events.push_back({-1, 0, 0, 0, 0}); }
};

class TestHost : public ViewHost {
public:
    LessonInterface* receiver = nullptr;
    LessonInterface* lesson = nullptr;
    FakeStartupForm form;
    int testClockStarts = 0;
    int ended = 0;

    LessonInterface* CurrentReceiver() override { return receiver; }
    LessonInterface* CurrentLesson() override { return lesson; }
    StartupFormInterface* StartupForm() override { return &form; }
    void StartTestClock() override { ++testClockStarts; }
    void EndProgram() override { ++ended; }
};
