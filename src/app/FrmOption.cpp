#include "app/FrmOption.h"

#include "app/InputListening.h"
#include "app/OptionsGeneralTab.h"
#include "app/OptionsInputTab.h"
#include "app/OptionsLessonsTab.h"
#include "app/OptionsMidiTab.h"
#include "app/ProgramArt.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "music/Tunings.h"
#include "sound/SoundSystem.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

FrmOption::FrmOption(Settings& settings, SettingsStore& store, SoundSystem& sound, InputListening& listening,
                     Lessons& lessons,
                     const Selection& drillSelection, QWidget* parent)
    : QDialog(parent)
    , settings_(settings)
    , store_(store)
    , sound_(sound)
    , listening_(listening)
    , drillSelection_(drillSelection)
    , styleAtLoad_(settings.fretboardStyle)
    , instrumentAtLoad_(InstrumentFromSettings(settings))
{
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(tr("Options"));
    setWindowIcon(ProgramIcon());

    generalTab = new OptionsGeneralTab;
    midiTab = new OptionsMidiTab(sound);
    lessonsTab = new OptionsLessonsTab(lessons);
    inputTab = new OptionsInputTab(listening);
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(generalTab, tr("General"));
    SSTab1->addTab(midiTab, tr("Midi"));
    SSTab1->addTab(lessonsTab, tr("Lessons"));
    SSTab1->addTab(inputTab, tr("Input"));

    auto* buttons = new QDialogButtonBox(this);
    btnOk = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    btnCancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    btnApply = buttons->addButton(tr("Apply"), QDialogButtonBox::ApplyRole);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &FrmOption::OkClicked);
    connect(btnCancel, &QPushButton::clicked, this, &FrmOption::reject);
    connect(btnApply, &QPushButton::clicked, this, &FrmOption::ApplyClicked);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    generalTab->Load(settings_);
    midiTab->Load(settings_);
    lessonsTab->Load(settings_, drillSelection_);
    inputTab->Load(settings_);
    SSTab1->setCurrentIndex(0);
}

bool FrmOption::SaveTabs()
{
    if (!generalTab->CheckValues() || !midiTab->CheckValues())
        return false;
    generalTab->Save(settings_);
    if (settings_.fretboardStyle != styleAtLoad_ || !(InstrumentFromSettings(settings_) == instrumentAtLoad_))
        boolFretboardStyleChanged = true;
    midiTab->Save(settings_);
    lessonsTab->Save(settings_, drillSelection_);
    inputTab->Save(settings_);
    return true;
}

void FrmOption::ApplyClicked()
{
    if (!SaveTabs())
        return;
    QString listenProblem;
    // A failure shows in the tab; the setting stays as chosen.
    listening_.Apply(settings_, listenProblem);
    inputTab->ShowState();
    if (!settings_.enableSound)
        return;
    QString message;
    if (sound_.InitMidi(message)) {
        // Sound start-up reads the volume control's range and level afresh.
        midiTab->LoadMidiValues(settings_);
    } else {
        settings_.enableSound = false;
        midiTab->LoadMidiValues(settings_);
        ShowMessage(message, MsgPlain);
    }
}

void FrmOption::OkClicked()
{
    if (!SaveTabs())
        return;
    QString message;
    if (!store_.SaveSettings(settings_, message))
        ShowMessage(message, MsgPlain);
    accept();
}
