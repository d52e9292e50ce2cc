#include "views/ProgressBoard.h"

#include "music/Notes.h"
#include "views/BoardPicture.h"

#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal kPreferredScale = 1.6;

// The font for a label: most of the cell's height, smaller where the cell is narrow
// (the open strings' column), so that the label never spills out of its cell.
QFont LabelFont(QFont font, const QString& label, QSize cell)
{
    font.setPixelSize(std::max(6, qRound(cell.height() * 0.72)));
    const qreal width = QFontMetricsF(font).horizontalAdvance(label);
    const qreal room = cell.width() - 2.0;
    if (width > room && room > 0)
        font.setPixelSize(std::max(6, int(font.pixelSize() * room / width)));
    return font;
}

} // namespace

ProgressBoard::ProgressBoard(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(tr("Progress on the fretboard"));
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void ProgressBoard::Initialise(const Notes& notes, FretboardStyle style)
{
    notes_ = &notes;
    style_ = style;
    picture_ = QPixmap(); // drawn again for the new instrument at the next paint
    geometry_ = BoardGeometry(QSizeF(boardSize_), notes.GetInstrument().StringCount(), style);
    updateGeometry();
    update();
}

void ProgressBoard::SetHeat(std::vector<PositionHeat> heat)
{
    heat_ = std::move(heat);
    update();
}

std::optional<PositionHeat> ProgressBoard::HeatAt(FretPosition position) const
{
    const auto found = std::find_if(heat_.begin(), heat_.end(),
                                    [&](const PositionHeat& h) { return h.position == position; });
    return found == heat_.end() ? std::nullopt : std::optional<PositionHeat>(*found);
}

QSize ProgressBoard::sizeHint() const
{
    return (QSizeF(boardSize_) * kPreferredScale).toSize();
}

QSize ProgressBoard::minimumSizeHint() const
{
    return boardSize_;
}

int ProgressBoard::heightForWidth(int width) const
{
    return boardSize_.width() > 0 ? qRound(width * qreal(boardSize_.height()) / boardSize_.width()) : 0;
}

qreal ProgressBoard::Scale() const
{
    if (boardSize_.isEmpty())
        return 1.0;
    return std::min(width() / qreal(boardSize_.width()), height() / qreal(boardSize_.height()));
}

QRectF ProgressBoard::BoardRect() const
{
    const QSizeF size = QSizeF(boardSize_) * Scale();
    return {(width() - size.width()) / 2, (height() - size.height()) / 2, size.width(), size.height()};
}

QRect ProgressBoard::CellDeviceRect(FretPosition position, qreal devicePixelRatio) const
{
    const QRectF board = BoardRect();
    const qreal k = Scale() * devicePixelRatio;
    const QRectF cell = geometry_.CellRect(position).ToRectF();
    // Whole device pixels: neighbouring cells share their edges exactly.
    const int left = qRound(board.left() * devicePixelRatio + cell.left() * k);
    const int top = qRound(board.top() * devicePixelRatio + cell.top() * k);
    const int right = qRound(board.left() * devicePixelRatio + cell.right() * k);
    const int bottom = qRound(board.top() * devicePixelRatio + cell.bottom() * k);
    return {left, top, right - left, bottom - top};
}

std::optional<FretPosition> ProgressBoard::CellAtPoint(QPointF point) const
{
    const QRectF board = BoardRect();
    const QPointF onBoard = (point - board.topLeft()) / Scale();
    return geometry_.CellAt(qRound(onBoard.x()), qRound(onBoard.y()));
}

QColor ProgressBoard::AccuracyColor(double accuracy)
{
    // Hue 0 (red) to 120 degrees (green), through amber.
    return QColor::fromHsvF(float(std::clamp(accuracy, 0.0, 1.0) / 3.0), 0.62f, 0.97f);
}

QString ProgressBoard::TimeLabel(int medianMs)
{
    return QString::number(medianMs / 1000.0, 'f', 1);
}

QString ProgressBoard::Describe(FretPosition position) const
{
    const std::optional<Note> note =
        notes_ ? notes_->GetNoteObjFromFretBoard(position.string, position.fret) : std::nullopt;
    const QString place = position.fret == 1 ? tr("string %1, open").arg(position.string)
                                             : tr("string %1, fret %2").arg(position.string).arg(position.fret - 1);
    const QString head = note ? note->name + QStringLiteral(" (") + place + QLatin1Char(')') : place;
    const std::optional<PositionHeat> heat = HeatAt(position);
    if (!heat)
        return head + QStringLiteral(": ") + tr("not answered");
    return head + QStringLiteral(": ")
        + tr("%1 answers, %2 % right, median %3 s")
              .arg(heat->count)
              .arg(qRound(heat->accuracy * 100))
              .arg(TimeLabel(heat->medianMs));
}

void ProgressBoard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Everything below is in device pixels of whatever is painted on: the screen, or an
    // image of another pixel ratio (which the device transform knows, the widget not).
    const qreal dpr = painter.deviceTransform().m11();
    painter.setWorldTransform(QTransform::fromScale(1 / dpr, 1 / dpr));
    const QRectF board = BoardRect();
    // Into its place in device pixels: the picture's own ratio would shrink it by dpr.
    const QPixmap& picture = PictureFor(board.size(), dpr);
    painter.drawPixmap(QRectF(board.topLeft() * dpr, board.size() * dpr), picture, QRectF(picture.rect()));

    QFont font = this->font();
    for (const PositionHeat& heat : heat_) {
        if (heat.position.string < 1 || heat.position.string > geometry_.StringCount() || heat.position.fret < 1
            || heat.position.fret > kFretPositions)
            continue;
        const QRect cell = CellDeviceRect(heat.position, dpr);
        // Inset so that the strings and frets of the picture show between the cells.
        const int inset = std::max(1, qRound(dpr));
        const QRect fill = cell.adjusted(inset, inset, -inset, -inset);
        const QColor colour = AccuracyColor(heat.accuracy);
        painter.fillRect(fill, colour);
        painter.setPen(colour.darker(160));
        painter.drawRect(fill.adjusted(0, 0, -1, -1));
        const QString label = TimeLabel(heat.medianMs);
        painter.setFont(LabelFont(font, label, fill.size()));
        painter.setPen(Qt::black);
        painter.drawText(fill, Qt::AlignCenter, label);
    }
}

// The board drawn for the size it is shown at, kept until the size or ratio changes.
const QPixmap& ProgressBoard::PictureFor(QSizeF size, qreal devicePixelRatio)
{
    const QSize devicePixels = (size * devicePixelRatio).toSize();
    if ((picture_.size() != devicePixels || picture_.devicePixelRatio() != devicePixelRatio) && notes_) {
        const BoardGeometry shown(size, geometry_.StringCount(), style_);
        picture_ = DrawBoardPicture(shown, LookOf(notes_->GetInstrument().Type(), style_), QTransform(),
                                    devicePixelRatio);
    }
    return picture_;
}

bool ProgressBoard::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const std::optional<FretPosition> cell = CellAtPoint(help->pos()))
            QToolTip::showText(help->globalPos(), Describe(*cell), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
