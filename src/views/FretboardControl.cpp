#include "views/FretboardControl.h"

#include "core/Messages.h"
#include "core/Rounding.h"
#include "views/FretboardAccessible.h"
#include "views/PaintRatio.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

size_t IndexOf(FretPosition cell)
{
    return static_cast<size_t>((cell.string - 1) * kFretPositions + cell.fret - 1);
}

bool IsAnswerKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

} // namespace

FretboardControl::FretboardControl(QWidget* parent)
    : QWidget(parent)
{
    InstallFretboardAccessibility();
    setAccessibleName(tr("Fretboard"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(kBoardBaseSize);
    Rebuild();
}

void FretboardControl::Initialise(const Notes& notes, FretboardStyle style)
{
    notes_ = &notes;
    style_ = style;
    const Instrument& instrument = notes.GetInstrument();
    marked_.assign(static_cast<size_t>(instrument.StringCount() * kFretPositions), false);
    layout_ = PatternLayout(instrument, selection_);
    Rebuild();
    SetCursor(cursor_);
}

void FretboardControl::Rebuild()
{
    const int strings = notes_ ? notes_->GetInstrument().StringCount() : 6;
    const int before = geometry_.StringCount();
    geometry_ = BoardGeometry(QSizeF(size()), strings, style_);
    view_ = BoardView(QSizeF(size()), leftHanded_, lowestOnTop_);
    if (before != strings) {
        QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&reset);
    }
    update();
}

void FretboardControl::SetZoom(double zoom)
{
    setFixedSize(QSize(qRound(kBoardBaseSize.width() * zoom), qRound(kBoardBaseSize.height() * zoom)));
    // A hidden board hears of its new size only when shown; its geometry must not wait.
    Rebuild();
}

void FretboardControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Rebuild();
}

void FretboardControl::SetOrientation(bool leftHanded, bool lowestOnTop)
{
    if (leftHanded == leftHanded_ && lowestOnTop == lowestOnTop_)
        return;
    leftHanded_ = leftHanded;
    lowestOnTop_ = lowestOnTop;
    Rebuild();
}

void FretboardControl::SetNoteNamesSpoken(bool spoken)
{
    namesSpoken_ = spoken;
}

void FretboardControl::SetSelection(const Selection& selection)
{
    selection_ = selection;
    layout_ = PatternLayout(notes_ ? notes_->GetInstrument() : Instrument(), selection_);
    update();
}

void FretboardControl::Refresh()
{
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
            if (IndexOf({s, f}) < marked_.size())
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

QPointF FretboardControl::CellCentre(FretPosition cell) const
{
    return view_.map(geometry_.CellRect(cell).Center());
}

QRectF FretboardControl::CellBox(FretPosition cell) const
{
    return view_.mapRect(geometry_.CellRect(cell).ToRectF());
}

std::optional<FretPosition> FretboardControl::CellAtPoint(QPointF point) const
{
    const QPointF board = view_.inverted().map(point);
    return geometry_.CellAt(RoundToInt16(board.x()), RoundToInt16(board.y()));
}

QString FretboardControl::CellName(FretPosition cell) const
{
    const QString fret = cell.fret == 1 ? tr("open") : tr("fret %1").arg(cell.fret - 1);
    QString name = tr("string %1, %2").arg(PlayerString(cell.string)).arg(fret);
    if (namesSpoken_) {
        const QString note = NoteNameAt(cell);
        if (!note.isEmpty())
            name += QStringLiteral(", ") + note;
    }
    return name;
}

void FretboardControl::UpdateBackground(qreal devicePixelRatio)
{
    const BackgroundKey key{size(),
                            devicePixelRatio,
                            LookOf(notes_ ? notes_->GetInstrument().Type() : InstrumentType::Guitar, style_),
                            StringCount(),
                            style_,
                            view_};
    if (key == backgroundKey_ && !background_.isNull())
        return;
    backgroundKey_ = key;
    background_ = DrawBoardPicture(geometry_, key.look, view_, devicePixelRatio);
}

void FretboardControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    UpdateBackground(PaintRatio(painter));
    painter.drawPixmap(0, 0, background_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    const double unit = geometry_.Unit();
    for (int s = 1; s <= StringCount(); ++s) {
        for (int f = 1; f <= kFretPositions; ++f) {
            const Marker marker = MarkerAt({s, f});
            if (!marker.drawn)
                continue;
            // Prompted and in the pattern: a blue disc with a red ring. Outlines are
            // filled discs, not stroked: stroking costs most of a large board's redraw.
            const QPointF centre = CellCentre({s, f});
            const auto disc = [&](const QColor& colour, double radius) {
                painter.setBrush(colour);
                painter.drawEllipse(centre, radius, radius);
            };
            if (marker.marked && marker.patternNote) {
                disc(red, marker.radius + unit);
                disc(blue, marker.radius - unit);
            } else {
                disc(marker.patternNote ? blue : red, marker.radius + unit / 2);
            }
        }
    }
    if (hasFocus()) {
        // The cursor: a bright ring with a dark edge, plain on wood and on paper alike.
        const double width = 2 * unit;
        // Kept inside the board, or the ring of a cell at either end would be cut off.
        const QRectF inside = QRectF(rect()).adjusted(width, width, -width, -width);
        const QRectF box = CellBox(cursor_).adjusted(-2 * unit, -1 * unit, 2 * unit, 1 * unit).intersected(inside);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0, 0, 0, 200), width + 2 * unit));
        painter.drawRoundedRect(box, 3 * unit, 3 * unit);
        painter.setPen(QPen(QColor(255, 190, 0), width));
        painter.drawRoundedRect(box, 3 * unit, 3 * unit);
    }
}

