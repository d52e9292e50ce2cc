#pragma once
// Stand-ins for the fretboard, staff and main window that record what an activity
// asks of them.

#include "lessons/ViewInterfaces.h"
#include "music/NoteTimeout.h"
#include "music/Notes.h"

#include <QStringList>

#include <map>
#include <memory>
#include <utility>

class FakeFretNote : public FretNoteInterface {
public:
    FakeFretNote(notes& table, int string, int fret) : table_(table), string_(string), fret_(fret) {}
    QString GetNoteName() const override
    {
        const NotePtr note = ThisNote();
        return note ? note->strNoteName : QString();
    }
    NotePtr ThisNote() const override { return table_.GetNoteObjFromFretBoard(string_, fret_); }
    bool PlayNote(QString& strRetMsg) override
    {
        const NotePtr note = ThisNote();
        return note && note->PlaySound(strRetMsg);
    }
    int string() const { return string_; }
    int fret() const { return fret_; }

private:
    notes& table_;
    int string_;
    int fret_;
};

// A board whose cell (string s, fret f) lies at x = f * 10, y = s * 10.
class FakeFretboard : public FretboardInterface {
public:
    explicit FakeFretboard(notes& table) : table_(table) {}

    bool IsWithinBounds(bool right, int X, int Y, FretNoteInterface*& cell) override
    {
        if (X % 10 != 0 || Y % 10 != 0 || X < 10 || X > 140 || Y < 10 || Y > table_.GetStringAmount() * 10)
            return false;
        const int string = Y / 10;
        cell = &Cell(string, right ? 1 : X / 10);
        return true;
    }
    void DrawFretNote(const QString& name, bool) override { marks.push_back(name); }
    void RefreshDisplay() override { ++refreshes; }

    void Press(int string, int fret, bool right = false)
    {
        intCurrentX = fret * 10;
        intCurrentY = string * 10;
        boolRightButtonClicked = right;
    }
    void PressBeside()
    {
        intCurrentX = 5;
        intCurrentY = 5;
        boolRightButtonClicked = false;
    }
    FakeFretNote& Cell(int string, int fret)
    {
        auto& slot = cells_[{string, fret}];
        if (!slot)
            slot = std::make_unique<FakeFretNote>(table_, string, fret);
        return *slot;
    }

    QStringList marks;
    int refreshes = 0;

private:
    notes& table_;
    std::map<std::pair<int, int>, std::unique_ptr<FakeFretNote>> cells_;
};

class FakeLevel : public SheetNoteLevelInterface {
public:
    QString name;
    NotePtr first;
    NotePtr second;
    QString VisibleNoteName() const override { return name; }
    NotePtr GetFirstNote() const override { return first; }
    NotePtr GetSecondNote() const override { return second ? second : first; }
    bool PlayNote(QString& strRetMsg) override
    {
        const NotePtr shown = first && first->strNoteName == name ? first : second;
        return !shown || shown->PlaySound(strRetMsg);
    }
};

// A staff with one level at y = 50 showing levelName.
class FakeSheet : public SheetInterface {
public:
    bool IsWithinBounds(int, int Y, SheetNoteLevelInterface*& level) override
    {
        if (Y != 50)
            return false;
        level = &level_;
        return true;
    }
    void DrawSheetNote(int, const QString& name, bool echo) override
    {
        if (echo)
            echoes.push_back(name);
        else
            drawn.push_back(name);
    }
    void DrawSheetNote(int note, const QString& name, bool drawAllLines, bool echo) override
    {
        allLines = drawAllLines;
        DrawSheetNote(note, name, echo);
    }
    void DrawAllExtraLines(int) override { ++rangeLineDraws; }
    int GetCenterX(int) const override { return 270; }
    void SetPrompt(const QString& msg, bool showPic) override
    {
        prompt = msg;
        promptPicture = showPic;
    }
    void RefreshDisplay() override { ++refreshes; }

    void PressLevel(const QString& name)
    {
        level_.name = name;
        intCurrentY = 50;
    }
    void PressBeside() { intCurrentY = 0; }
    QString shown() const { return drawn.isEmpty() ? QString() : drawn.last(); }

    QStringList drawn;
    QStringList echoes;
    QString prompt;
    bool promptPicture = false;
    bool allLines = false;
    int rangeLineDraws = 0;
    int refreshes = 0;

private:
    FakeLevel level_;
};

class FakeStartupForm : public StartupFormInterface {
public:
    void SetStatusPanelText(const QString& key, const QString& text) override { panels[key] = text; }
    void StartNoteTimeout(NotePtr note) override
    {
        timeouts.push_back(note);
        if (noteTimeout)
            noteTimeout->StartNoteTimeout(std::move(note));
    }
    void Beep() override { ++beeps; }

    std::map<QString, QString> panels;
    std::vector<NotePtr> timeouts;
    NoteTimeout* noteTimeout = nullptr; // the real one, for a test of its note-offs
    int beeps = 0;
};
