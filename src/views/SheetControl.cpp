#include "views/SheetControl.h"

#include "core/Messages.h"
#include "core/Paths.h"
#include "core/Rounding.h"
#include "core/Selection.h"
#include "core/Settings.h"
#include "lessons/LessonGeneral.h"
#include "music/Notes.h"
#include "views/Pictures.h"

#include <QLabel>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>

namespace {

constexpr QSize kFallbackSheetSize(580, 250);
constexpr QSize kSignSize(35, 94);
const QColor kEchoGrey(192, 192, 192);

} // namespace

SheetControl::SheetControl(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(tr("Staff"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    EchoTimer.setSingleShot(true);
    connect(&EchoTimer, &QTimer::timeout, this, &SheetControl::EndEcho);

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
}

SheetControl::~SheetControl() = default;

void SheetControl::SetLocation()
{
    setFixedSize(picture_.isNull() ? kFallbackSheetSize : picture_.deviceIndependentSize().toSize());
}

void SheetControl::Initialise(const Rect& workareaBounds, FretboardInterface* fretboard, int prevNoteEchoDuration)
{
    PrevNoteEchoDuration = static_cast<qint16>(prevNoteEchoDuration);
    pictureError_.clear();
    const qreal dpr = devicePixelRatioF();
    picture_ = LoadPicture(GuitarType == 0 ? QStringLiteral("Sheet.jpg") : QStringLiteral("SheetBass.jpg"), dpr,
                           kFallbackSheetSize, &pictureError_);
    QString signError;
    sharp_ = LoadPicture(QStringLiteral("Sharp.png"), dpr, kSignSize, &signError);
    flat_ = LoadPicture(QStringLiteral("Flat.png"), dpr, kSignSize, &signError);
    if (pictureError_.isEmpty())
        pictureError_ = signError;
    SetLocation();

    intScale = 1;
    strKey = QStringLiteral("C");
    rectWorkareaBounds = workareaBounds;
    fretboard_ = fretboard;
    rectSheetBounds.Create1(0, 0, static_cast<float>(width()), static_cast<float>(height()));
    LoadExtraLinesInfoCollection(rectWorkareaBounds);

    const float space = rectWorkareaBounds.floatHeight / 4;
    fltDistBetweenLines = space;
    intNoteWidthInPixels = RoundToInt16(1.5 * space);
    intNoteHeightInPixels = RoundToInt16(space / 1.2);
    intFlatSymbolTopOffsetInPixels = RoundToInt16(0.75 * kSignSize.height());

    heads_.clear();
    echo_.reset();
    EchoTimer.stop();
    objSheetNotes.clear();
    auto note = std::make_unique<SheetNote>();
    note->Initialise(this, 1);
    objSheetNotes.push_back(std::move(note));
    UpdateAccessibleDescription();
}

bool SheetControl::NeedsLedgerLines(int level) const
{
    switch (GuitarType) {
    case 0:
        return level < 7 || level >= 18;
    case 1:
        return level < 2 || level >= 13;
    case 2:
        return level < 5 || level >= 16;
    default:
        return false;
    }
}

std::vector<QLineF> SheetControl::LedgerLinesFor(int level, float centreX) const
{
    std::vector<QLineF> lines;
    const ExtraLineInfo* info = ExtraLineTable.Find(QString::number(level));
    if (!info)
        return lines;
    const int xStart = RoundToInt16(centreX - info->intExtraLineWidth / 2.0);
    for (int j = 0; j < info->intLineAmount; ++j) {
        const int y = RoundToInt16(info->intFirstExtraLineTop - j * info->fltLineInterDistance);
        lines.emplace_back(xStart, y, xStart + info->intExtraLineWidth, y);
    }
    return lines;
}

SheetControl::HeadMark SheetControl::MarkFor(const sheetNoteLevel& level, bool withSign) const
{
    const Rect& box = level.rectSheetNoteLevelBounds;
    const float centreX = box.floatCenterX;
    const float centreY = box.floatCenterY;
    HeadMark mark;
    mark.name = level.strVisibleNoteName;
    mark.head = QRectF(centreX - intNoteWidthInPixels / 2.0, centreY - intNoteHeightInPixels / 2.0,
                       intNoteWidthInPixels, intNoteHeightInPixels);
    if (withSign) {
        const QString& name = level.strVisibleNoteName;
        if (!FlatSymbolPref && name.contains(QLatin1Char('#')))
            mark.sign = Sign::Sharp;
        else if (FlatSymbolPref && name.contains(QLatin1Char('b')))
            mark.sign = Sign::Flat;
        const float lineWidth = ExtraLineTable.Count() > 0 ? ExtraLineTable.Item(1).intExtraLineWidth : 0;
        const float left = centreX - lineWidth / 2 - kSignSize.width();
        const float top = mark.sign == Sign::Flat ? centreY - intFlatSymbolTopOffsetInPixels
                                                  : centreY - kSignSize.height() / 2.0f;
        mark.signTopLeft = QPointF(left, top);
    }
    if (NeedsLedgerLines(level.intSheetNoteLevel))
        mark.ledgerLines = LedgerLinesFor(level.intSheetNoteLevel, centreX);
    return mark;
}

void SheetControl::LowlevelDraw(sheetNoteLevel& level, bool boolIsEchoNote)
{
    if (boolIsEchoNote) {
        // The echo shows once, in grey, until the timer takes it away.
        echo_ = MarkFor(level, false);
        level.SetNoteInVisible();
        EchoTimer.start(PrevNoteEchoDuration);
        return;
    }
    heads_.push_back(MarkFor(level, true));
}

void SheetControl::DrawAllExtraLines(int intSheetNoteNum)
{
    rangeLines_.clear();
    if (objSheetNotes.empty())
        return;
    const float centreX = Note(intSheetNoteNum).GetCenterX();
    const int top = GetNotes().GetSheetNoteLevelAmount();
    for (int level : {1, top})
        for (const QLineF& line : LedgerLinesFor(level, centreX))
            rangeLines_.push_back(line);
}

void SheetControl::SetScale(qint16& scale, QString& key)
{
    GetNotes().SetScale(scale, key);
    for (auto& note : objSheetNotes)
        note->SetScale();
}

void SheetControl::DrawSheetNote(int intNoteNum, const QString& name, bool boolEcho)
{
    DrawSheetNote(intNoteNum, name, false, boolEcho);
}

void SheetControl::DrawSheetNote(int intNoteNum, const QString& name, bool drawAllLines, bool boolEcho)
{
    drawAllLines_ = drawAllLines;
    if (intNoteNum < 1 || intNoteNum > static_cast<int>(objSheetNotes.size()))
        return;
    if (name.isEmpty())
        Note(intNoteNum).HideAll();
    else
        Note(intNoteNum).DrawSheetNote(name, boolEcho);
}

int SheetControl::GetCenterX(int intSheetNoteNum) const
{
    if (intSheetNoteNum < 1 || intSheetNoteNum > static_cast<int>(objSheetNotes.size()))
        return 0;
    return objSheetNotes[static_cast<size_t>(intSheetNoteNum - 1)]->GetCenterX();
}

bool SheetControl::IsWithinBounds(int X, int Y, sheetNoteLevel*& objSheetNoteLevel)
{
    return !objSheetNotes.empty() && Note(1).IsWithinBounds(X, Y, objSheetNoteLevel);
}

bool SheetControl::IsWithinBounds(int X, int Y, SheetNoteLevelInterface*& objSheetNoteLevel)
{
    sheetNoteLevel* level = nullptr;
    if (!IsWithinBounds(X, Y, level))
        return false;
    objSheetNoteLevel = level;
    return true;
}

void SheetControl::DrawAll()
{
    rangeLines_.clear();
    if (drawAllLines_)
        DrawAllExtraLines(1);
    heads_.clear();
    for (auto& note : objSheetNotes)
        note->DrawAll();
    UpdateAccessibleDescription();
}

void SheetControl::RefreshDisplay()
{
    DrawAll();
    update();
    SetPrompt(PlayNoteOnPrompt ? GetPromptText() : QString(), false);
}

void SheetControl::ClearSheet()
{
    // Offering the empty name changes nothing; the activities clear the staff with
    // DrawSheetNote(1, "") when they mean it.
    for (auto& note : objSheetNotes)
        note->DrawSheetNote(QString(), false);
}

void SheetControl::SetPrompt(const QString& strMsg, bool boolShowPic)
{
    txtPrompt->setText(strMsg);
    const bool showPicture = !strMsg.isEmpty() && boolShowPic;
    picPrompt->setVisible(showPicture);
    if (showPicture)
        promptMovie_->start();
    else
        promptMovie_->stop();
}

QString SheetControl::ShownNoteName() const
{
    return heads_.empty() ? QString() : heads_.front().name;
}

int SheetControl::ShownAccidental() const
{
    if (heads_.empty())
        return 0;
    return heads_.front().sign == Sign::Sharp ? 1 : heads_.front().sign == Sign::Flat ? 2 : 0;
}

QString SheetControl::PromptText() const
{
    return txtPrompt->text();
}

bool SheetControl::IsPromptPictureShown() const
{
    return !picPrompt->isHidden();
}

void SheetControl::EndEcho()
{
    EchoTimer.stop();
    echo_.reset();
    RefreshDisplay();
}

void SheetControl::UpdateAccessibleDescription()
{
    const QString shown = ShownNoteName();
    setAccessibleDescription(shown.isEmpty() ? tr("No note shown") : tr("Shows the note %1").arg(shown));
}

void SheetControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture_.isNull())
        painter.fillRect(rect(), Qt::white); // before the first Initialise
    painter.drawPixmap(0, 0, picture_);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto drawMark = [&](const HeadMark& mark, QColor colour) {
        painter.setPen(QPen(colour, 2));
        for (const QLineF& line : mark.ledgerLines)
            painter.drawLine(line);
        painter.setPen(QPen(colour, 1));
        painter.setBrush(colour);
        painter.save();
        // A note head leans a little, as printed ones do.
        painter.translate(mark.head.center());
        painter.rotate(-20);
        painter.drawEllipse(QRectF(-mark.head.width() / 2, -mark.head.height() / 2, mark.head.width(),
                                   mark.head.height()));
        painter.restore();
        if (mark.sign == Sign::Sharp)
            painter.drawPixmap(mark.signTopLeft, sharp_);
        else if (mark.sign == Sign::Flat)
            painter.drawPixmap(mark.signTopLeft, flat_);
    };
    painter.setPen(QPen(Qt::black, 2));
    for (const QLineF& line : rangeLines_)
        painter.drawLine(line);
    if (echo_)
        drawMark(*echo_, kEchoGrey);
    for (const HeadMark& mark : heads_)
        drawMark(mark, Qt::black);
}

