#include "views/TrainerControl.h"

#include "core/Messages.h"
#include "core/Rounding.h"
#include "core/Selection.h"
#include "core/Settings.h"
#include "music/Notes.h"
#include "music/ScalePatterns.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

TrainerControl::TrainerControl(QWidget* parent)
    : QWidget(parent)
{
    objSheet = new SheetControl(this);
    objFretboard = new FretboardControl(this);

    chkHidePattern = new QCheckBox(tr("Hide pattern"), this);
    chkHidePattern->setObjectName(QStringLiteral("chkHidePattern"));
    chkBluesNotesOnly = new QCheckBox(tr("Pentatonic notes only"), this);
    chkBluesNotesOnly->setObjectName(QStringLiteral("chkBluesNotesOnly"));
    connect(chkHidePattern, &QCheckBox::toggled, this, &TrainerControl::OnHidePatternToggled);
    connect(chkBluesNotesOnly, &QCheckBox::toggled, this, &TrainerControl::OnBluesNotesOnlyToggled);

    frmScrollPattern = new QFrame(this);
    frmScrollPattern->setObjectName(QStringLiteral("frmScrollPattern"));
    auto* row = new QHBoxLayout(frmScrollPattern);
    row->setContentsMargins(6, 2, 6, 2);
    lblPattern_ = new QLabel(tr("Pattern number:"), frmScrollPattern);
    boxCurrPattern = new QLineEdit(frmScrollPattern);
    boxCurrPattern->setObjectName(QStringLiteral("boxCurrPattern"));
    boxCurrPattern->setReadOnly(true);
    boxCurrPattern->setFixedWidth(36);
    boxCurrPattern->setAlignment(Qt::AlignCenter);
    scrollPattern = new QScrollBar(Qt::Vertical, frmScrollPattern);
    scrollPattern->setObjectName(QStringLiteral("scrollPattern"));
    scrollPattern->setFixedSize(18, 44);
    scrollPattern->setPageStep(1);
    scrollPattern->setToolTip(tr("Up for the next pattern, down for the previous one"));
    row->addStretch();
    row->addWidget(lblPattern_);
    row->addWidget(boxCurrPattern);
    row->addWidget(scrollPattern);
    row->addStretch();
    frmScrollPattern->adjustSize();
    connect(scrollPattern, &QScrollBar::valueChanged, this, &TrainerControl::OnPatternScrolled);
}

void TrainerControl::SetHost(ViewHost* host)
{
    host_ = host;
    objSheet->SetHost(host);
    objFretboard->SetHost(host);
}

Rect TrainerControl::StaffWorkarea()
{
    Rect work;
    work.Create1(60, 80, 420, 80);
    return work;
}

void TrainerControl::SetLocation(int intWidth, int intHeight)
{
    resize(intWidth, intHeight);
    objFretboard->SetLocation();
    objSheet->SetLocation();
    const int sheetLeft = (intWidth - objSheet->width()) / 2;
    const int boardLeft = (intWidth - objFretboard->width()) / 2;
    const int sheetTop = intHeight / 3 - objSheet->height() / 2;
    const int boardTop = intHeight * 3 / 4 - objFretboard->height() / 2;
    objSheet->move(sheetLeft, sheetTop);
    objFretboard->move(boardLeft, boardTop);

    // The switches sit on the staff's upper edge, just above it where there is room,
    // so they never cover the highest notes.
    chkHidePattern->adjustSize();
    chkBluesNotesOnly->adjustSize();
    const int switchTop = std::max(0, sheetTop - chkHidePattern->height());
    chkHidePattern->move(sheetLeft, switchTop);
    chkBluesNotesOnly->move(sheetLeft + chkHidePattern->width() + 12, switchTop);

    const int boardBottom = boardTop + objFretboard->height();
    const int frameHeight = frmScrollPattern->sizeHint().height();
    frmScrollPattern->setGeometry(boardLeft, (intHeight - boardBottom - frameHeight) / 2 + boardBottom,
                                  objFretboard->width(), frameHeight);
    ShowPatternSelection();
}

void TrainerControl::ShowPatternSelection()
{
    // Keeping the selector in step with the current pattern is not a user's choice.
    const QSignalBlocker blocker(scrollPattern);
    scrollPattern->setRange(0, patternsPerScale_);
    scrollPattern->setValue(patternsPerScale_ - CurrPattern);
    boxCurrPattern->setText(QString::number(CurrPattern));
}

