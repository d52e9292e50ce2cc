#include "music/Notes.h"

#include "core/NoteNames.h"

#include <algorithm>

Notes::Notes(Instrument instrument, bool flats)
    : instrument_(std::move(instrument))
    , flats_(flats)
{
    notes_.reserve(kNoteTableSize);
    for (int position = 1; position <= kNoteTableSize; ++position)
        notes_.push_back({NoteNameAt(position, flats), instrument_.MidiNumber(position), position});
}

std::optional<Note> Notes::GetNoteObject(const QString& name) const
{
    const auto found = std::find_if(notes_.begin(), notes_.end(), [&](const Note& note) { return note.name == name; });
    if (found == notes_.end())
        return std::nullopt;
    return *found;
}

std::optional<Note> Notes::GetNoteObject(int position) const
{
    if (position < 1 || position > static_cast<int>(notes_.size()))
        return std::nullopt;
    return notes_[static_cast<size_t>(position - 1)];
}

std::optional<Note> Notes::GetNoteObjFromFretBoard(int stringNum, int fretNum) const
{
    return GetNoteObject(instrument_.PositionAt(stringNum, fretNum));
}
