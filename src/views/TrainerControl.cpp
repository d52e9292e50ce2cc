#include "views/TrainerControl.h"

#include "core/Messages.h"
#include "core/Settings.h"
#include "lessons/ActivitySwitcher.h"
#include "lessons/DrillLesson.h"
#include "views/Zoom.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QAccessible>
#include <QSignalBlocker>

#include <algorithm>

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
    scrollPattern->setAccessibleName(tr("Pattern number"));
    scrollPattern->setFocusPolicy(Qt::StrongFocus);
    row->addStretch();
    row->addWidget(lblPattern_);
    row->addWidget(boxCurrPattern);
    row->addWidget(scrollPattern);
    row->addStretch();
    frmScrollPattern->adjustSize();
    connect(scrollPattern, &QScrollBar::valueChanged, this, &TrainerControl::OnPatternScrolled);

    // Tab goes down the page: the switches, the staff, the board, the pattern selector.
    setTabOrder(chkHidePattern, chkBluesNotesOnly);
    setTabOrder(chkBluesNotesOnly, objSheet);
    setTabOrder(objSheet, objFretboard);
    setTabOrder(objFretboard, scrollPattern);
    setTabOrder(scrollPattern, boxCurrPattern);
    connect(objSheet, &SheetControl::descriptionChanged, this, &TrainerControl::UpdateBoardDescription);
    UpdateBoardDescription();
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
    // The board never names the note the drill asks for.
    objFretboard->SetNoteNamesSpoken(switcher_->Current() != Activity::Drill);
    connect(switcher_, &ActivitySwitcher::activitySet, this,
            [this](Activity activity) { objFretboard->SetNoteNamesSpoken(activity != Activity::Drill); });
}

double TrainerControl::ZoomFor(int width, int height) const
{
    const QSize sheet = SheetControl::kBaseSize;
    const QSize board = kBoardBaseSize;
    const double switches = chkHidePattern->sizeHint().height();
    const double selector = frmScrollPattern->sizeHint().height();
    // The staff is centred at a third of the height with the switches above it, the
    // board at three quarters with the selector below it; neither may meet the other.
    const double zoom = std::min({static_cast<double>(width) / std::max(sheet.width(), board.width()),
                                  (height / 3.0 - switches) / (sheet.height() / 2.0),
                                  (height * 3.0 / 4 - height / 3.0) / ((sheet.height() + board.height()) / 2.0),
                                  (height / 4.0 - selector) / (board.height() / 2.0)});
    return SteppedZoom(zoom);
}

void TrainerControl::SyncOrientation()
{
    if (settings_)
        objFretboard->SetOrientation(settings_->leftHandedNeck, settings_->lowestStringOnTop);
}

void TrainerControl::Announce(const QString& text)
{
    const bool repeated = text == announcement_;
    announcement_ = text;
    objSheet->SetAnnouncement(text);
    UpdateBoardDescription();
    if (repeated && !text.isEmpty()) {
        // The same verdict again is news as well.
        QAccessibleEvent again(objFretboard, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&again);
    }
}

void TrainerControl::UpdateBoardDescription()
{
    QStringList parts;
    if (!announcement_.isEmpty())
        parts << announcement_;
    const QString shown = objSheet->ShownNoteName();
    if (!shown.isEmpty())
        parts << tr("The staff shows %1.").arg(shown);
    parts << tr("Arrows move, Enter answers, Shift+Enter plays the open string.");
    objFretboard->setAccessibleDescription(parts.join(QLatin1Char(' ')));
}

void TrainerControl::SetLocation(int width, int height)
{
    resize(width, height);
    zoom_ = ZoomFor(width, height);
    objSheet->SetZoom(zoom_);
    objFretboard->SetZoom(zoom_);
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
    SyncOrientation();
    objSheet->Initialise(notes, StaffWorkarea());
    SyncIdlePrompt();
    // The staff carries on without its clef and signs; tell the user which file is missing.
    if (!objSheet->PictureError().isEmpty())
        ShowMessage(objSheet->PictureError() + QLatin1Char(' ') + tr("Please re-install the application."),
                    MsgPlain);
    SetSelection(selection_);
    ShowSelection();
    return Reset();
}

void TrainerControl::ReInitializeFretboard()
{
    if (!notes_)
        return;
    objFretboard->Initialise(*notes_, static_cast<FretboardStyle>(settings_ ? settings_->fretboardStyle : 1));
    SyncOrientation();
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
    SyncOrientation();
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
