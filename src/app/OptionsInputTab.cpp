#include "app/OptionsInputTab.h"

#include "app/InputListening.h"
#include "core/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kNameRole = Qt::UserRole;

} // namespace

OptionsInputTab::OptionsInputTab(InputListening& listening, QWidget* parent)
    : QWidget(parent)
    , listening_(listening)
{
    chkListen = new QCheckBox(tr("Answer by playing (listen to the microphone)"), this);
    chkListen->setObjectName(QStringLiteral("chkListen"));

    cboInputDevice = new QComboBox(this);
    cboInputDevice->setObjectName(QStringLiteral("cboInputDevice"));
    cboInputDevice->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    barLevel = new QProgressBar(this);
    barLevel->setObjectName(QStringLiteral("barLevel"));
    barLevel->setRange(MeterFloorDb, 0);
    barLevel->setValue(MeterFloorDb);
    barLevel->setFormat(tr("%v dB"));
    btnTest = new QPushButton(tr("Test"), this);
    btnTest->setObjectName(QStringLiteral("btnTest"));
    btnTest->setToolTip(tr("Listen on the chosen input to see its level"));
    auto* meterRow = new QHBoxLayout;
    meterRow->addWidget(barLevel, 1);
    meterRow->addWidget(btnTest);

    numThreshold = new QSpinBox(this);
    numThreshold->setObjectName(QStringLiteral("numThreshold"));
    numThreshold->setRange(MeterFloorDb, -10);
    numThreshold->setSuffix(tr(" dB"));
    numThreshold->setToolTip(tr("A note must be louder than this to count; raise it in a noisy room"));

    lblState = new QLabel(this);
    lblState->setObjectName(QStringLiteral("lblState"));
    lblState->setWordWrap(true);
    lblState->setMinimumWidth(320);

    auto* form = new QFormLayout;
    form->addRow(tr("Input"), cboInputDevice);
    form->addRow(tr("Level"), meterRow);
    form->addRow(tr("Noise threshold"), numThreshold);

    auto* column = new QVBoxLayout(this);
    column->addWidget(chkListen);
    column->addLayout(form);
    column->addWidget(lblState);
    column->addStretch();

    connect(btnTest, &QPushButton::clicked, this, &OptionsInputTab::TestClicked);
    connect(&listening_.Listener(), &listening::Listener::levelChanged, this, &OptionsInputTab::ShowLevel);
    connect(&listening_, &InputListening::stateChanged, this, [this](const QString& text) { lblState->setText(text); });
}

void OptionsInputTab::Load(const Settings& settings)
{
    chkListen->setChecked(settings.listenEnabled);
    LoadDevices(settings.inputDevice);
    numThreshold->setValue(settings.inputThreshold);
    ShowState();
}

void OptionsInputTab::LoadDevices(const QString& stored)
{
    cboInputDevice->clear();
    cboInputDevice->addItem(tr("The system's default input"), QString());
    const QList<listening::InputDevice> devices = listening_.Devices();
    for (const listening::InputDevice& device : devices)
        cboInputDevice->addItem(device.name, device.name);
    noDevices_ = devices.isEmpty();
    int index = cboInputDevice->findData(stored, kNameRole);
    if (index < 0) {
        // Unplugged for now: kept, so it is taken again when it comes back.
        cboInputDevice->addItem(tr("%1 (not available)").arg(stored), stored);
        index = cboInputDevice->count() - 1;
    }
    cboInputDevice->setCurrentIndex(index);
}

QString OptionsInputTab::ChosenDevice() const
{
    return cboInputDevice->currentData(kNameRole).toString();
}

void OptionsInputTab::Save(Settings& settings) const
{
    settings.listenEnabled = chkListen->isChecked();
    settings.inputDevice = ChosenDevice();
    settings.inputThreshold = static_cast<qint16>(numThreshold->value());
}

void OptionsInputTab::ShowState()
{
    QString text = listening_.StateText();
    if (text.isEmpty())
        text = noDevices_ ? listening::InputStatusText(listening::InputStatus::NoDevice) : tr("Not listening.");
    lblState->setText(text);
}

void OptionsInputTab::TestClicked()
{
    QString message;
    if (!listening_.Try(ChosenDevice(), numThreshold->value(), message))
        lblState->setText(message);
}

void OptionsInputTab::ShowLevel(double rmsDb, double peakDb)
{
    Q_UNUSED(rmsDb)
    barLevel->setValue(std::clamp(static_cast<int>(std::lround(peakDb)), MeterFloorDb, 0));
}
