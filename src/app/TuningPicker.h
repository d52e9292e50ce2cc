#pragma once
// The options' choice of instrument and tuning: the instrument, one of its known
// tunings or a custom one with a note for each open string, and a line saying how the
// scale patterns follow the tuning.

#include "music/Tunings.h"

#include <QGroupBox>

#include <vector>

class QComboBox;
class QHBoxLayout;
class QLabel;

class TuningPicker : public QGroupBox {
    Q_OBJECT
public:
    explicit TuningPicker(QWidget* parent = nullptr);

    void SetTuning(const Tuning& tuning);
    // The tuning as chosen; a custom one keeps the strings the learner picked.
    Tuning CurrentTuning() const;
    // Chooses the instrument's standard tuning (the "Guitar type" buttons do this).
    void SetInstrument(InstrumentKind kind);

    QComboBox* cboInstrument = nullptr;
    QComboBox* cboTuning = nullptr;
    std::vector<QComboBox*> cboOpenStrings; // lowest string first, shown for a custom tuning
    QLabel* lblPatterns = nullptr;

signals:
    // The learner chose another instrument or tuning.
    void tuningChanged();

private:
    InstrumentKind CurrentKind() const;
    void FillTunings(InstrumentKind kind);
    void BuildStringPickers(InstrumentKind kind, const std::vector<int>& openStrings);
    void OnInstrumentChosen();
    void OnTuningChosen();
    void ShowTuning();

    QWidget* customRow_ = nullptr;
    QHBoxLayout* customLayout_ = nullptr;
    std::vector<int> customStrings_; // the custom tuning, kept while another is shown
};
