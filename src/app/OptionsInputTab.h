#pragma once
// The options dialog's "Input" tab: answering by playing into the microphone on or off,
// the audio input by name, a live level meter and the noise threshold. "Test" listens
// on the chosen input for the meter while the dialog is open.

#include <QWidget>

class InputListening;
class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
struct Settings;

class OptionsInputTab : public QWidget {
    Q_OBJECT
public:
    OptionsInputTab(InputListening& listening, QWidget* parent = nullptr);

    void Load(const Settings& settings);
    void Save(Settings& settings) const;
    // Shows where listening stands after Apply.
    void ShowState();

    QCheckBox* chkListen = nullptr;
    QComboBox* cboInputDevice = nullptr;
    QProgressBar* barLevel = nullptr;
    QSpinBox* numThreshold = nullptr;
    QPushButton* btnTest = nullptr;
    QLabel* lblState = nullptr;

    // The meter's floor: anything quieter shows as an empty bar.
    static constexpr int MeterFloorDb = -80;

private:
    void LoadDevices(const QString& stored);
    QString ChosenDevice() const;
    void TestClicked();
    void ShowLevel(double rmsDb, double peakDb);

    InputListening& listening_;
    bool noDevices_ = false;
};