void FretboardControl::mousePressEvent(QMouseEvent* event)
{
    const std::optional<FretPosition> cell = CellAtPoint(event->position());
    if (cell)
        SetCursor(*cell);
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

void FretboardControl::SetCursor(FretPosition cell)
{
    cell.string = std::clamp(cell.string, 1, std::max(1, StringCount()));
    cell.fret = std::clamp(cell.fret, 1, kFretPositions);
    const bool moved = !(cell == cursor_);
    cursor_ = cell;
    if (moved || hasFocus())
        update();
    if (moved)
        NotifyCursor();
}

void FretboardControl::NotifyCursor()
{
    if (!hasFocus())
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(FretboardChildIndex(*this, cursor_));
    QAccessible::updateAccessibility(&focus);
}

bool FretboardControl::MoveCursor(int key)
{
    // Arrows move on the screen, whichever way the board is turned.
    const int towardsRight = leftHanded_ ? -1 : 1;
    const int upwards = lowestOnTop_ ? -1 : 1;
    FretPosition next = cursor_;
    switch (key) {
    case Qt::Key_Left:
        next.fret -= towardsRight;
        break;
    case Qt::Key_Right:
        next.fret += towardsRight;
        break;
    case Qt::Key_Up:
        next.string += upwards;
        break;
    case Qt::Key_Down:
        next.string -= upwards;
        break;
    case Qt::Key_Home:
        next.fret = 1;
        break;
    case Qt::Key_End:
        next.fret = kFretPositions;
        break;
    default:
        if (key >= Qt::Key_1 && key < Qt::Key_1 + StringCount())
            next.string = PlayerString(key - Qt::Key_1 + 1);
        else
            return false;
    }
    SetCursor(next);
    return true;
}

void FretboardControl::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (IsAnswerKey(key) && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (!event->isAutoRepeat() && heldKey_ == 0) {
            heldKey_ = key;
            PressByKey(event->modifiers().testFlag(Qt::ShiftModifier));
        }
        return;
    }
    if ((event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) || !MoveCursor(key))
        QWidget::keyPressEvent(event);
}

void FretboardControl::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat() && event->key() == heldKey_) {
        ReleaseKey();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void FretboardControl::PressByKey(bool secondary)
{
    emit cellPressed(cursor_, secondary);
}

void FretboardControl::ActivateCell(FretPosition cell, bool secondary)
{
    SetCursor(cell);
    PressByKey(secondary);
    ReleaseKey();
}

void FretboardControl::ReleaseKey()
{
    heldKey_ = 0;
    emit released();
}

void FretboardControl::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
    NotifyCursor();
}

void FretboardControl::focusOutEvent(QFocusEvent* event)
{
    // A key held while the focus leaves is never released here: end its note now.
    if (heldKey_ != 0)
        ReleaseKey();
    QWidget::focusOutEvent(event);
    update();
}
