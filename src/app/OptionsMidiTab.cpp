#include "app/OptionsMidiTab.h"

#include "app/ScrolledNumberBox.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "sound/SoundSystem.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kDataRole = Qt::UserRole;

ScrolledNumberBox* NumberBox(int lowest, int highest, const QString& boxName, const QString& scrollName,
                             QWidget* parent)
{
    auto* number = new ScrolledNumberBox(lowest, highest, parent);
    number->box->setObjectName(boxName);
    number->scroll->setObjectName(scrollName);
    return number;
}

} // namespace

OptionsMidiTab::OptionsMidiTab(SoundSystem& sound, QWidget* parent)
    : QWidget(parent)
    , sound_(sound)
{
    chkEnableSound = new QCheckBox(tr("Enable sound"), this);
    chkEnableSound->setObjectName(QStringLiteral("chkEnableSound"));

    auto* deviceFrame = new QGroupBox(tr("Midi device"), this);
    auto* deviceColumn = new QVBoxLayout(deviceFrame);
    lstMidiDevs = new QListWidget(deviceFrame);
    lstMidiDevs->setObjectName(QStringLiteral("lstMidiDevs"));
    lstMidiDevs->setFixedHeight(lstMidiDevs->fontMetrics().lineSpacing() * 5 + 10);
    deviceColumn->addWidget(lstMidiDevs);
    deviceFrame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    Slider = new QSlider(Qt::Horizontal, this);
    Slider->setObjectName(QStringLiteral("Slider"));
    Slider->setTickPosition(QSlider::TicksBelow);

    numChannel = NumberBox(0, 15, QStringLiteral("boxChannel"), QStringLiteral("scrollChannel"), this);
    numPatch = NumberBox(0, 127, QStringLiteral("boxPatch"), QStringLiteral("scrollPatch"), this);
    numNoteMaxDuration = NumberBox(0, 50, QStringLiteral("boxNoteMaxDuration"),
                                   QStringLiteral("scrollNoteMaxDuration"), this);
    // The bar reaches 5 seconds, but the setting holds any 16-bit number (the note
    // timeout takes 0 or less as 1 second): a longer stored or typed length is kept.
    numNoteMaxDuration->AcceptTyped(-32768, 32767);
    auto* durationRow = new QHBoxLayout;
    durationRow->addWidget(numNoteMaxDuration);
    durationRow->addWidget(new QLabel(tr("(1/10 seconds)"), this));
    durationRow->addStretch();

    auto* form = new QFormLayout;
    form->addRow(tr("Volume"), Slider);
    form->addRow(tr("Channel"), numChannel);
    form->addRow(tr("Instrument"), numPatch);
    form->addRow(tr("Note max duration"), durationRow);

    auto* column = new QVBoxLayout(this);
    column->addWidget(chkEnableSound);
    column->addWidget(deviceFrame);
    column->addLayout(form);
    column->addStretch();
}

void OptionsMidiTab::Load(const Settings& settings)
{
    LoadDevices(settings);
    LoadMidiValues(settings);
}

void OptionsMidiTab::LoadDevices(const Settings& settings)
{
    lstMidiDevs->clear();
    MidiDevices devices;
    QString message;
    if (!sound_.Midi().GetMidiDevices(devices, message)) {
        ShowMessage(message, MsgPlain);
        return;
    }
    QListWidgetItem* current = nullptr;
    for (int position = 1; position <= devices.Count(); ++position) {
        auto* item = new QListWidgetItem(devices.Item(position), lstMidiDevs);
        item->setData(kDataRole, position - 2);
        if (position - 2 == sound_.Midi().DeviceId())
            current = item;
    }
    // With sound off the device was never looked up: the stored name says which.
    if (!settings.enableSound && !settings.curDeviceName.isEmpty()) {
        const QList<QListWidgetItem*> named = lstMidiDevs->findItems(settings.curDeviceName, Qt::MatchExactly);
        if (!named.isEmpty())
            current = named.constFirst();
    }
    lstMidiDevs->setCurrentItem(current);
}

void OptionsMidiTab::LoadMidiValues(const Settings& settings)
{
    const Mixer& mixer = sound_.Volume();
    Slider->setRange(mixer.MinValue(), mixer.MaxValue());
    Slider->setPageStep(std::max(1, (mixer.MaxValue() - mixer.MinValue()) / 10));
    Slider->setTickInterval(Slider->pageStep());
    Slider->setValue(settings.mixerVolume);
    numChannel->SetValue(settings.channel);
    numPatch->SetValue(settings.patch);
    numNoteMaxDuration->SetValue(settings.noteMaxDuration);
    chkEnableSound->setChecked(settings.enableSound);
}

bool OptionsMidiTab::CheckValues()
{
    return numChannel->CheckValue() && numPatch->CheckValue() && numNoteMaxDuration->CheckValue();
}

void OptionsMidiTab::Save(Settings& settings)
{
    if (const QListWidgetItem* device = lstMidiDevs->currentItem()) {
        settings.curDeviceName = device->text();
        sound_.Midi().SetDeviceId(device->data(kDataRole).toInt());
    }
    settings.channel = static_cast<qint16>(numChannel->Value());
    settings.patch = static_cast<qint16>(numPatch->Value());
    settings.noteMaxDuration = static_cast<qint16>(numNoteMaxDuration->Value());
    settings.mixerVolume = Slider->value();
    QString message;
    if (!sound_.ApplyVolume(message))
        ShowMessage(tr("Unable to set the current MIDI device volume. ") + message, MsgPlain);
    settings.enableSound = chkEnableSound->isChecked();
}