LessonInterface* SheetControl::Receiver() const
{
    if (!host_ || CurrActivity == ActivityPatternPlay)
        return nullptr;
    return host_->CurrentReceiver();
}

void SheetControl::Send(qint32 intEvent)
{
    LessonInterface* receiver = Receiver();
    if (!receiver)
        return;
    QString strRetMsg;
    if (!receiver->Sequencer(intEvent, host_->StartupForm(), this, fretboard_, GetNotes(), strRetMsg))
        ShowMessage(strRetMsg, MsgPlain);
    else if ((CurrActivity == ActivityFreePlay || CurrActivity == ActivityShowMe) && host_->StartupForm())
        host_->StartupForm()->SetStatusPanelText(QStringLiteral("Note"), receiver->GetActiveNoteName());
}

void SheetControl::mousePressEvent(QMouseEvent* event)
{
    if (!Receiver())
        return;
    // A right click asks for the level's second note in show me and in free play, so
    // both notes of a level can be reached; the drill has no use for it.
    const bool secondNote = (CurrActivity == ActivityShowMe || CurrActivity == ActivityFreePlay)
        && event->button() == Qt::RightButton;
    intCurrentX = RoundToInt16(event->position().x());
    intCurrentY = RoundToInt16(event->position().y());
    Send(secondNote ? EventSheetRightClick : EventSheetClick);
}

void SheetControl::mouseMoveEvent(QMouseEvent* event)
{
    // Only a free hover names notes: while a button is held the note that sounds must
    // stay the activity's playing note, or the release would silence another one.
    if (CurrActivity != ActivityFreePlay || event->buttons() != Qt::NoButton || !Receiver())
        return;
    intCurrentX = RoundToInt16(event->position().x());
    intCurrentY = RoundToInt16(event->position().y());
    Send(EventSheetMouseMove);
}

void SheetControl::mouseReleaseEvent(QMouseEvent*)
{
    LessonInterface* receiver = Receiver();
    if (!receiver)
        return;
    if (const NotePtr note = receiver->GetPlayingNote()) {
        QString ignored;
        note->StopSound(ignored);
    }
}
