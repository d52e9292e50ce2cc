#include "views/PatternPlayControl.h"

#include "core/Settings.h"
#include "music/Patterns.h"
#include "music/Scales.h"
#include "views/KeyScaleBoxes.h"
#include "views/Zoom.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kSideMargin = 16;
constexpr int kTopMargin = 14;
constexpr int kBottomMargin = 16;

} // namespace

PatternPlayControl::PatternPlayControl(QWidget* parent)
    : QWidget(parent)
{
    fmFrame = new QFrame(this);
    fmFrame->setObjectName(QStringLiteral("fmFrame"));
    fmFrame->setFrameShape(QFrame::StyledPanel);

    cboKey = new QComboBox(fmFrame);
    cboKey->setObjectName(QStringLiteral("cboKey"));
    cboScale = new QComboBox(fmFrame);
    cboScale->setObjectName(QStringLiteral("cboScale"));
    cboPatterns = new QComboBox(fmFrame);
    cboPatterns->setObjectName(QStringLiteral("cboPatterns"));
    // Shown when the visible pattern is none of the scale's patterns (a lesson without one).
    cboPatterns->setPlaceholderText(tr("No pattern"));
    cboPatterns->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    chkBluesNotesOnly = new QCheckBox(tr("Pentatonic"), fmFrame);
    chkBluesNotesOnly->setObjectName(QStringLiteral("chkBluesNotesOnly"));

    auto* keyLabel = new QLabel(tr("Key:"), fmFrame);
    keyLabel->setBuddy(cboKey);
    auto* scaleLabel = new QLabel(tr("Scale:"), fmFrame);
    scaleLabel->setBuddy(cboScale);
    auto* patternLabel = new QLabel(tr("Pattern:"), fmFrame);
    patternLabel->setBuddy(cboPatterns);

    objFretboard = new FretboardControl(fmFrame);
    objFretboard->setObjectName(QStringLiteral("objFretboard"));
    // The board only shows where the pattern lies: it takes no presses, but the keyboard
    // may walk it and a screen reader hear each cell's note.
    objFretboard->setAttribute(Qt::WA_TransparentForMouseEvents);
    objFretboard->setAccessibleDescription(tr("The highlighted cells are the pattern's notes. Arrows move."));

    auto* selectors = new QHBoxLayout;
    selectors->setSpacing(6);
    const auto addPair = [&](QLabel* label, QWidget* box) {
        selectors->addWidget(label);
        selectors->addWidget(box);
        selectors->addSpacing(14);
    };
    addPair(keyLabel, cboKey);
    addPair(scaleLabel, cboScale);
    addPair(patternLabel, cboPatterns);
    selectors->addWidget(chkBluesNotesOnly);
    selectors->addStretch();

    auto* column = new QVBoxLayout(fmFrame);
    column->setContentsMargins(kSideMargin, kTopMargin, kSideMargin, kBottomMargin);
    column->setSpacing(14);
    column->addLayout(selectors);
    column->addWidget(objFretboard, 0, Qt::AlignHCenter);
    column->setSizeConstraint(QLayout::SetFixedSize);

    FillKeyBox(cboKey, 0);
    FillScaleBox(cboScale, 0);

    connect(cboKey, &QComboBox::activated, this, &PatternPlayControl::OnKeySelected);
    connect(cboScale, &QComboBox::activated, this, &PatternPlayControl::OnScaleSelected);
    connect(cboPatterns, &QComboBox::activated, this, &PatternPlayControl::OnPatternSelected);
    connect(chkBluesNotesOnly, &QCheckBox::clicked, this, &PatternPlayControl::OnPentatonicClicked);
}

void PatternPlayControl::SetLocation(int width, int height)
{
    resize(width, height);
    // The board grows, in tenths, as far as the page lets the frame around it.
    const int border = fmFrame->frameWidth();
    const QLayout* column = fmFrame->layout();
    const double spare = height - 2 * border - kTopMargin - kBottomMargin - column->spacing()
        - column->itemAt(0)->sizeHint().height();
    const double zoom = std::min((width - 2.0 * border - 2 * kSideMargin) / kBoardBaseSize.width(),
                                 spare / kBoardBaseSize.height());
    objFretboard->SetZoom(SteppedZoom(zoom));
    // The frame gives up its side margins before it gets wider than the page.
    const int side = std::clamp((width - objFretboard->width()) / 2 - border, 0, kSideMargin);
    fmFrame->layout()->setContentsMargins(side, kTopMargin, side, kBottomMargin);
    fmFrame->adjustSize();
    fmFrame->move((width - fmFrame->width()) / 2, (height - fmFrame->height()) / 2);
}

