#pragma once
// The staff divided into levels, one per line or space, lowest first. Each level holds
// the notes of the current key and scale written at its height, its hit box, and the
// name of the note shown there. Ledger lines per level live in ExtraLineTable.

#include "lessons/ViewInterfaces.h"
#include "views/Rect.h"

#include <memory>
#include <vector>

class SheetControl;

class sheetNoteLevel final : public SheetNoteLevelInterface {
public:
    Rect rectSheetNoteLevelBounds;
    Collection<NotePtr> collObjNotes; // flat, natural, sharp
    qint16 intSheetNoteLevel = 0;     // 1 = lowest
    QString strBaseNoteName;          // the level's letter
    QString strVisibleNoteName;       // "" when nothing is shown

    void Initialise(SheetControl* sheet, int sheetPosition, int level, const QString& baseNoteName);
    void SetScale();
    void SetNoteVisible(const QString& name, bool boolIsEchoNote);
    void SetNoteInVisible();
    bool Draw(QString& strRetMsg);
    bool ContainsNoteName(const QString& strNoteName) const;
    NotePtr GetCurrentPlayingNote() const;
    NotePtr GetFirstNote() const override;
    NotePtr GetSecondNote() const override;
    bool PlayNote(QString& strRetMsg) override;
    bool StopNote(QString& strRetMsg);
    bool IsWithinBounds(int X, int Y) const { return rectSheetNoteLevelBounds.Contains(X, Y); }
    bool IsVisible() const { return visible_; }

    QString VisibleNoteName() const override { return strVisibleNoteName; }

private:
    void FillNotes();

    SheetControl* sheet_ = nullptr;
    qint16 sheetPosition_ = 0;
    bool visible_ = false;
    bool echo_ = false;
};

// One horizontal note position on the staff, with a level per line or space.
class SheetNote {
public:
    void Initialise(SheetControl* sheet, int sheetPosition);
    void DrawAll();
    void DrawSheetNote(const QString& strSheetNoteName, bool boolIsEchoNote);
    bool IsWithinBounds(int X, int Y, sheetNoteLevel*& objSheetNoteLevel);
    void SetScale();
    qint16 GetCenterX() const;
    void HideAll();

    int Count() const { return static_cast<int>(objSheetNoteLevels.size()); }
    sheetNoteLevel& Item(int level) { return *objSheetNoteLevels.at(static_cast<size_t>(level - 1)); }

private:
    std::vector<std::unique_ptr<sheetNoteLevel>> objSheetNoteLevels; // stable: activities hold levels
    qint16 sheetPosition_ = 0;
};

// The ledger lines one staff level needs.
struct ExtraLineInfo {
    QString Key;                    // level number as text
    qint16 intFirstExtraLineTop = 0; // y of the first line; the others follow upwards
    qint16 intExtraLineWidth = 0;
    qint16 intLineAmount = 0;
    float fltLineInterDistance = 0; // staff space

    // intLinesReq > 0: lines below the staff, < 0: above it.
    void Initialise(const Rect& workarea, int intLinesReq);
};

class ExtraLineInfos : public Collection<ExtraLineInfo> {
public:
    ExtraLineInfo& Add(const QString& key, const Rect& workarea, int intLinesReq);
};

extern ExtraLineInfos ExtraLineTable;

// Refills ExtraLineTable for the current instrument and a staff work area.
void LoadExtraLinesInfoCollection(const Rect& workarea);
