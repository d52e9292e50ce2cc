#include "app/OptionsGeneralTab.h"

#include "app/RadioGroup.h"
#include "app/ScrolledNumberBox.h"
#include "app/TuningPicker.h"
#include "core/Messages.h"
#include "core/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <vector>

namespace {

// An option button's indented frame below it, holding the option's check box.
QFrame* IndentedFrame(QCheckBox* check, const QString& name)
{
    auto* frame = new QFrame;
    frame->setObjectName(name);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(24, 0, 0, 4);
    row->addWidget(check);
    return frame;
}

} // namespace

OptionsGeneralTab::FileChooser OptionsGeneralTab::DesktopFileChooser()
{
    return [](QWidget* parent, const QString& title, const QString& directory, const QString& fileName) {
        QFileDialog dialog(parent, title, directory);
        dialog.setFileMode(QFileDialog::ExistingFile);
        // Programs on Windows end in ".exe"; elsewhere they have no extension to filter on.
        const QString exe = tr("Executables (*.exe)");
        const QString all = tr("All files (*)");
#ifdef Q_OS_WIN
        dialog.setNameFilters({exe, all});
        dialog.setDefaultSuffix(QStringLiteral("exe"));
#else
        dialog.setNameFilters({all, exe});
#endif
        if (!fileName.isEmpty())
            dialog.selectFile(fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
}

OptionsGeneralTab::OptionsGeneralTab(QWidget* parent)
    : QWidget(parent)
    , cdlgFile(DesktopFileChooser())
{
    optGuitarType = new RadioGroup(tr("Guitar type"), {tr("Six string"), tr("Bass (4s)"), tr("Bass (5s)")},
                                   QStringLiteral("optGuitarType"), Qt::Vertical, this);
    connect(optGuitarType, &RadioGroup::clicked, this, &OptionsGeneralTab::OnGuitarTypeClicked);
    tuningPicker = new TuningPicker(this);
    tuningPicker->setObjectName(QStringLiteral("tuningPicker"));
    connect(tuningPicker, &TuningPicker::tuningChanged, this, &OptionsGeneralTab::OnTuningChanged);
    optFretboardStyle = new RadioGroup(tr("Fretboard appearance"), {tr("Realistic"), tr("Simple")},
                                       QStringLiteral("optFretboardStyle"), Qt::Vertical, this);
    optFlatSymbolPref = new RadioGroup(tr("Select which symbol to use when displaying a two-named note"),
                                       {tr("Display the 'flat' symbol"), tr("Display the 'sharp' symbol")},
                                       QStringLiteral("optFlatSymbolPref"), Qt::Horizontal, this);

    // "WebBrowser": the first wording had a typo here.
    auto* browserFrame = new QGroupBox(tr("Optional WebBrowser path (i.e. path to file 'iexplore.exe')"), this);
    auto* browserRow = new QHBoxLayout(browserFrame);
    boxWebBrowserPath = new QLineEdit(browserFrame);
    boxWebBrowserPath->setObjectName(QStringLiteral("boxWebBrowserPath"));
    btnBrowse = new QPushButton(tr("Browse"), browserFrame);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    btnBrowse->setAutoDefault(false);
    browserRow->addWidget(boxWebBrowserPath, 1);
    browserRow->addWidget(btnBrowse);
    connect(btnBrowse, &QPushButton::clicked, this, &OptionsGeneralTab::OnBrowse);

    numTestDuration = new ScrolledNumberBox(10, 100, this);
    numTestDuration->box->setObjectName(QStringLiteral("boxTestDuration"));
    numTestDuration->scroll->setObjectName(QStringLiteral("scrollTestDur"));
    auto* durationRow = new QHBoxLayout;
    durationRow->addWidget(new QLabel(tr("Test duration (seconds): "), this));
    durationRow->addWidget(numTestDuration);
    durationRow->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(optGuitarType, 0, 0);
    grid->addWidget(optFretboardStyle, 0, 1);
    grid->addWidget(BuildNeck(), 0, 2);
    grid->addWidget(tuningPicker, 1, 0, 1, 3);
    grid->addWidget(BuildDrillStyle(), 2, 0, 1, 3);
    grid->addWidget(optFlatSymbolPref, 3, 0, 1, 3);
    grid->addWidget(browserFrame, 4, 0, 1, 3);
    grid->addLayout(durationRow, 5, 0, 1, 3);
    grid->setRowStretch(6, 1);

    // Tab goes through the groups as they are laid out: row by row, left to right.
    std::vector<QWidget*> order;
    for (const RadioGroup* group : {optGuitarType, optFretboardStyle})
        for (int i = 0; i < group->Count(); ++i)
            order.push_back(group->Button(i));
    order.insert(order.end(), {chkLeftHandedNeck, optLowestString[0], optLowestString[1],
                               tuningPicker->cboInstrument, tuningPicker->cboTuning,
                               optPlayNoteOnPrompt[0],
                               chkEchoEnabled, optPlayNoteOnPrompt[1], chkBeepOnError});
    for (int i = 0; i < optFlatSymbolPref->Count(); ++i)
        order.push_back(optFlatSymbolPref->Button(i));
    order.insert(order.end(), {boxWebBrowserPath, btnBrowse, numTestDuration->box});
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QWidget* OptionsGeneralTab::BuildNeck()
{
    auto* frame = new QGroupBox(tr("Neck"), this);
    auto* column = new QVBoxLayout(frame);
    chkLeftHandedNeck = new QCheckBox(tr("Left-handed neck (nut on the right)"), frame);
    chkLeftHandedNeck->setObjectName(QStringLiteral("chkLeftHandedNeck"));
    auto* group = new QButtonGroup(frame);
    optLowestString[0] = new QRadioButton(tr("Lowest string at the top"), frame);
    optLowestString[1] = new QRadioButton(tr("Lowest string at the bottom"), frame);
    column->addWidget(chkLeftHandedNeck);
    for (int i = 0; i < 2; ++i) {
        optLowestString[static_cast<size_t>(i)]->setObjectName(QStringLiteral("optLowestString%1").arg(i));
        group->addButton(optLowestString[static_cast<size_t>(i)], i);
        column->addWidget(optLowestString[static_cast<size_t>(i)]);
    }
    column->addStretch();
    return frame;
}

QWidget* OptionsGeneralTab::BuildDrillStyle()
{
    auto* frame = new QGroupBox(tr("Drill style"), this);
    auto* column = new QVBoxLayout(frame);
    auto* group = new QButtonGroup(frame);
    optPlayNoteOnPrompt[0] =
        new QRadioButton(tr("System will allow note sound preview after prompt (Used for ear training)"), frame);
    optPlayNoteOnPrompt[1] = new QRadioButton(tr("System will play the note sound only after correctly selected"), frame);
    chkEchoEnabled = new QCheckBox(tr("Enable the note echo effect"));
    chkEchoEnabled->setObjectName(QStringLiteral("chkEchoEnabled"));
    chkBeepOnError = new QCheckBox(tr("Play a 'Beep' sound when making a mistake"));
    chkBeepOnError->setObjectName(QStringLiteral("chkBeepOnError"));
    frmPlayNoteOnPrompt = IndentedFrame(chkEchoEnabled, QStringLiteral("frmPlayNoteOnPrompt"));
    frmPlayNoteWhenSelected = IndentedFrame(chkBeepOnError, QStringLiteral("frmPlayNoteWhenSelected"));
    for (int i = 0; i < 2; ++i) {
        optPlayNoteOnPrompt[static_cast<size_t>(i)]->setObjectName(QStringLiteral("optPlayNoteOnPrompt%1").arg(i));
        group->addButton(optPlayNoteOnPrompt[static_cast<size_t>(i)], i);
    }
    column->addWidget(optPlayNoteOnPrompt[0]);
    column->addWidget(frmPlayNoteOnPrompt);
    column->addWidget(optPlayNoteOnPrompt[1]);
    column->addWidget(frmPlayNoteWhenSelected);
    connect(group, &QButtonGroup::idClicked, this, [this](int id) { EnableDrillStyle(id == 0); });
    return frame;
}

void OptionsGeneralTab::Load(const Settings& settings)
{
    optPlayNoteOnPrompt[settings.playNoteOnPrompt ? 0 : 1]->setChecked(true);
    EnableDrillStyle(settings.playNoteOnPrompt);
    chkBeepOnError->setChecked(settings.beepOnError);
    chkEchoEnabled->setChecked(settings.echoEnabled);
    optFlatSymbolPref->SetChecked(settings.flatSymbolPref ? 0 : 1);
    optFretboardStyle->SetChecked(settings.fretboardStyle == 0 ? 0 : 1);
    optGuitarType->SetChecked(settings.guitarType);
    QString problem; // start-up has told the learner about a tuning it could not read
    tuningPicker->SetTuning(TuningFromSettings(settings, problem));
    // A bass keeps the style it was stored with, but cannot be given the realistic one.
    optFretboardStyle->Button(0)->setEnabled(settings.guitarType == 0);
    chkLeftHandedNeck->setChecked(settings.leftHandedNeck);
    optLowestString[settings.lowestStringOnTop ? 0 : 1]->setChecked(true);
    boxWebBrowserPath->setText(settings.webBrowserPath);
    numTestDuration->SetValue(settings.testDuration);
}

void OptionsGeneralTab::EnableDrillStyle(bool playNoteOnPrompt)
{
    frmPlayNoteOnPrompt->setEnabled(playNoteOnPrompt);
    chkEchoEnabled->setEnabled(playNoteOnPrompt);
    frmPlayNoteWhenSelected->setEnabled(!playNoteOnPrompt);
    chkBeepOnError->setEnabled(!playNoteOnPrompt);
}

void OptionsGeneralTab::OnGuitarTypeClicked(int guitarType)
{
    tuningPicker->SetInstrument(KindOfGuitarType(guitarType));
    EnableFretboardStyles(guitarType);
}

void OptionsGeneralTab::OnTuningChanged()
{
    const int guitarType = GuitarTypeOf(tuningPicker->CurrentTuning().kind);
    optGuitarType->SetChecked(guitarType);
    EnableFretboardStyles(guitarType);
}

void OptionsGeneralTab::EnableFretboardStyles(int guitarType)
{
    if (guitarType != 0)
        optFretboardStyle->SetChecked(1);
    optFretboardStyle->Button(0)->setEnabled(guitarType == 0);
}

void OptionsGeneralTab::OnBrowse()
{
    QString fileName;
    QString directory;
    SplitPath(boxWebBrowserPath->text(), fileName, directory);
    const QString chosen =
        cdlgFile(this, tr("Please indicate the position of your WebBrowser, preferably IE4"), directory, fileName);
    if (!chosen.isEmpty())
        boxWebBrowserPath->setText(chosen);
}

bool OptionsGeneralTab::CheckValues()
{
    return numTestDuration->CheckValue();
}

void OptionsGeneralTab::Save(Settings& settings) const
{
    settings.playNoteOnPrompt = optPlayNoteOnPrompt[0]->isChecked();
    settings.beepOnError = chkBeepOnError->isChecked();
    settings.echoEnabled = chkEchoEnabled->isChecked();
    settings.flatSymbolPref = optFlatSymbolPref->Checked() == 0;
    settings.fretboardStyle = optFretboardStyle->Checked() == 0 ? 0 : 1;
    if (optGuitarType->Checked() >= 0)
        settings.guitarType = optGuitarType->Checked();
    StoreTuning(tuningPicker->CurrentTuning(), settings);
    settings.leftHandedNeck = chkLeftHandedNeck->isChecked();
    settings.lowestStringOnTop = optLowestString[0]->isChecked();
    settings.webBrowserPath = boxWebBrowserPath->text();
    settings.testDuration = static_cast<qint16>(numTestDuration->Value());
}
