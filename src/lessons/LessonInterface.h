#pragma once
// Every activity (the numbered lessons, show me, free play) implements this. The views
// resolve a press into a fretboard cell or a staff level before any activity hears of
// it; the main window hands the activity each press and release and asks it for the
// note it prompts.

#include "core/AnswerInput.h"
#include "music/Note.h"
#include "music/PatternLayout.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class AnswerRecorder;
class StaffDisplay;
class BoardDisplay;
class ActivityHost;
class NotePlayer;
class Notes;
class TimedTest;
struct Selection;
struct Settings;

// The activities of the main window. WeakNotes is the drill that brings back the notes
// the learner misses or finds slowly.
enum class Activity { ShowMe = 0, Drill = 1, FreePlay = 2, PatternPlay = 3, WeakNotes = 4 };

// 2: a lesson with its own key and scale; 3: one on the learner's custom key and scale.
enum class LessonType { ShowMe = 0, FreePlay = 1, FixedScale = 2, CustomScale = 3 };

// Everything an activity works with, owned by the main window.
struct ActivityContext {
    const Settings* settings = nullptr;
    const Notes* notes = nullptr;
    StaffDisplay* staff = nullptr;
    BoardDisplay* board = nullptr;
    ActivityHost* host = nullptr;
    NotePlayer* player = nullptr;
    const Selection* selection = nullptr; // the trainer page's: the drill's questions
    TimedTest* test = nullptr;
    AnswerRecorder* recorder = nullptr; // where the drill's answers go; none: nowhere
    // Milliseconds on a steady clock, for response times; empty: std::chrono::steady_clock.
    std::function<qint64()> steadyClockMs;
};

// The note of a concert pitch: the table's note, or beyond the table its letter alone
// (position 0).
Note NoteOfPitch(const Notes& notes, int midi);

class LessonInterface {
public:
    virtual ~LessonInterface() = default;

    QString name;                   // e.g. "Lesson 1 - Start"
    int key = 0;                    // 1..12
    int scale = 0;                  // 1 major, 2 minor
    std::vector<int> validPatterns; // the patterns the lesson offers: 0 none, 1..5, 6 all
    int selectedPattern = 0;        // made current when the lesson is taken up
    bool hideInvalidNotes = false;  // no marker outside the visible pattern
    LessonType type = LessonType::FixedScale;

    void SetContext(const ActivityContext& context) { context_ = context; }

    virtual QString GetVersion() const { return QStringLiteral("1.0"); }
    // Starts over: the numbered lessons ask a new question. False when a note could not
    // be sounded; message says why.
    virtual bool StartOver(QString& message) = 0;
    // A press on the fretboard: the cell (none beside every cell), secondary for any
    // button but the primary one, and how it was given (a key or a played note stand for
    // a press too).
    virtual bool FretboardPressed(std::optional<FretPosition> cell, bool secondary, QString& message,
                                  AnswerInput input = AnswerInput::Mouse) = 0;
    virtual void FretboardReleased() { StopPlayingNote(); }
    // A note played on the instrument and heard through the audio input: its concert
    // pitch as a MIDI number, judged once at its onset. Ignored unless an activity
    // takes played notes.
    virtual bool NotePlayed(int midi, QString& message)
    {
        Q_UNUSED(midi) Q_UNUSED(message)
        return true;
    }
    // A press on the staff at a level (none beside every level).
    virtual bool StaffPressed(std::optional<int> level, bool secondary, QString& message) = 0;
    // The pointer moves over the staff with no button held.
    virtual bool StaffHovered(std::optional<int> level, QString& message)
    {
        Q_UNUSED(level) Q_UNUSED(message)
        return true;
    }
    virtual void StaffReleased() { StopPlayingNote(); }
    // Only the height of a staff press counts: the staff resolves it at its middle.
    virtual bool AnswersStaffByHeight() const { return false; }

    // The note prompted, or (show me, free play) the note last chosen.
    virtual QString GetActiveNoteName() const = 0;
    // The note sounding until the button is released.
    std::optional<Note> GetPlayingNote() const { return playingNote_; }
    // The learner's custom key and scale; only the custom-scale lesson uses them.
    virtual void ReInitialize(int newKey, int newScale)
    {
        Q_UNUSED(newKey) Q_UNUSED(newScale)
    }

protected:
    // Sounds note; with hold, it keeps sounding until the button is released.
    bool PlayNote(const Note& note, bool hold, QString& message);
    void StopPlayingNote();

    ActivityContext context_;
    std::optional<Note> playingNote_;
};
