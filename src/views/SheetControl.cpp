#include "views/SheetControl.h"

#include "core/Rounding.h"
#include "music/Scales.h"
#include "views/StaffPicture.h"
#include "views/PaintRatio.h"

#include <algorithm>

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr QSize kSignSize(35, 94);
constexpr int kEchoMs = 500;
constexpr int kPromptFrameMs = 350;
const QColor kEchoGrey(192, 192, 192);
// Where the prompt text and its picture sit on the staff at its smallest.
constexpr QRect kPromptTextBox(306, 172, 164, 76);
constexpr QRect kPromptPictureBox(474, 129, 106, 121);

QRect Scaled(const QRect& box, double zoom)
{
    return QRectF(box.x() * zoom, box.y() * zoom, box.width() * zoom, box.height() * zoom).toAlignedRect();
}

} // namespace

// The "listen" picture beside the prompt: its frames follow each other while shown.
class PromptPicture : public QWidget {
public:
    PromptPicture(const MusicSigns& signs, QWidget* parent)
        : QWidget(parent)
        , signs_(signs)
    {
        timer_.setInterval(kPromptFrameMs);
        connect(&timer_, &QTimer::timeout, this, [this] {
            frame_ = (frame_ + 1) % kPromptFrames;
            update();
        });
    }
    void Start()
    {
        frame_ = 0;
        timer_.start();
    }
    void Stop() { timer_.stop(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        DrawPromptFrame(painter, rect(), frame_, signs_);
    }

private:
    const MusicSigns& signs_;
    QTimer timer_;
    int frame_ = 0;
};

SheetControl::SheetControl(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(tr("Staff"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(kBaseSize);
    echoTimer_.setSingleShot(true);
    connect(&echoTimer_, &QTimer::timeout, this, &SheetControl::EndEcho);

    txtPrompt = new QLabel(this);
    txtPrompt->setObjectName(QStringLiteral("txtPrompt"));
    txtPrompt->setWordWrap(true);
    txtPrompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txtPrompt->setAttribute(Qt::WA_TransparentForMouseEvents);
    promptFont_ = txtPrompt->font();
    promptFont_.setItalic(true);
    txtPrompt->setStyleSheet(QStringLiteral("color: #1e5aaa;"));

    picPrompt = new PromptPicture(signs_, this);
    picPrompt->setObjectName(QStringLiteral("picPrompt"));
    picPrompt->setAttribute(Qt::WA_TransparentForMouseEvents);
    picPrompt->hide();
    PlacePrompt();
    UpdateAccessibleDescription();
}

void SheetControl::Initialise(const Notes& notes, QRectF workArea)
{
    notes_ = &notes;
    baseWorkArea_ = workArea;
    pictureError_.clear();
    signs_.Load(&pictureError_);
    background_ = QPixmap();
    levelNotes_.clear();
    Rebuild();
    shownLevel_.reset();
    shownName_.clear();
    echoLevel_.reset();
    echoTimer_.stop();
    wholeRange_ = false;
    UpdateAccessibleDescription();
}

double SheetControl::Zoom() const
{
    return static_cast<double>(width()) / kBaseSize.width();
}

void SheetControl::SetZoom(double zoom)
{
    setFixedSize(QSize(qRound(kBaseSize.width() * zoom), qRound(kBaseSize.height() * zoom)));
    // A hidden staff hears of its new size only when shown; its geometry must not wait.
    Rebuild();
    PlacePrompt();
}

void SheetControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Rebuild();
    PlacePrompt();
}

void SheetControl::Rebuild()
{
    if (!notes_)
        return;
    const double zoom = Zoom();
    const QRectF work(baseWorkArea_.x() * zoom, baseWorkArea_.y() * zoom, baseWorkArea_.width() * zoom,
                      baseWorkArea_.height() * zoom);
    geometry_ = StaffGeometry(FittedWorkArea(work, notes_->GetInstrument()), notes_->GetInstrument());
    if (levelNotes_.size() != static_cast<size_t>(geometry_.LevelCount()))
        levelNotes_.assign(static_cast<size_t>(geometry_.LevelCount()), {});
    update();
}

// The staff has room for seven lines and spaces below and above it, as far as the
// guitar reaches. An instrument that reaches further (a seven-string's low B) gets a
// smaller staff in the same room, so its lowest and highest notes stay in view.
QRectF SheetControl::FittedWorkArea(QRectF work, const Instrument& instrument)
{
    constexpr int kRoom = 7;
    const int below = std::max(kRoom, instrument.BottomLineLevel() - 1);
    const int above = std::max(kRoom, instrument.StaffLevelCount() - (instrument.BottomLineLevel() + 8));
    const double step = work.height() / 8;
    const double roomTop = work.top() - kRoom * step;
    const double scale = double(2 * kRoom + 8) / (below + 8 + above);
    const double fittedStep = step * scale;
    return {work.left(), roomTop + above * fittedStep, work.width(), 8 * fittedStep};
}

void SheetControl::PlacePrompt()
{
    const double zoom = Zoom();
    txtPrompt->setGeometry(Scaled(kPromptTextBox, zoom));
    QFont font = promptFont_;
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * zoom);
    else
        font.setPixelSize(qRound(font.pixelSize() * zoom));
    txtPrompt->setFont(font);
    picPrompt->setGeometry(Scaled(kPromptPictureBox, zoom));
}

void SheetControl::SetScale(int key, int scale)
{
    if (!notes_)
        return;
    levelNotes_ = NotesOnStaffLevels(*notes_, ScaleNoteNames(key, scale, notes_->Flats()));
}

std::vector<Note> SheetControl::NotesAt(int level) const
{
    if (level < 1 || level > static_cast<int>(levelNotes_.size()))
        return {};
    return levelNotes_[static_cast<size_t>(level - 1)];
}

std::optional<int> SheetControl::LevelOf(const QString& name) const
{
    for (int level = 1; level <= static_cast<int>(levelNotes_.size()); ++level)
        for (const Note& note : levelNotes_[static_cast<size_t>(level - 1)])
            if (note.name == name)
                return level;
    return std::nullopt;
}

void SheetControl::ShowNote(const QString& name, bool wholeRange)
{
    wholeRange_ = wholeRange;
    if (name.isEmpty()) {
        shownLevel_.reset();
        shownName_.clear();
        return;
    }
    // A name that no level holds leaves the staff as it was.
    if (const std::optional<int> level = LevelOf(name)) {
        shownLevel_ = level;
        shownName_ = name;
    }
}

void SheetControl::ShowEcho(const QString& name)
{
    if (const std::optional<int> level = LevelOf(name)) {
        echoLevel_ = level;
        echoTimer_.start(kEchoMs);
    }
}

void SheetControl::ClearSheet()
{
    shownLevel_.reset();
    shownName_.clear();
}

QString SheetControl::ShownNoteAt(int level) const
{
    return shownLevel_ == level ? shownName_ : QString();
}

QString SheetControl::ShownNoteName() const
{
    return shownName_;
}

std::optional<int> SheetControl::ShownLevel() const
{
    return shownLevel_;
}

void SheetControl::Refresh()
{
    update();
    SetPrompt(idlePrompt_, false);
}

void SheetControl::SetPrompt(const QString& text, bool showPicture)
{
    txtPrompt->setText(text);
    const bool picture = !text.isEmpty() && showPicture;
    picPrompt->setVisible(picture);
    if (picture)
        picPrompt->Start();
    else
        picPrompt->Stop();
    UpdateAccessibleDescription();
}

QString SheetControl::PromptText() const
{
    return txtPrompt->text();
}

bool SheetControl::IsPromptPictureShown() const
{
    return !picPrompt->isHidden();
}

void SheetControl::SetAnnouncement(const QString& text)
{
    announcement_ = text;
    UpdateAccessibleDescription();
}

SheetControl::Sign SheetControl::SignOf(const QString& name) const
{
    const bool flats = notes_ && notes_->Flats();
    if (!flats && name.contains(QLatin1Char('#')))
        return Sign::Sharp;
    if (flats && name.contains(QLatin1Char('b')))
        return Sign::Flat;
    return Sign::None;
}

int SheetControl::ShownAccidental() const
{
    if (!shownLevel_)
        return 0;
    const Sign sign = SignOf(shownName_);
    return sign == Sign::Sharp ? 1 : sign == Sign::Flat ? 2 : 0;
}

void SheetControl::EndEcho()
{
    echoTimer_.stop();
    echoLevel_.reset();
    Refresh();
}

void SheetControl::UpdateAccessibleDescription()
{
    QStringList parts{shownName_.isEmpty() ? tr("No note shown") : tr("Shows the note %1").arg(shownName_)};
    if (!txtPrompt->text().isEmpty())
        parts << txtPrompt->text();
    if (!announcement_.isEmpty())
        parts << announcement_;
    const QString description = parts.join(QLatin1Char(' '));
    if (description == accessibleDescription())
        return;
    setAccessibleDescription(description);
    emit descriptionChanged();
}

void SheetControl::DrawHead(QPainter& painter, int level, const QColor& colour, bool withSign) const
{
    const Rect& box = geometry_.LevelRect(level);
    const QPointF centre = box.Center();
    const float space = geometry_.Space();
    const double unit = space / 20.0;
    const int headWidth = RoundToInt16(1.5 * space);
    const int headHeight = RoundToInt16(space / 1.2);
    painter.setPen(QPen(colour, 2 * unit));
    for (const QLineF& line : geometry_.LedgerLines(level, static_cast<float>(centre.x())))
        painter.drawLine(line);
    painter.setPen(QPen(colour, unit));
    painter.setBrush(colour);
    painter.save();
    // A note head leans a little, as printed ones do.
    painter.translate(centre);
    painter.rotate(-20);
    painter.drawEllipse(QRectF(-headWidth / 2.0, -headHeight / 2.0, headWidth, headHeight));
    painter.restore();
    if (!withSign)
        return;
    const Sign sign = SignOf(shownName_);
    if (sign == Sign::None)
        return;
    // The sign stands just left of where a ledger line would end; the belly of the flat
    // sits on the note's line or space.
    const qreal left = centre.x() - geometry_.LedgerLineWidth() / 2.0 - kSignSize.width() * unit;
    const qreal top = sign == Sign::Flat ? centre.y() - RoundToInt16(0.75 * kSignSize.height()) * unit
                                         : centre.y() - kSignSize.height() / 2.0 * unit;
    signs_.Draw(painter, sign == Sign::Flat ? MusicSign::Flat : MusicSign::Sharp, QPointF(left, top), unit);
}

void SheetControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const qreal ratio = PaintRatio(painter);
    const BackgroundKey key{size(), ratio, notes_ && notes_->GetInstrument().UsesBassClef(), signs_.IsLoaded()};
    if (background_.isNull() || !(key == backgroundKey_)) {
        backgroundKey_ = key;
        background_ = DrawStaffPicture(size(), ratio, geometry_.WorkArea(), key.bass, signs_);
    }
    painter.drawPixmap(0, 0, background_);
    painter.setRenderHint(QPainter::Antialiasing);
    if (geometry_.LevelCount() == 0)
        return;
    const double unit = geometry_.Space() / 20.0;
    if (wholeRange_) {
        painter.setPen(QPen(Qt::black, 2 * unit));
        const auto centreX = static_cast<float>(geometry_.LevelRect(1).Center().x());
        for (int level : {1, geometry_.LevelCount()})
            for (const QLineF& line : geometry_.LedgerLines(level, centreX))
                painter.drawLine(line);
    }
    if (echoLevel_)
        DrawHead(painter, *echoLevel_, kEchoGrey, false);
    if (shownLevel_)
        DrawHead(painter, *shownLevel_, Qt::black, true);
    if (hasFocus()) {
        // The note column, from the highest level to the lowest, framed as the focus.
        const double half = geometry_.LedgerLineWidth() / 2.0 + 6 * unit;
        const double x = geometry_.LevelRect(1).Center().x();
        const QRectF column(QPointF(x - half, geometry_.LevelRect(geometry_.LevelCount()).Top() - 4 * unit),
                            QPointF(x + half, geometry_.LevelRect(1).Bottom() + 4 * unit));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0, 0, 0, 200), 4 * unit));
        painter.drawRoundedRect(column, 6 * unit, 6 * unit);
        painter.setPen(QPen(QColor(255, 190, 0), 2 * unit));
        painter.drawRoundedRect(column, 6 * unit, 6 * unit);
    }
}

