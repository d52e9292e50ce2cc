#pragma once
// Stand-ins for the staff, the fretboard, the main window and the sound that record
// what an activity asks of them, so the activities are tested without widgets.

#include "core/NotePlayer.h"
#include "lessons/ActivityViews.h"
#include "music/Notes.h"
#include "music/Scales.h"

#include <QStringList>

#include <map>
#include <vector>

class FakeStaff : public StaffDisplay {
public:
    // The staff's levels hold the scale notes of key and scale on table's instrument.
    void SetScale(const Notes& table, int key, int scale)
    {
        levels_ = NotesOnStaffLevels(table, ScaleNoteNames(key, scale, table.Flats()));
    }
    void ShowNote(const QString& name, bool wholeRange) override
    {
        this->wholeRange = wholeRange;
        shown = name;
        if (!name.isEmpty())
            drawn << name;
    }
    void ShowEcho(const QString& name) override { echoes << name; }
    void SetPrompt(const QString& text, bool showPicture) override
    {
        prompt = text;
        promptPicture = showPicture;
    }
    void Refresh() override {}
    QString ShownNoteAt(int level) const override
    {
        for (const Note& note : NotesAt(level))
            if (note.name == shown)
                return shown;
        return QString();
    }
    std::vector<Note> NotesAt(int level) const override
    {
        return level >= 1 && level <= static_cast<int>(levels_.size()) ? levels_[static_cast<size_t>(level - 1)]
                                                                        : std::vector<Note>{};
    }
    // The level that holds name, 0 when none does.
    int LevelOf(const QString& name) const
    {
        for (int level = 1; level <= static_cast<int>(levels_.size()); ++level)
            for (const Note& note : levels_[static_cast<size_t>(level - 1)])
                if (note.name == name)
                    return level;
        return 0;
    }

    QString shown;
    QStringList drawn;
    QStringList echoes;
    QString prompt;
    bool promptPicture = false;
    bool wholeRange = false;

private:
    std::vector<std::vector<Note>> levels_;
};

class FakeBoard : public BoardDisplay {
public:
    void MarkNote(const QString& name) override { marks << name; }
    void Refresh() override {}
    QString lastMark() const { return marks.isEmpty() ? QStringLiteral("<none>") : marks.last(); }

    QStringList marks;
};

class FakeHost : public ActivityHost {
public:
    void SetNotePanel(const QString& text) override { notePanel = text; }
    void StartNoteTimeout(const Note& note) override { timeouts.push_back(note); }
    void Beep() override { ++beeps; }

    QString notePanel;
    std::vector<Note> timeouts;
    int beeps = 0;
};

// Keeps every note on and off; failError makes the next calls fail.
class RecordingPlayer : public NotePlayer {
public:
    struct Event {
        bool on;
        int midi;
        bool operator==(const Event&) const = default;
    };
    bool NoteOn(int midi, QString& message) override { return Record(true, midi, message); }
    bool NoteOff(int midi, QString& message) override { return Record(false, midi, message); }

    std::vector<Event> events;
    QString failError;

private:
    bool Record(bool on, int midi, QString& message)
    {
        if (!failError.isEmpty()) {
            message = failError;
            return false;
        }
        events.push_back({on, midi});
        return true;
    }
};
