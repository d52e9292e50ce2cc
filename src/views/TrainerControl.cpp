#include "views/TrainerControl.h"

#include "core/Messages.h"
#include "core/Settings.h"
#include "lessons/ActivitySwitcher.h"
#include "lessons/DrillLesson.h"

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
    objSheet->setObjectName(QStringLiteral("objSheet"));
    objFretboard = new FretboardControl(this);
    objFretboard->setObjectName(QStringLiteral("objFretboard"));

    chkHidePattern = new QCheckBox(tr("Hide pattern"), this);
    chkHidePattern->setObjectName(QStringLiteral("chkHidePattern"));
    chkBluesNotesOnly = new QCheckBox(tr("Pentatonic notes only"), this);
    chkBluesNotesOnly->setObjectName(QStringLiteral("chkBluesNotesOnly"));
    connect(chkHidePattern, &QCheckBox::toggled, this, &TrainerControl::OnHidePatternToggled);
    connect(chkBluesNotesOnly, &QCheckBox::toggled, this, &TrainerControl::OnPentatonicToggled);

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
    scrollPattern->setRange(0, kPatternsPerScale);
    scrollPattern->setToolTip(tr("Up for the next pattern, down for the previous one"));
    row->addStretch();
    row->addWidget(lblPattern_);
    row->addWidget(boxCurrPattern);
    row->addWidget(scrollPattern);
    row->addStretch();
    frmScrollPattern->adjustSize();
    connect(scrollPattern, &QScrollBar::valueChanged, this, &TrainerControl::OnPatternScrolled);
}

void TrainerControl::SetContext(Settings& settings, ActivitySwitcher& switcher)
{
    settings_ = &settings;
    switcher_ = &switcher;
    ConnectViews();
}

void TrainerControl::ConnectViews()
{
    connect(objFretboard, &FretboardControl::cellPressed, switcher_, &ActivitySwitcher::FretboardPressed);
    connect(objFretboard, &FretboardControl::released, switcher_, &ActivitySwitcher::FretboardReleased);
    connect(objSheet, &SheetControl::levelPressed, this, [this](std::optional<int> level, bool secondary) {
        // Show me and free play take only the height of a press.
        const LessonInterface* receiver = switcher_->CurrentReceiver();
        objSheet->SetLevelsByHeight(receiver && receiver->AnswersStaffByHeight());
        switcher_->StaffPressed(level, secondary);
    });
    connect(objSheet, &SheetControl::levelHovered, switcher_, &ActivitySwitcher::StaffHovered);
    connect(objSheet, &SheetControl::released, switcher_, &ActivitySwitcher::StaffReleased);
}

void TrainerControl::SetLocation(int width, int height)
{
    resize(width, height);
    const int sheetLeft = (width - objSheet->width()) / 2;
    const int boardLeft = (width - objFretboard->width()) / 2;
    const int sheetTop = height / 3 - objSheet->height() / 2;
    const int boardTop = height * 3 / 4 - objFretboard->height() / 2;
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
    frmScrollPattern->setGeometry(boardLeft, (height - boardBottom - frameHeight) / 2 + boardBottom,
                                  objFretboard->width(), frameHeight);
}

bool TrainerControl::Initialise(const Notes& notes)
{
    notes_ = &notes;
    objFretboard->Initialise(notes, static_cast<FretboardStyle>(settings_ ? settings_->fretboardStyle : 1));
    objSheet->Initialise(notes, StaffWorkarea());
    SyncIdlePrompt();
    // The views carry on with blank pictures; tell the user which file is missing.
    for (const QString& error : {objFretboard->PictureError(), objSheet->PictureError()})
        if (!error.isEmpty())
            ShowMessage(error + QLatin1Char(' ') + tr("Please re-install the application."), MsgPlain);
    SetSelection(selection_);
    ShowSelection();
    return Reset();
}

void TrainerControl::ReInitializeFretboard()
{
    if (!notes_)
        return;
    objFretboard->Initialise(*notes_, static_cast<FretboardStyle>(settings_ ? settings_->fretboardStyle : 1));
    objFretboard->SetSelection(selection_);
}

void TrainerControl::SetSelection(const Selection& selection)
{
    selection_ = selection;
    objSheet->SetScale(selection_.key, selection_.scale);
    objFretboard->SetSelection(selection_);
    ShowSelection();
}

void TrainerControl::ChangeSelection(const Selection& selection)
{
    SetSelection(selection);
    Reset();
    RequestRepaint();
}

void TrainerControl::ShowSelection()
{
    // Keeping the controls in step with the selection is not a user's choice.
    const QSignalBlocker scrollBlocker(scrollPattern);
    const QSignalBlocker hideBlocker(chkHidePattern);
    const QSignalBlocker pentatonicBlocker(chkBluesNotesOnly);
    scrollPattern->setValue(kPatternsPerScale - selection_.pattern);
    boxCurrPattern->setText(QString::number(selection_.pattern));
    chkHidePattern->setChecked(selection_.hidePattern);
    chkBluesNotesOnly->setChecked(selection_.pentatonicOnly);
}

void TrainerControl::SyncIdlePrompt()
{
    if (settings_)
        objSheet->SetIdlePrompt(settings_->playNoteOnPrompt ? DrillLesson::PromptText() : QString());
}

void TrainerControl::RequestRepaint()
{
    SyncIdlePrompt();
    objSheet->Refresh();
    objFretboard->Refresh();
    ShowSelection();
}

bool TrainerControl::Reset()
{
    if (!switcher_ || switcher_->Current() == Activity::PatternPlay)
        return true;
    if (switcher_->StartOver())
        return true;
    emit activityFailed();
    return false;
}

void TrainerControl::OnHidePatternToggled(bool checked)
{
    selection_.hidePattern = checked;
    objFretboard->SetSelection(selection_);
    ClearFretboard();
    RequestRepaint();
}

void TrainerControl::OnPentatonicToggled(bool checked)
{
    if (settings_)
        settings_->pentatonicOnly = checked;
    Selection changed = selection_;
    changed.pentatonicOnly = checked;
    ClearFretboard();
    ChangeSelection(changed);
}

void TrainerControl::OnPatternScrolled(int value)
{
    // The selector wraps round: past the top comes pattern 1, past the bottom pattern 5.
    if (value == scrollPattern->minimum()) {
        scrollPattern->setValue(scrollPattern->maximum() - 1);
        return;
    }
    if (value == scrollPattern->maximum()) {
        scrollPattern->setValue(scrollPattern->minimum() + 1);
        return;
    }
    Selection changed = selection_;
    changed.ShowOnly(kPatternsPerScale - value);
    ChangeSelection(changed);
}
