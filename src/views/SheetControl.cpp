#include "views/SheetControl.h"

#include "core/Paths.h"
#include "core/Rounding.h"
#include "music/Scales.h"
#include "views/Pictures.h"

#include <QLabel>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>

namespace {

constexpr QSize kFallbackSheetSize(580, 250);
constexpr QSize kSignSize(35, 94);
constexpr int kEchoMs = 500;
const QColor kEchoGrey(192, 192, 192);

} // namespace

SheetControl::SheetControl(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(tr("Staff"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFixedSize(kFallbackSheetSize);
    echoTimer_.setSingleShot(true);
    connect(&echoTimer_, &QTimer::timeout, this, &SheetControl::EndEcho);

    txtPrompt = new QLabel(this);
    txtPrompt->setObjectName(QStringLiteral("txtPrompt"));
    txtPrompt->setWordWrap(true);
    txtPrompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txtPrompt->setGeometry(306, 172, 164, 76);
    txtPrompt->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont promptFont = txtPrompt->font();
    promptFont.setItalic(true);
    txtPrompt->setFont(promptFont);
    txtPrompt->setStyleSheet(QStringLiteral("color: #1e5aaa;"));

    picPrompt = new QLabel(this);
    picPrompt->setObjectName(QStringLiteral("picPrompt"));
    picPrompt->setGeometry(474, 129, 106, 121);
    picPrompt->setAttribute(Qt::WA_TransparentForMouseEvents);
    promptMovie_ = new QMovie(ProgramDataPath(QStringLiteral("Images/Prompt.gif")), QByteArray(), this);
    picPrompt->setMovie(promptMovie_);
    picPrompt->setScaledContents(true);
    picPrompt->hide();
    UpdateAccessibleDescription();
}

void SheetControl::Initialise(const Notes& notes, QRectF workArea)
{
    notes_ = &notes;
    const Instrument& instrument = notes.GetInstrument();
    pictureError_.clear();
    const qreal dpr = devicePixelRatioF();
    picture_ = LoadPicture(instrument.UsesBassClef() ? QStringLiteral("SheetBass.jpg") : QStringLiteral("Sheet.jpg"),
                           dpr, kFallbackSheetSize, &pictureError_);
    QString signError;
    sharp_ = LoadPicture(QStringLiteral("Sharp.png"), dpr, kSignSize, &signError);
    flat_ = LoadPicture(QStringLiteral("Flat.png"), dpr, kSignSize, &signError);
    if (pictureError_.isEmpty())
        pictureError_ = signError;
    setFixedSize(picture_.deviceIndependentSize().toSize());

    geometry_ = StaffGeometry(workArea, instrument);
    levelNotes_.assign(static_cast<size_t>(geometry_.LevelCount()), {});
    shownLevel_.reset();
    shownName_.clear();
    echoLevel_.reset();
    echoTimer_.stop();
    wholeRange_ = false;
    UpdateAccessibleDescription();
    update();
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
    UpdateAccessibleDescription();
    update();
    SetPrompt(idlePrompt_, false);
}

void SheetControl::SetPrompt(const QString& text, bool showPicture)
{
    txtPrompt->setText(text);
    const bool picture = !text.isEmpty() && showPicture;
    picPrompt->setVisible(picture);
    if (picture)
        promptMovie_->start();
    else
        promptMovie_->stop();
}

QString SheetControl::PromptText() const
{
    return txtPrompt->text();
}

bool SheetControl::IsPromptPictureShown() const
{
    return !picPrompt->isHidden();
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
    setAccessibleDescription(shownName_.isEmpty() ? tr("No note shown") : tr("Shows the note %1").arg(shownName_));
}

void SheetControl::DrawHead(QPainter& painter, int level, const QColor& colour, bool withSign) const
{
    const Rect& box = geometry_.LevelRect(level);
    const QPointF centre = box.Center();
    const float space = geometry_.Space();
    const int headWidth = RoundToInt16(1.5 * space);
    const int headHeight = RoundToInt16(space / 1.2);
    painter.setPen(QPen(colour, 2));
    for (const QLineF& line : geometry_.LedgerLines(level, static_cast<float>(centre.x())))
        painter.drawLine(line);
    painter.setPen(QPen(colour, 1));
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
    const qreal left = centre.x() - geometry_.LedgerLineWidth() / 2.0 - kSignSize.width();
    const qreal top = sign == Sign::Flat ? centre.y() - RoundToInt16(0.75 * kSignSize.height())
                                         : centre.y() - kSignSize.height() / 2.0;
    painter.drawPixmap(QPointF(left, top), sign == Sign::Flat ? flat_ : sharp_);
}

void SheetControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture_.isNull())
        painter.fillRect(rect(), Qt::white); // before the first Initialise
    painter.drawPixmap(0, 0, picture_);
    painter.setRenderHint(QPainter::Antialiasing);
    if (geometry_.LevelCount() == 0)
        return;
    if (wholeRange_) {
        painter.setPen(QPen(Qt::black, 2));
        const auto centreX = static_cast<float>(geometry_.LevelRect(1).Center().x());
        for (int level : {1, geometry_.LevelCount()})
            for (const QLineF& line : geometry_.LedgerLines(level, centreX))
                painter.drawLine(line);
    }
    if (echoLevel_)
        DrawHead(painter, *echoLevel_, kEchoGrey, false);
    if (shownLevel_)
        DrawHead(painter, *shownLevel_, Qt::black, true);
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
