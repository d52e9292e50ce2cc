#include "app/TuningPicker.h"

#include "core/NoteNames.h"
#include "music/Patterns.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include <cstdlib>

namespace {

QString TuningsText(const char* text)
{
    return QCoreApplication::translate("Tunings", text);
}

// "D A D G B E": the open strings as a player names a tuning, with flats for one tuned
// down ("Eb Ab Db Gb Bb Eb").
QString StringLetters(const Tuning& tuning)
{
    const bool flats = TuningShiftFromStandard(InstrumentOf(tuning)) < 0;
    QStringList letters;
    for (int position : tuning.openStrings)
        letters.append(WithoutOctave(NoteNameAt(position, flats)));
    return letters.join(QLatin1Char(' '));
}

} // namespace

TuningPicker::TuningPicker(QWidget* parent)
    : QGroupBox(tr("Instrument and tuning"), parent)
{
    cboInstrument = new QComboBox(this);
    cboInstrument->setObjectName(QStringLiteral("cboInstrument"));
    for (InstrumentKind kind : InstrumentKinds())
        cboInstrument->addItem(TuningsText(InstrumentKindName(kind)), static_cast<int>(kind));
    cboTuning = new QComboBox(this);
    cboTuning->setObjectName(QStringLiteral("cboTuning"));
    customRow_ = new QWidget(this);
    customLayout_ = new QHBoxLayout(customRow_);
    customLayout_->setContentsMargins(0, 0, 0, 0);
    lblPatterns = new QLabel(this);
    lblPatterns->setObjectName(QStringLiteral("lblPatterns"));
    lblPatterns->setWordWrap(true);

    auto* form = new QFormLayout(this);
    form->addRow(tr("&Instrument:"), cboInstrument);
    form->addRow(tr("&Tuning:"), cboTuning);
    form->addRow(tr("Open strings, lowest first:"), customRow_);
    form->addRow(lblPatterns);

    connect(cboInstrument, &QComboBox::activated, this, &TuningPicker::OnInstrumentChosen);
    connect(cboTuning, &QComboBox::activated, this, &TuningPicker::OnTuningChosen);
    SetTuning(StandardTuning(InstrumentKind::SixStringGuitar));
}

InstrumentKind TuningPicker::CurrentKind() const
{
    return static_cast<InstrumentKind>(cboInstrument->currentData().toInt());
}

void TuningPicker::FillTunings(InstrumentKind kind)
{
    const QSignalBlocker block(cboTuning);
    cboTuning->clear();
    for (const Tuning& tuning : KnownTunings())
        if (tuning.kind == kind)
            cboTuning->addItem(tr("%1 (%2)").arg(TuningsText(tuning.name), StringLetters(tuning)),
                               tuning.id);
    cboTuning->addItem(tr("Custom"), QString::fromLatin1(kCustomTuningId));
}

void TuningPicker::BuildStringPickers(InstrumentKind kind, const std::vector<int>& openStrings)
{
    for (QComboBox* box : cboOpenStrings)
        delete box;
    cboOpenStrings.clear();
    const Instrument::Family family = FamilyOf(kind);
    for (size_t i = 0; i < openStrings.size(); ++i) {
        auto* box = new QComboBox(customRow_);
        box->setObjectName(QStringLiteral("cboOpenString%1").arg(i + 1));
        box->setAccessibleName(tr("String %1").arg(i + 1));
        for (int position = LowestOpenString(family); position <= HighestOpenString(family); ++position)
            box->addItem(NoteNameAt(position, false), position);
        box->setCurrentIndex(box->findData(openStrings[i]));
        connect(box, &QComboBox::activated, this, [this, i, box] {
            customStrings_[i] = box->currentData().toInt();
            ShowTuning();
            emit tuningChanged();
        });
        customLayout_->addWidget(box);
        // Tab reaches the strings right after the tuning, lowest first.
        QWidget::setTabOrder(cboOpenStrings.empty() ? static_cast<QWidget*>(cboTuning) : cboOpenStrings.back(), box);
        cboOpenStrings.push_back(box);
    }
}

void TuningPicker::SetTuning(const Tuning& tuning)
{
    const QSignalBlocker block(cboInstrument);
    cboInstrument->setCurrentIndex(cboInstrument->findData(static_cast<int>(tuning.kind)));
    FillTunings(tuning.kind);
    cboTuning->setCurrentIndex(cboTuning->findData(tuning.id));
    // A custom tuning starts from the one shown, so the learner changes only a string or two.
    customStrings_ = tuning.openStrings;
    BuildStringPickers(tuning.kind, customStrings_);
    ShowTuning();
}

void TuningPicker::SetInstrument(InstrumentKind kind)
{
    if (kind == CurrentKind())
        return;
    SetTuning(StandardTuning(kind));
    emit tuningChanged();
}

Tuning TuningPicker::CurrentTuning() const
{
    const QString id = cboTuning->currentData().toString();
    if (id == QLatin1String(kCustomTuningId)) {
        Tuning custom;
        custom.id = id;
        custom.name = "Custom";
        custom.kind = CurrentKind();
        custom.openStrings = customStrings_;
        return custom;
    }
    for (const Tuning& tuning : KnownTunings())
        if (tuning.id == id)
            return tuning;
    return StandardTuning(CurrentKind());
}

void TuningPicker::OnInstrumentChosen()
{
    SetTuning(StandardTuning(CurrentKind()));
    emit tuningChanged();
}

void TuningPicker::OnTuningChosen()
{
    const Tuning chosen = CurrentTuning();
    if (chosen.id != QLatin1String(kCustomTuningId)) {
        customStrings_ = chosen.openStrings;
        for (size_t i = 0; i < cboOpenStrings.size(); ++i)
            cboOpenStrings[i]->setCurrentIndex(cboOpenStrings[i]->findData(customStrings_[i]));
    }
    ShowTuning();
    emit tuningChanged();
}

void TuningPicker::ShowTuning()
{
    const Tuning tuning = CurrentTuning();
    customRow_->setEnabled(tuning.id == QLatin1String(kCustomTuningId));
    const Instrument instrument = InstrumentOf(tuning);
    if (!BoxesHoldEveryDegree(instrument))
        lblPatterns->setText(tr("Scale patterns: this tuning cannot hold the five box shapes, so each "
                                "pattern shows the scale's notes over the whole neck."));
    else if (const int shift = std::abs(TuningShiftFromStandard(instrument)); shift != 0)
        lblPatterns->setText(shift == 1 ? tr("Scale patterns: the five box shapes, computed for this tuning "
                                             "and moved one fret along the neck.")
                                        : tr("Scale patterns: the five box shapes, computed for this tuning "
                                             "and moved %1 frets along the neck.").arg(shift));
    else
        lblPatterns->setText(tr("Scale patterns: the five box shapes, computed for this tuning."));
}
