#include "views/FretboardControl.h"

#include "core/Messages.h"
#include "core/Rounding.h"
#include "views/Pictures.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr QSize kFallbackBoardSize(580, 100);

size_t IndexOf(FretPosition cell)
{
    return static_cast<size_t>((cell.string - 1) * kFretPositions + cell.fret - 1);
}

} // namespace

FretboardControl::FretboardControl(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(tr("Fretboard"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kFallbackBoardSize);
}

void FretboardControl::Initialise(const Notes& notes, FretboardStyle style)
{
    notes_ = &notes;
    style_ = style;
    const Instrument& instrument = notes.GetInstrument();
    pictureError_.clear();
    picture_ = LoadPicture(BoardPictureName(instrument.Type(), style), devicePixelRatioF(), kFallbackBoardSize,
                           &pictureError_);
    const QSize size = picture_.deviceIndependentSize().toSize();
    setFixedSize(size);
    geometry_ = BoardGeometry(QSizeF(size), instrument.StringCount(), style);
    marked_.assign(static_cast<size_t>(instrument.StringCount() * kFretPositions), false);
    layout_ = PatternLayout(instrument, selection_);
    update();
}

void FretboardControl::SetSelection(const Selection& selection)
{
    selection_ = selection;
    layout_ = PatternLayout(notes_ ? notes_->GetInstrument() : Instrument(), selection_);
    update();
}

QString FretboardControl::NoteNameAt(FretPosition cell) const
{
    if (!notes_)
        return QString();
    const std::optional<Note> note = notes_->GetNoteObjFromFretBoard(cell.string, cell.fret);
    return note ? note->name : QString();
}

void FretboardControl::MarkNote(const QString& name)
{
    for (int s = 1; s <= StringCount(); ++s)
        for (int f = 1; f <= kFretPositions; ++f)
            marked_[IndexOf({s, f})] = !name.isEmpty() && NoteNameAt({s, f}).contains(name);
}

bool FretboardControl::IsMarked(FretPosition cell) const
{
    const size_t index = IndexOf(cell);
    return index < marked_.size() && marked_[index];
}

float FretboardControl::MarkerRadius(const Rect& cell) const
{
    switch (notes_ ? notes_->GetInstrument().Type() : InstrumentType::Guitar) {
    case InstrumentType::Guitar:
        return style_ == FretboardStyle::Realistic ? cell.Height() / 2 : cell.Height() / 2.5f;
    case InstrumentType::FourStringBass:
        return cell.Height() / 4;
    case InstrumentType::FiveStringBass:
        return cell.Height() / 3;
    }
    return 0;
}

FretboardControl::Marker FretboardControl::MarkerAt(FretPosition cell) const
{
    Marker marker;
    marker.marked = IsMarked(cell);
    marker.patternNote = layout_.IsHighlighted(cell);
    if (!marker.marked && !marker.patternNote)
        return marker;
    if (selection_.hideInvalidNotes && !layout_.PatternContainsAndIsVisible(cell, selection_.pattern))
        return marker;
    if (selection_.hidePattern && marker.patternNote && !marker.marked)
        return marker;
    marker.radius = MarkerRadius(geometry_.CellRect(cell));
    marker.drawn = marker.radius > 0;
    return marker;
}

void FretboardControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture_.isNull())
        painter.fillRect(rect(), palette().window()); // before the first Initialise
    painter.drawPixmap(0, 0, picture_);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    for (int s = 1; s <= StringCount(); ++s) {
        for (int f = 1; f <= kFretPositions; ++f) {
            const Marker marker = MarkerAt({s, f});
            if (!marker.drawn)
                continue;
            // Prompted and in the pattern: a blue disc with a red ring.
            const bool both = marker.marked && marker.patternNote;
            painter.setPen(QPen(marker.patternNote && !both ? blue : red, both ? 2 : 1));
            painter.setBrush(marker.patternNote ? blue : red);
            painter.drawEllipse(geometry_.CellRect({s, f}).Center(), marker.radius, marker.radius);
        }
    }
}

void FretboardControl::mousePressEvent(QMouseEvent* event)
{
    const std::optional<FretPosition> cell =
        geometry_.CellAt(RoundToInt16(event->position().x()), RoundToInt16(event->position().y()));
    emit cellPressed(cell, event->button() != Qt::LeftButton);
}

void FretboardControl::mouseReleaseEvent(QMouseEvent*)
{
    emit released();
}

void FretboardControl::mouseDoubleClickEvent(QMouseEvent*)
{
    ShowMessage(tr("Double-click detected. Please set your mouse to use a faster double-click action for "
                   "triggering, if this is a problem for you."),
                MsgPlain);
}