void PatternPlayControl::ReInitializeFretboard(const Notes& notes)
{
    notes_ = &notes;
    objFretboard->Initialise(notes, static_cast<FretboardStyle>(settings_ ? settings_->fretboardStyle : 1));
    SyncOrientation();
    objFretboard->SetSelection(selection_);
}

void PatternPlayControl::RequestRepaint()
{
    SyncOrientation();
    objFretboard->Refresh();
}

void PatternPlayControl::SyncOrientation()
{
    if (settings_)
        objFretboard->SetOrientation(settings_->leftHandedNeck, settings_->lowestStringOnTop);
}

void PatternPlayControl::Initialise(const Notes& notes, int lessonKey, int lessonScale,
                                    const std::vector<int>& drillPatterns)
{
    ReInitializeFretboard(notes);
    Selection selection;
    selection.key = lessonKey;
    selection.scale = lessonScale;
    selection.pentatonicOnly = settings_ && settings_->pentatonicOnly;

    FillKeyBox(cboKey, lessonKey);
    FillScaleBox(cboScale, lessonScale);
    FillPatterns(lessonScale);
    // The pattern the drill shows, when this scale has it.
    const auto shown = std::find_if(drillPatterns.begin(), drillPatterns.end(),
                                    [this](int pattern) { return SelectByData(cboPatterns, pattern); });
    if (shown != drillPatterns.end())
        selection.ShowOnly(*shown);
    else
        cboPatterns->setCurrentIndex(-1);
    chkBluesNotesOnly->setChecked(selection.pentatonicOnly);
    ApplySelection(selection);
}

void PatternPlayControl::ApplySelection(const Selection& selection)
{
    selection_ = selection;
    objFretboard->SetSelection(selection_);
    objFretboard->Refresh();
}

void PatternPlayControl::FillPatterns(int scale)
{
    const QSignalBlocker blocker(cboPatterns);
    cboPatterns->clear();
    for (const Pattern& pattern : ScalePatterns(notes_ ? notes_->GetInstrument() : Instrument()))
        if (pattern.scale == scale)
            cboPatterns->addItem(QCoreApplication::translate("Patterns", pattern.name.toUtf8().constData()),
                                 pattern.number);
}

bool PatternPlayControl::SelectByData(QComboBox* box, int value)
{
    const int index = box->findData(value);
    if (index < 0)
        return false;
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(index);
    return true;
}

int PatternPlayControl::SelectedData(const QComboBox* box)
{
    return box->currentIndex() < 0 ? 0 : box->currentData().toInt();
}

void PatternPlayControl::OnKeySelected()
{
    const int key = SelectedData(cboKey);
    if (key == 0 || key == selection_.key)
        return;
    Selection changed = selection_;
    changed.key = key;
    ApplySelection(changed);
}

void PatternPlayControl::OnScaleSelected()
{
    const int scale = SelectedData(cboScale);
    if (scale == 0 || scale == selection_.scale)
        return;
    Selection changed = selection_;
    changed.scale = scale;
    FillPatterns(scale);
    if (!SelectByData(cboPatterns, changed.pattern))
        cboPatterns->setCurrentIndex(-1);
    ApplySelection(changed);
}

void PatternPlayControl::OnPatternSelected()
{
    const int pattern = SelectedData(cboPatterns);
    if (pattern == 0 || pattern == selection_.pattern)
        return;
    Selection changed = selection_;
    changed.ShowOnly(pattern);
    ApplySelection(changed);
}

void PatternPlayControl::OnPentatonicClicked(bool checked)
{
    if (settings_)
        settings_->pentatonicOnly = checked;
    Selection changed = selection_;
    changed.pentatonicOnly = checked;
    ApplySelection(changed);
}
