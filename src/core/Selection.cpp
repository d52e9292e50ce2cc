#include "core/Selection.h"

qint32 CurrActivity = ActivityDrill;
qint32 TestState = TestNone;
bool NextNotePending = false;
qint16 PrevNoteEchoDuration = 0;
qint32 CurrKey = 0;
QString CurrKeyName;
qint16 CurrScale = 0;
qint16 CurrPattern = 0;
bool HidePattern = false;
bool HideInvalidNotes = false;
bool ScaleRebuildPending = false;
Collection<QString> VisiblePatterns;
qint32 SavedKey = 0;
qint16 SavedScale = 0;
qint16 SavedPattern = 0;
bool SavedHidePattern = false;
Collection<VisiblePatNote> VisiblePatNotes;

void ResetSelection()
{
    CurrActivity = ActivityDrill;
    TestState = TestNone;
    NextNotePending = false;
    PrevNoteEchoDuration = 0;
    CurrKey = 0;
    CurrKeyName.clear();
    CurrScale = 0;
    CurrPattern = 0;
    HidePattern = false;
    HideInvalidNotes = false;
    ScaleRebuildPending = false;
    VisiblePatterns.Clear();
    SavedKey = 0;
    SavedScale = 0;
    SavedPattern = 0;
    SavedHidePattern = false;
    VisiblePatNotes.Clear();
}

VisiblePatNote& AddVisiblePatNote(const QString& strNoteName)
{
    const QString key = QString::number(VisiblePatNotes.Count());
    VisiblePatNotes.Add({key, strNoteName}, key);
    return VisiblePatNotes.Item(VisiblePatNotes.Count());
}
