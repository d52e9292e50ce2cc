#include "views/FretboardControl.h"

#include "core/Messages.h"
#include "core/Rounding.h"
#include "core/Selection.h"
#include "core/Settings.h"
#include "music/Notes.h"
#include "music/ScalePatterns.h"
#include "views/Pictures.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr QSize kFallbackBoardSize(580, 100);

QString PictureForCurrentBoard()
{
    switch (GuitarType) {
    case 0:
        return FretboardStyle == 0 ? QStringLiteral("Fretboard.gif") : QStringLiteral("FretboardSimple.jpg");
    case 1:
        return QStringLiteral("FretboardSimpleBass.jpg");
    default:
        return QStringLiteral("FretboardSimpleBassFive.jpg");
    }
}

float MarkerRadius(const Rect& rect)
{
    switch (GuitarType) {
    case 0:
        return FretboardStyle == 0 ? rect.floatHeight / 2 : rect.floatHeight / 2.5f;
    case 1:
        return rect.floatHeight / 4;
    case 2:
        return rect.floatHeight / 3;
    default:
        return 0;
    }
}

} // namespace

FretboardControl::FretboardControl(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(tr("Fretboard"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

FretboardControl::~FretboardControl() = default;

void FretboardControl::SetLocation()
{
    pictureError_.clear();
    picture_ = LoadPicture(PictureForCurrentBoard(), devicePixelRatioF(), kFallbackBoardSize, &pictureError_);
    setFixedSize(picture_.deviceIndependentSize().toSize());
}

Rect FretboardControl::GetBounds() const
{
    const QSize size = picture_.isNull() ? kFallbackBoardSize : picture_.deviceIndependentSize().toSize();
    Rect bounds;
    bounds.Create1(0, 0, static_cast<float>(size.width()), static_cast<float>(size.height()));
    return bounds;
}

void FretboardControl::Initialise(SheetInterface* objSheet)
{
    if (objSheet)
        objSheet_ = objSheet;
    strings_.clear();
    SetLocation();
    const int stringCount = GetNotes().GetStringAmount();
    for (int stringNum = 1; stringNum <= stringCount; ++stringNum) {
        auto string = std::make_unique<FretString>();
        string->Initialise(this, stringNum);
        strings_.push_back(std::move(string));
    }
    SetScale();
}

bool FretboardControl::IsWithinBounds(bool boolRightButtonClicked, int X, int Y, FretNote*& objFretNote)
{
    for (auto& string : strings_)
        if (string->IsWithinBounds(boolRightButtonClicked, X, Y, objFretNote))
            return true;
    return false;
}

bool FretboardControl::IsWithinBounds(bool boolRightButtonClicked, int X, int Y, FretNoteInterface*& objFretNote)
{
    FretNote* cell = nullptr;
    if (!IsWithinBounds(boolRightButtonClicked, X, Y, cell))
        return false;
    objFretNote = cell;
    return true;
}

void FretboardControl::LowlevelDraw(const FretNote& objFretNote, const Rect& rectFretBounds)
{
    if (!painter_)
        return;
    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    const bool toBeDrawn = objFretNote.boolIsNoteToBeDrawn;
    const bool patternNote = objFretNote.boolIsNoteHilitedPatternNote;
    if (HidePattern && patternNote && !toBeDrawn)
        return;
    QPen pen(red, 1);
    QBrush fill(red);
    if (toBeDrawn && patternNote) {
        pen = QPen(red, 2);
        fill = QBrush(blue);
    } else if (patternNote) {
        pen = QPen(blue, 1);
        fill = QBrush(blue);
    }
    const float radius = MarkerRadius(rectFretBounds);
    if (radius <= 0)
        return;
    painter_->setPen(pen);
    painter_->setBrush(fill);
    const QPointF centre(rectFretBounds.intTopLeftX + rectFretBounds.floatWidth / 2,
                         rectFretBounds.intTopLeftY + rectFretBounds.floatHeight / 2);
    painter_->drawEllipse(centre, radius, radius);
}

void FretboardControl::DrawAll()
{
    for (auto& string : strings_)
        string->DrawAll();
    HilitePatternFretNotes();
}

void FretboardControl::DrawFretNote(const QString& strFretNoteName, bool boolFilterPatterns)
{
    for (auto& string : strings_)
        string->DrawFretNote(strFretNoteName, boolFilterPatterns);
}

void FretboardControl::HilitePatternFretNotes()
{
    if (strings_.empty())
        return;
    for (auto& string : strings_)
        string->HilitePatternFretNotes();
    ApplyPatternWrapRule();
}

bool FretboardControl::AnyStringHasColumnInPattern(int column) const
{
    for (const auto& string : strings_)
        if (column <= string->Count() && string->IsFretInPattern(column, CurrPattern))
            return true;
    return false;
}

// A pattern repeats every 12 columns, so near either end of the board it shows twice:
// keep the copy that joins the pattern's middle columns and clear the other.
void FretboardControl::ApplyPatternWrapRule()
{
    if (CurrPattern == 0)
        return;
    const Pattern* pattern = ScalePatterns.Find(QString::number(CurrPattern));
    if (!pattern || pattern->strName == QLatin1String("All Patterns"))
        return;
    const int last = FretWidths.Count();
    if (!AnyStringHasColumnInPattern(last - 1) && !AnyStringHasColumnInPattern(last))
        return;
    int midCount = 0;
    for (int column = last - 5; column <= last - 2; ++column)
        if (strings_.front()->IsFretInPattern(column, CurrPattern))
            ++midCount;
    const int first = midCount > 0 ? 1 : last - 2;
    for (auto& string : strings_)
        for (int column = first; column <= first + 2; ++column)
            string->Item(column).UnHilitePatternFretNote();
}

void FretboardControl::RefreshDisplay()
{
    update();
}

void FretboardControl::UpdateFretboardStyle()
{
    SetLocation();
}

void FretboardControl::SetScale()
{
    for (auto& string : strings_)
        string->SetScale();
    HilitePatternFretNotes();
    BuildVisiblePatternNotesColl(CurrPattern);
}

void FretboardControl::ClearFretboard()
{
    for (auto& string : strings_)
        string->DrawFretNote(QString(), false);
}

bool FretboardControl::PatternContainsAndIsVisible(const QString& strNoteName, int intPatternNum) const
{
    if (intPatternNum == 0)
        return true;
    for (const auto& string : strings_)
        if (string->PatternContainsAndIsVisible(strNoteName, intPatternNum))
            return true;
    return false;
}

void FretboardControl::BuildVisiblePatternNotesColl(int intPatternNum)
{
    VisiblePatNotes.Clear();
    for (auto& string : strings_) {
        for (int column = 1; column <= string->Count(); ++column) {
            const bool qualifies = CurrPattern != 0 ? string->IsFretInPatternAndVisible(column, intPatternNum)
                                                    : string->IsFretInPattern(column, intPatternNum);
            if (qualifies)
                AddVisiblePatNote(string->Item(column).GetNoteName());
        }
    }
}

QSize FretboardControl::sizeHint() const
{
    return GetBounds().floatWidth > 0 ? QSize(static_cast<int>(GetBounds().floatWidth),
                                              static_cast<int>(GetBounds().floatHeight))
                                      : kFallbackBoardSize;
}

void FretboardControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture_.isNull())
        painter.fillRect(rect(), palette().window()); // before the first Initialise
    painter.drawPixmap(0, 0, picture_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter_ = &painter;
    DrawAll();
    painter_ = nullptr;
}

void FretboardControl::mousePressEvent(QMouseEvent* event)
{
    boolRightButtonClicked = event->button() != Qt::LeftButton;
    LessonInterface* receiver = host_ ? host_->CurrentReceiver() : nullptr;
    if (CurrActivity == ActivityPatternPlay || !receiver)
        return;
    if (CurrActivity == ActivityDrill && TestState == TestArmed)
        host_->StartTestClock();
    intCurrentX = RoundToInt16(event->position().x());
    intCurrentY = RoundToInt16(event->position().y());
    QString strRetMsg;
    if (!receiver->Sequencer(EventFretboardClick, host_->StartupForm(), objSheet_, this, GetNotes(), strRetMsg))
        ShowMessage(strRetMsg, MsgPlain);
    else if ((CurrActivity == ActivityFreePlay || CurrActivity == ActivityShowMe) && host_->StartupForm())
        host_->StartupForm()->SetStatusPanelText(QStringLiteral("Note"), receiver->GetActiveNoteName());
}

void FretboardControl::mouseReleaseEvent(QMouseEvent*)
{
    LessonInterface* receiver = host_ ? host_->CurrentReceiver() : nullptr;
    if (CurrActivity == ActivityPatternPlay || !receiver)
        return;
    if (CurrActivity == ActivityDrill && PlayNoteOnPrompt && NextNotePending) {
        NextNotePending = false;
        receiver->GenerateNextNote();
    }
    if (const NotePtr note = receiver->GetPlayingNote()) {
        QString ignored;
        note->StopSound(ignored);
    }
}

void FretboardControl::mouseDoubleClickEvent(QMouseEvent*)
{
    ShowMessage(tr("Double-click detected. Please set your mouse to use a faster double-click action for "
                   "triggering, if this is a problem for you."),
                MsgPlain);
}
