#include "views/PatternPlayControl.h"

#include "core/Selection.h"
#include "core/Settings.h"
#include "music/Notes.h"
#include "music/ScalePatterns.h"

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
    // The board only shows where the pattern lies: it takes no clicks.
    objFretboard->setAttribute(Qt::WA_TransparentForMouseEvents);

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

    FillKeys();
    FillScales();

    connect(cboKey, &QComboBox::activated, this, &PatternPlayControl::OnKeySelected);
    connect(cboScale, &QComboBox::activated, this, &PatternPlayControl::OnScaleSelected);
    connect(cboPatterns, &QComboBox::activated, this, &PatternPlayControl::OnPatternSelected);
    connect(chkBluesNotesOnly, &QCheckBox::clicked, this, &PatternPlayControl::OnBluesNotesOnlyClicked);
}

void PatternPlayControl::SetLocation(int intWidth, int intHeight)
{
    resize(intWidth, intHeight);
    objFretboard->SetLocation();
    // The frame gives up its side margins before it gets wider than the page.
    const int border = fmFrame->frameWidth();
    const int side = std::clamp((intWidth - objFretboard->width()) / 2 - border, 0, kSideMargin);
    fmFrame->layout()->setContentsMargins(side, kTopMargin, side, kBottomMargin);
    fmFrame->adjustSize();
    fmFrame->move((intWidth - fmFrame->width()) / 2, (intHeight - fmFrame->height()) / 2);
}

void PatternPlayControl::Initialise()
{
    savedKey_ = CurrKey;
    strSavedCurrKey = CurrKeyName;
    savedVisiblePatterns_.clear();
    for (const QString& entry : VisiblePatterns)
        savedVisiblePatterns_.append(entry);

    objFretboard->Initialise(); // builds the grid for the current scale

    const LessonInterface* lesson = host_ ? host_->CurrentLesson() : nullptr;
    const qint32 lessonKey = lesson ? lesson->intKey : CurrKey;
    const qint16 lessonScale = lesson ? lesson->intScale : CurrScale;

    FillKeys();
    SelectByData(cboKey, lessonKey);
    OnKeySelected();
    FillScales();
    SelectByData(cboScale, lessonScale);
    OnScaleSelected();
    FillPatterns(lessonScale);
    bool patternFound = false;
    for (const QString& entry : std::as_const(savedVisiblePatterns_))
        if (SelectByData(cboPatterns, entry.toInt())) {
            patternFound = true;
            break;
        }
    if (patternFound)
        OnPatternSelected();
    else
        cboPatterns->setCurrentIndex(-1);

    chkBluesNotesOnly->setChecked(BluesNotesOnly);
}

void PatternPlayControl::RestoreSystemVariables()
{
    CurrKey = savedKey_;
    CurrKeyName = strSavedCurrKey;
    VisiblePatterns.Clear();
    for (const QString& entry : std::as_const(savedVisiblePatterns_))
        VisiblePatterns.Add(entry);
}

void PatternPlayControl::RequestRepaint()
{
    if (ScaleRebuildPending) {
        ScaleRebuildPending = false;
        GetNotes().SetScale(CurrScale, CurrKeyName);
        objFretboard->SetScale();
    }
    objFretboard->RefreshDisplay();
}

void PatternPlayControl::ReInitializeFretboard()
{
    objFretboard->UpdateFretboardStyle();
    objFretboard->Initialise();
}

void PatternPlayControl::FillKeys()
{
    const QSignalBlocker blocker(cboKey);
    cboKey->clear();
    for (int id = 1; id <= KeyNames.Count(); ++id)
        cboKey->addItem(QCoreApplication::translate(KeyScaleNamesContext, KeyNames.Item(id).toUtf8().constData()),
                        id);
}

void PatternPlayControl::FillScales()
{
    const QSignalBlocker blocker(cboScale);
    cboScale->clear();
    for (int id = 1; id <= ScaleNames.Count(); ++id)
        cboScale->addItem(
            QCoreApplication::translate(KeyScaleNamesContext, ScaleNames.Item(id).toUtf8().constData()), id);
}

void PatternPlayControl::FillPatterns(qint16 intScale)
{
    const QSignalBlocker blocker(cboPatterns);
    cboPatterns->clear();
    for (const Pattern& pattern : ScalePatterns)
        if (pattern.intScale == intScale)
            cboPatterns->addItem(QCoreApplication::translate("Patterns", pattern.strName.toUtf8().constData()),
                                 pattern.intPatternNum);
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

int PatternPlayControl::SelectedData(const QComboBox* box) const
{
    return box->currentIndex() < 0 ? 0 : box->currentData().toInt();
}

void PatternPlayControl::OnKeySelected()
{
    const int key = SelectedData(cboKey);
    if (key == 0 || key == CurrKey)
        return;
    CurrKey = key; // the key name stays: only the pattern's place follows the key here
    ScaleRebuildPending = true;
    RequestRepaint();
}

void PatternPlayControl::OnScaleSelected()
{
    const int scale = SelectedData(cboScale);
    if (scale == 0 || scale == CurrScale)
        return;
    CurrScale = static_cast<qint16>(scale);
    FillPatterns(CurrScale);
    if (!SelectByData(cboPatterns, CurrPattern))
        cboPatterns->setCurrentIndex(-1);
    ScaleRebuildPending = true;
    RequestRepaint();
}

void PatternPlayControl::OnPatternSelected()
{
    const int pattern = SelectedData(cboPatterns);
    if (pattern == 0 || pattern == CurrPattern)
        return;
    VisiblePatterns.Clear();
    VisiblePatterns.Add(QString::number(pattern));
    CurrPattern = static_cast<qint16>(pattern);
    ScaleRebuildPending = true;
    RequestRepaint();
}

void PatternPlayControl::OnBluesNotesOnlyClicked(bool checked)
{
    BluesNotesOnly = checked;
    ScaleRebuildPending = true;
    RequestRepaint();
}