std::optional<int> SheetControl::LevelUnder(QPointF position) const
{
    const int y = RoundToInt16(position.y());
    return byHeight_ ? geometry_.LevelAtHeight(y) : geometry_.LevelAt(RoundToInt16(position.x()), y);
}

void SheetControl::mousePressEvent(QMouseEvent* event)
{
    emit levelPressed(LevelUnder(event->position()), event->button() == Qt::RightButton);
}

void SheetControl::mouseMoveEvent(QMouseEvent* event)
{
    // Only a free hover counts: while a button is held the sounding note must stay the
    // activity's, or the release would silence another one.
    if (event->buttons() == Qt::NoButton)
        emit levelHovered(LevelUnder(event->position()));
}

void SheetControl::mouseReleaseEvent(QMouseEvent*)
{
    emit released();
}

void SheetControl::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool answerKey = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    if (!answerKey || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Enter presses the level of the shown note: assistance in the drill, the prompt's
    // sound in ear training.
    if (!event->isAutoRepeat() && heldKey_ == 0) {
        heldKey_ = key;
        emit levelPressed(shownLevel_, event->modifiers().testFlag(Qt::ShiftModifier));
    }
}

void SheetControl::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat() && event->key() == heldKey_) {
        ReleaseKey();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void SheetControl::ReleaseKey()
{
    heldKey_ = 0;
    emit released();
}

void SheetControl::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void SheetControl::focusOutEvent(QFocusEvent* event)
{
    if (heldKey_ != 0)
        ReleaseKey();
    QWidget::focusOutEvent(event);
    update();
}