bool TrainerControl::SendStartOver(LessonInterface* receiver)
{
    QString strRetMsg;
    if (receiver->Sequencer(EventStartOver, host_->StartupForm(), objSheet, objFretboard, GetNotes(), strRetMsg))
        return true;
    ShowMessage(strRetMsg, MsgPlain);
    host_->EndProgram();
    return false;
}

void TrainerControl::Initialise()
{
    objFretboard->Initialise(objSheet);
    objSheet->Initialise(StaffWorkarea(), objFretboard, 500);
    // The views carry on with blank pictures; tell the user which file is missing.
    for (const QString& error : {objFretboard->PictureError(), objSheet->PictureError()})
        if (!error.isEmpty())
            ShowMessage(error + QLatin1Char(' ') + tr("Please re-install the application."), MsgPlain);
    if (!host_ || !host_->CurrentLesson()) {
        ShowMessage(tr("There is a problem loading the current lesson. Please re-install the application."), MsgPlain);
        if (host_)
            host_->EndProgram();
        return;
    }
    objSheet->SetScale(CurrScale, CurrKeyName);
    objFretboard->SetScale();
    if (CurrActivity != ActivityPatternPlay)
        if (LessonInterface* receiver = host_->CurrentReceiver(); receiver && !SendStartOver(receiver))
            return;
    chkHidePattern->setChecked(HidePattern);
    patternsPerScale_ = RoundToInt16(ScalePatterns.Count() / 2.0);
    chkBluesNotesOnly->setChecked(BluesNotesOnly);
    ShowPatternSelection();
}

void TrainerControl::RequestRepaint()
{
    if (ScaleRebuildPending) {
        ScaleRebuildPending = false;
        GetNotes().SetScale(CurrScale, CurrKeyName);
        objSheet->SetScale(CurrScale, CurrKeyName);
        objFretboard->SetScale();
        Reset();
    }
    chkBluesNotesOnly->setChecked(BluesNotesOnly);
    objSheet->RefreshDisplay();
    objFretboard->RefreshDisplay();
    ShowPatternSelection();
    if (host_)
        host_->GenerateStartupFormName();
}

void TrainerControl::Reset()
{
    if (!host_ || CurrActivity == ActivityPatternPlay)
        return;
    if (LessonInterface* receiver = host_->CurrentReceiver())
        SendStartOver(receiver);
}

void TrainerControl::ClearFretboard()
{
    objFretboard->ClearFretboard();
}

void TrainerControl::ClearSheet()
{
    objSheet->ClearSheet();
}

void TrainerControl::DrawAllSheetExtraLines()
{
    objSheet->DrawAllExtraLines(1);
}

void TrainerControl::GetTestResults(qint16& testNoteCount, qint16& correctTestNoteCount, qint16& testNoteAssistCount)
{
    if (LessonInterface* lesson = host_ ? host_->CurrentLesson() : nullptr)
        lesson->GetTestResults(testNoteCount, correctTestNoteCount, testNoteAssistCount);
}

void TrainerControl::ReInitializeFretboard()
{
    objFretboard->UpdateFretboardStyle();
    objFretboard->Initialise();
}

void TrainerControl::ReInitializeSheet()
{
    objSheet->Initialise(StaffWorkarea(), objFretboard, 500);
}

void TrainerControl::SetPrompt(const QString& strMsg, bool boolShowPic)
{
    objSheet->SetPrompt(strMsg, boolShowPic);
}

void TrainerControl::OnHidePatternToggled(bool checked)
{
    HidePattern = checked;
    ClearFretboard();
    RequestRepaint();
}

void TrainerControl::OnBluesNotesOnlyToggled(bool checked)
{
    BluesNotesOnly = checked;
    ScaleRebuildPending = true;
    ClearFretboard();
    RequestRepaint();
}

void TrainerControl::OnPatternScrolled(int value)
{
    // The selector wraps round: past the top comes pattern 1, past the bottom pattern 5.
    if (value == scrollPattern->minimum()) {
        scrollPattern->setValue(scrollPattern->maximum() - 1);
        return;
    }
    if (value == patternsPerScale_) {
        scrollPattern->setValue(scrollPattern->minimum() + 1);
        return;
    }
    const int pattern = patternsPerScale_ - value;
    boxCurrPattern->setText(QString::number(pattern));
    VisiblePatterns.Clear();
    VisiblePatterns.Add(QString::number(pattern));
    CurrPattern = static_cast<qint16>(pattern);
    ScaleRebuildPending = true;
    RequestRepaint();
}
