#include "app/FrmOption.h"

#include "app/FrmStartup.h"
#include "app/ProgramArt.h"
#include "app/ScrolledNumberBox.h"
#include "core/Messages.h"
#include "core/Selection.h"
#include "core/Settings.h"
#include "lessons/Lessons.h"
#include "music/Notes.h"
#include "music/ScalePatterns.h"
#include "sound/MidiOut.h"
#include "sound/Mixer.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kDataRole = Qt::UserRole;

QString KeyText(int key)
{
    const QString* name = KeyNames.Find(QString::number(key));
    return name ? QCoreApplication::translate(KeyScaleNamesContext, name->toUtf8().constData()) : QString();
}

QString ScaleText(int scale)
{
    const QString* name = ScaleNames.Find(QString::number(scale));
    return name ? QCoreApplication::translate(KeyScaleNamesContext, name->toUtf8().constData()) : QString();
}

QString PatternText(const Pattern& pattern)
{
    return QCoreApplication::translate("Patterns", pattern.strName.toUtf8().constData());
}

QListWidgetItem* AddListEntry(QListWidget* list, const QString& text, int data)
{
    auto* item = new QListWidgetItem(text, list);
    item->setData(kDataRole, data);
    return item;
}

// Pattern lists hold their numbers as items, not as keys.
bool HoldsPattern(const Collection<QString>& patterns, int pattern)
{
    const QString number = QString::number(pattern);
    return std::find(patterns.begin(), patterns.end(), number) != patterns.end();
}

int EntryData(const QListWidgetItem* item)
{
    return item ? item->data(kDataRole).toInt() : 0;
}

QListWidgetItem* FindEntry(const QListWidget* list, int data)
{
    for (int row = 0; row < list->count(); ++row)
        if (EntryData(list->item(row)) == data)
            return list->item(row);
    return nullptr;
}

QListWidgetItem* FindEntry(const QListWidget* list, const QString& text)
{
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->text() == text)
            return list->item(row);
    return nullptr;
}

// An option button with a frame below it, indented, that holds the option's check box.
QFrame* IndentedFrame(QCheckBox* check)
{
    auto* frame = new QFrame;
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(24, 0, 0, 4);
    row->addWidget(check);
    return frame;
}

} // namespace

frmOption::frmOption(FrmStartup& startup, const Lessons& lessons, QWidget* parent)
    : QDialog(parent)
    , cdlgFile(DesktopFileChooser())
    , startup_(startup)
    , lessons_(lessons)
{
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(tr("Options"));
    setWindowIcon(ProgramIcon());

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(BuildGeneralTab(), tr("General"));
    SSTab1->addTab(BuildMidiTab(), tr("Midi"));
    SSTab1->addTab(BuildLessonsTab(), tr("Lessons"));

    auto* buttons = new QDialogButtonBox(this);
    btnOk = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    btnCancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    btnApply = buttons->addButton(tr("Apply"), QDialogButtonBox::ApplyRole);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &frmOption::OkClicked);
    connect(btnCancel, &QPushButton::clicked, this, &frmOption::reject);
    connect(btnApply, &QPushButton::clicked, this, &frmOption::ApplyClicked);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Load();
}

frmOption::FileChooser frmOption::DesktopFileChooser()
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

// --- Building the tabs ------------------------------------------------------------

QWidget* frmOption::BuildGeneralTab()
{
    auto* page = new QWidget;

    auto* guitarFrame = new QGroupBox(tr("Guitar type"), page);
    auto* guitarColumn = new QVBoxLayout(guitarFrame);
    auto* guitarGroup = new QButtonGroup(this);
    const char* guitarCaptions[] = {QT_TR_NOOP("Six string"), QT_TR_NOOP("Bass (4s)"), QT_TR_NOOP("Bass (5s)")};
    for (int i = 0; i < 3; ++i) {
        optGuitarType[i] = new QRadioButton(tr(guitarCaptions[i]), guitarFrame);
        optGuitarType[i]->setObjectName(QStringLiteral("optGuitarType%1").arg(i));
        guitarGroup->addButton(optGuitarType[i], i);
        guitarColumn->addWidget(optGuitarType[i]);
    }
    guitarColumn->addStretch();
    connect(guitarGroup, &QButtonGroup::idClicked, this, &frmOption::OnGuitarTypeClicked);

    auto* styleFrame = new QGroupBox(tr("Fretboard appearance"), page);
    auto* styleColumn = new QVBoxLayout(styleFrame);
    auto* styleGroup = new QButtonGroup(this);
    optFretboardStyle[0] = new QRadioButton(tr("Realistic"), styleFrame);
    optFretboardStyle[1] = new QRadioButton(tr("Simple"), styleFrame);
    for (int i = 0; i < 2; ++i) {
        optFretboardStyle[i]->setObjectName(QStringLiteral("optFretboardStyle%1").arg(i));
        styleGroup->addButton(optFretboardStyle[i], i);
        styleColumn->addWidget(optFretboardStyle[i]);
    }
    styleColumn->addStretch();

    numTestDuration_ = new ScrolledNumberBox(10, 100, page);
    boxTestDuration = numTestDuration_->box;
    boxTestDuration->setObjectName(QStringLiteral("boxTestDuration"));
    scrollTestDur = numTestDuration_->scroll;
    scrollTestDur->setObjectName(QStringLiteral("scrollTestDur"));
    auto* durationRow = new QHBoxLayout;
    durationRow->addWidget(new QLabel(tr("Test duration (seconds): "), page));
    durationRow->addWidget(numTestDuration_);
    durationRow->addStretch();

    auto* drillFrame = new QGroupBox(tr("Drill style"), page);
    auto* drillColumn = new QVBoxLayout(drillFrame);
    auto* drillGroup = new QButtonGroup(this);
    optPlayNoteOnPrompt[0] =
        new QRadioButton(tr("System will allow note sound preview after prompt (Used for ear training)"), drillFrame);
    chkEchoEnabled = new QCheckBox(tr("Enable the note echo effect"));
    frmPlayNoteOnPrompt = IndentedFrame(chkEchoEnabled);
    optPlayNoteOnPrompt[1] = new QRadioButton(tr("System will play the note sound only after correctly selected"),
                                              drillFrame);
    chkBeepOnError = new QCheckBox(tr("Play a 'Beep' sound when making a mistake"));
    frmPlayNoteWhenSelected = IndentedFrame(chkBeepOnError);
    for (int i = 0; i < 2; ++i) {
        optPlayNoteOnPrompt[i]->setObjectName(QStringLiteral("optPlayNoteOnPrompt%1").arg(i));
        drillGroup->addButton(optPlayNoteOnPrompt[i], i);
    }
    chkEchoEnabled->setObjectName(QStringLiteral("chkEchoEnabled"));
    chkBeepOnError->setObjectName(QStringLiteral("chkBeepOnError"));
    frmPlayNoteOnPrompt->setObjectName(QStringLiteral("frmPlayNoteOnPrompt"));
    frmPlayNoteWhenSelected->setObjectName(QStringLiteral("frmPlayNoteWhenSelected"));
    drillColumn->addWidget(optPlayNoteOnPrompt[0]);
    drillColumn->addWidget(frmPlayNoteOnPrompt);
    drillColumn->addWidget(optPlayNoteOnPrompt[1]);
    drillColumn->addWidget(frmPlayNoteWhenSelected);
    connect(drillGroup, &QButtonGroup::idClicked, this, [this](int id) { EnableDrillStyle(id == 0); });

    auto* symbolFrame = new QGroupBox(tr("Select which symbol to use when displaying a two-named note"), page);
    auto* symbolRow = new QHBoxLayout(symbolFrame);
    auto* symbolGroup = new QButtonGroup(this);
    optFlatSymbolPref[0] = new QRadioButton(tr("Display the 'flat' symbol"), symbolFrame);
    optFlatSymbolPref[1] = new QRadioButton(tr("Display the 'sharp' symbol"), symbolFrame);
    for (int i = 0; i < 2; ++i) {
        optFlatSymbolPref[i]->setObjectName(QStringLiteral("optFlatSymbolPref%1").arg(i));
        symbolGroup->addButton(optFlatSymbolPref[i], i);
        symbolRow->addWidget(optFlatSymbolPref[i]);
    }
    symbolRow->addStretch();
    connect(symbolGroup, &QButtonGroup::idClicked, this, [] { ScaleRebuildPending = true; });

    // "WebBrowser": the first wording had a typo here.
    auto* browserFrame = new QGroupBox(tr("Optional WebBrowser path (i.e. path to file 'iexplore.exe')"), page);
    auto* browserRow = new QHBoxLayout(browserFrame);
    boxWebBrowserPath = new QLineEdit(browserFrame);
    boxWebBrowserPath->setObjectName(QStringLiteral("boxWebBrowserPath"));
    btnBrowse = new QPushButton(tr("Browse"), browserFrame);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    btnBrowse->setAutoDefault(false);
    browserRow->addWidget(boxWebBrowserPath, 1);
    browserRow->addWidget(btnBrowse);
    connect(btnBrowse, &QPushButton::clicked, this, &frmOption::OnBrowse);

    auto* grid = new QGridLayout(page);
    grid->addWidget(guitarFrame, 0, 0);
    grid->addWidget(styleFrame, 0, 1);
    grid->addWidget(drillFrame, 1, 0, 1, 2);
    grid->addWidget(symbolFrame, 2, 0, 1, 2);
    grid->addWidget(browserFrame, 3, 0, 1, 2);
    grid->addLayout(durationRow, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);
    return page;
}

QWidget* frmOption::BuildMidiTab()
{
    auto* page = new QWidget;

    chkEnableSound = new QCheckBox(tr("Enable sound"), page);
    chkEnableSound->setObjectName(QStringLiteral("chkEnableSound"));

    auto* deviceFrame = new QGroupBox(tr("Midi device"), page);
    auto* deviceColumn = new QVBoxLayout(deviceFrame);
    lstMidiDevs = new QListWidget(deviceFrame);
    lstMidiDevs->setObjectName(QStringLiteral("lstMidiDevs"));
    lstMidiDevs->setFixedHeight(lstMidiDevs->fontMetrics().lineSpacing() * 5 + 10);
    deviceColumn->addWidget(lstMidiDevs);
    deviceFrame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    Slider = new QSlider(Qt::Horizontal, page);
    Slider->setObjectName(QStringLiteral("Slider"));
    Slider->setTickPosition(QSlider::TicksBelow);

    numChannel_ = new ScrolledNumberBox(0, 15, page);
    boxChannel = numChannel_->box;
    boxChannel->setObjectName(QStringLiteral("boxChannel"));
    scrollChannel = numChannel_->scroll;
    scrollChannel->setObjectName(QStringLiteral("scrollChannel"));

    numPatch_ = new ScrolledNumberBox(0, 127, page);
    boxPatch = numPatch_->box;
    boxPatch->setObjectName(QStringLiteral("boxPatch"));
    scrollPatch = numPatch_->scroll;
    scrollPatch->setObjectName(QStringLiteral("scrollPatch"));

    numNoteMaxDuration_ = new ScrolledNumberBox(0, 50, page);
    // The bar reaches 5 seconds, but the setting holds any 16-bit number (the note
    // timeout takes 0 or less as 1 second): a longer stored or typed length is kept.
    numNoteMaxDuration_->AcceptTyped(-32768, 32767);
    boxNoteMaxDuration = numNoteMaxDuration_->box;
    boxNoteMaxDuration->setObjectName(QStringLiteral("boxNoteMaxDuration"));
    scrollNoteMaxDuration = numNoteMaxDuration_->scroll;
    scrollNoteMaxDuration->setObjectName(QStringLiteral("scrollNoteMaxDuration"));
    auto* durationRow = new QHBoxLayout;
    durationRow->addWidget(numNoteMaxDuration_);
    durationRow->addWidget(new QLabel(tr("(1/10 seconds)"), page));
    durationRow->addStretch();

    auto* form = new QFormLayout;
    form->addRow(tr("Volume"), Slider);
    form->addRow(tr("Channel"), numChannel_);
    form->addRow(tr("Instrument"), numPatch_);
    form->addRow(tr("Note max duration"), durationRow);

    auto* column = new QVBoxLayout(page);
    column->addWidget(chkEnableSound);
    column->addWidget(deviceFrame);
    column->addLayout(form);
    column->addStretch();
    return page;
}

QWidget* frmOption::BuildLessonsTab()
{
    auto* page = new QWidget;

    auto* levelFrame = new QGroupBox(tr("Level"), page);
    auto* levelColumn = new QVBoxLayout(levelFrame);
    lstLessons = new QListWidget(levelFrame);
    lstLessons->setObjectName(QStringLiteral("lstLessons"));
    levelColumn->addWidget(lstLessons);
    connect(lstLessons, &QListWidget::currentItemChanged, this, &frmOption::OnLessonChosen);

    auto* definitionFrame = new QGroupBox(tr("Definition"), page);
    cboKey = new QComboBox(definitionFrame);
    cboKey->setObjectName(QStringLiteral("cboKey"));
    txtKey = new QLineEdit(definitionFrame);
    txtKey->setObjectName(QStringLiteral("txtKey"));
    cboScale = new QComboBox(definitionFrame);
    cboScale->setObjectName(QStringLiteral("cboScale"));
    txtScale = new QLineEdit(definitionFrame);
    txtScale->setObjectName(QStringLiteral("txtScale"));
    for (QLineEdit* text : {txtKey, txtScale})
        text->setReadOnly(true);
    // A key or scale of the learner's own changes what the board shows.
    for (QComboBox* box : {cboKey, cboScale})
        connect(box, &QComboBox::activated, this, [] { ScaleRebuildPending = true; });
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(cboKey);
    keyRow->addWidget(txtKey);
    auto* scaleRow = new QHBoxLayout;
    scaleRow->addWidget(cboScale);
    scaleRow->addWidget(txtScale);

    lstPatterns = new QListWidget(definitionFrame);
    lstPatterns->setObjectName(QStringLiteral("lstPatterns"));
    lstPatterns->setSelectionMode(QAbstractItemView::NoSelection);
    lstPatterns->setFixedHeight(lstPatterns->fontMetrics().lineSpacing() * 3 + 8);

    lstHilitedPatterns = new QListWidget(definitionFrame);
    lstHilitedPatterns->setObjectName(QStringLiteral("lstHilitedPatterns"));
    lstHilitedPatterns->setSelectionMode(QAbstractItemView::MultiSelection);
    lstHilitedPatterns->setFixedHeight(lstHilitedPatterns->fontMetrics().lineSpacing() * 7 + 10);
    connect(lstHilitedPatterns, &QListWidget::itemSelectionChanged, this, &frmOption::OnHilitedPatternsChanged);

    chkHideInvalids = new QCheckBox(tr("Hide invalid notes"), definitionFrame);
    chkHideInvalids->setObjectName(QStringLiteral("chkHideInvalids"));
    connect(chkHideInvalids, &QCheckBox::clicked, this, [] { ScaleRebuildPending = true; });
    chkBluesNotesOnly = new QCheckBox(tr("Pentatonic notes only"), definitionFrame);
    chkBluesNotesOnly->setObjectName(QStringLiteral("chkBluesNotesOnly"));

    auto* form = new QFormLayout;
    form->addRow(tr("Key:"), keyRow);
    form->addRow(tr("Scale:"), scaleRow);
    form->addRow(tr("Patterns:"), lstPatterns);
    form->addRow(tr("Hilite") + QLatin1Char('\n') + tr("patterns:"), lstHilitedPatterns);
    form->addRow(chkHideInvalids);
    form->addRow(chkBluesNotesOnly);
    auto* definitionColumn = new QVBoxLayout(definitionFrame);
    definitionColumn->addLayout(form);
    definitionColumn->addStretch();

    auto* row = new QHBoxLayout(page);
    row->addWidget(levelFrame, 1);
    row->addWidget(definitionFrame, 1);
    return page;
}

// --- Load -------------------------------------------------------------------------

void frmOption::Load()
{
    boolFretboardStyleChanged = false;
    ShowDrillStyle();

    optFlatSymbolPref[FlatSymbolPref ? 0 : 1]->setChecked(true);
    optFretboardStyle[FretboardStyle == 0 ? 0 : 1]->setChecked(true);
    intCurrFretboardStyle = static_cast<qint16>(FretboardStyle);

    if (GuitarType >= 0 && GuitarType < static_cast<qint32>(optGuitarType.size()))
        optGuitarType[static_cast<size_t>(GuitarType)]->setChecked(true);
    // A bass keeps the style it was stored with, but cannot be given the realistic one.
    optFretboardStyle[0]->setEnabled(GuitarType == 0);
    intCurrGuitarType = static_cast<qint16>(GuitarType);

    boxWebBrowserPath->setText(WebBrowserPath);
    numTestDuration_->SetValue(TestDuration);

    LoadDevices();
    LoadMidiValues();

    LoadLessonList();
    if (QListWidgetItem* lesson = lstLessons->currentItem())
        LoadLessonDefinition(static_cast<qint16>(EntryData(lesson)));
    SSTab1->setCurrentIndex(0);
    RememberImmediateChoices();
}

void frmOption::LoadDevices()
{
    MidiDevices devices;
    QString message;
    if (!GetMidiDevices(devices, message)) {
        ShowMessage(message, MsgPlain);
        return;
    }
    for (int position = 1; position <= devices.Count(); ++position)
        AddListEntry(lstMidiDevs, devices.Item(position), position - 2);
    QListWidgetItem* current = FindEntry(lstMidiDevs, MidiDeviceId);
    // With sound off the device id was never looked up: the stored name says which.
    if (!EnableSound && !CurDeviceName.isEmpty())
        if (QListWidgetItem* named = FindEntry(lstMidiDevs, CurDeviceName))
            current = named;
    lstMidiDevs->setCurrentItem(current);
}

void frmOption::LoadMidiValues()
{
    Slider->setRange(MixerMinValue, MixerMaxValue);
    Slider->setPageStep(std::max(1, (MixerMaxValue - MixerMinValue) / 10));
    Slider->setTickInterval(Slider->pageStep());
    Slider->setValue(MixerVolume);
    numChannel_->SetValue(Channel);
    numPatch_->SetValue(Patch);
    numNoteMaxDuration_->SetValue(NoteMaxDuration);
    chkEnableSound->setChecked(EnableSound);
}

void frmOption::LoadLessonList()
{
    const QSignalBlocker blocker(lstLessons);
    lstLessons->clear();
    for (const LessonsItem& entry : lessons_) {
        const LessonInterface* lesson = entry.objLesson.get();
        if (lesson && (lesson->intLessonType == LessonFixedScale || lesson->intLessonType == LessonCustomScale))
            AddListEntry(lstLessons, lesson->strName, entry.Key.toInt());
    }
    lstLessons->setCurrentItem(FindEntry(lstLessons, CurrLessonKey));
}

void frmOption::LoadLessonDefinition(qint16 lessonKey)
{
    const LessonsItem* entry = lessons_.Find(QString::number(lessonKey));
    const LessonInterface* lesson = entry ? entry->objLesson.get() : nullptr;
    if (!lesson)
        return;
    const bool custom = lesson->intLessonType == LessonCustomScale;
    const int key = custom ? CurrCustomKey : lesson->intKey;
    const int scale = custom ? CurrCustomScale : lesson->intScale;

    {
        const QSignalBlocker keyBlocker(cboKey);
        const QSignalBlocker scaleBlocker(cboScale);
        cboKey->clear();
        for (int id = 1; id <= KeyNames.Count(); ++id)
            cboKey->addItem(KeyText(id), id);
        cboKey->setCurrentIndex(cboKey->findData(key));
        txtKey->setText(cboKey->currentText());
        cboScale->clear();
        for (int id = 1; id <= ScaleNames.Count(); ++id)
            cboScale->addItem(ScaleText(id), id);
        cboScale->setCurrentIndex(cboScale->findData(scale));
        txtScale->setText(cboScale->currentText());
    }

    lstPatterns->clear();
    for (const Pattern& pattern : ScalePatterns)
        if (pattern.intScale == scale && HoldsPattern(lesson->intValidPatterns, pattern.intPatternNum))
            AddListEntry(lstPatterns, PatternText(pattern), pattern.intPatternNum);

    chkHideInvalids->setChecked(HideInvalidNotes);
    chkBluesNotesOnly->setChecked(BluesNotesOnly);

    {
        const QSignalBlocker blocker(lstHilitedPatterns);
        lstHilitedPatterns->clear();
        QListWidgetItem* current = AddListEntry(lstHilitedPatterns, tr("None"), 0);
        QListWidgetItem* none = current;
        for (const Pattern& pattern : ScalePatterns) {
            if (pattern.intScale != scale)
                continue;
            QListWidgetItem* item = AddListEntry(lstHilitedPatterns, PatternText(pattern), pattern.intPatternNum);
            const bool shown = custom ? pattern.intPatternNum == CurrCustomPattern
                                      : HoldsPattern(VisiblePatterns, pattern.intPatternNum);
            if (shown) {
                item->setSelected(true);
                current = item;
            }
        }
        none->setSelected(current == none);
        lstHilitedPatterns->setCurrentItem(current, QItemSelectionModel::NoUpdate);
    }

    cboKey->setVisible(custom);
    cboKey->setEnabled(custom);
    cboScale->setVisible(custom);
    cboScale->setEnabled(custom);
    txtKey->setVisible(!custom);
    txtKey->setEnabled(false);
    txtScale->setVisible(!custom);
    txtScale->setEnabled(false);
    lstHilitedPatterns->setEnabled(custom);
}

// --- General tab --------------------------------------------------------------------

void frmOption::ShowDrillStyle()
{
    optPlayNoteOnPrompt[PlayNoteOnPrompt ? 0 : 1]->setChecked(true);
    EnableDrillStyle(PlayNoteOnPrompt);
    chkBeepOnError->setChecked(BeepOnError);
    chkEchoEnabled->setChecked(EchoEnabled);
}

void frmOption::EnableDrillStyle(bool playNoteOnPrompt)
{
    frmPlayNoteOnPrompt->setEnabled(playNoteOnPrompt);
    chkEchoEnabled->setEnabled(playNoteOnPrompt);
    frmPlayNoteWhenSelected->setEnabled(!playNoteOnPrompt);
    chkBeepOnError->setEnabled(!playNoteOnPrompt);
}

void frmOption::OnGuitarTypeClicked(int guitarType)
{
    if (guitarType != 0)
        optFretboardStyle[1]->setChecked(true);
    optFretboardStyle[0]->setEnabled(guitarType == 0);
}

void frmOption::OnBrowse()
{
    QString fileName;
    QString directory;
    SplitPath(boxWebBrowserPath->text(), fileName, directory);
    const QString chosen =
        cdlgFile(this, tr("Please indicate the position of your WebBrowser, preferably IE4"), directory, fileName);
    if (!chosen.isEmpty())
        boxWebBrowserPath->setText(chosen);
}

void frmOption::SaveDrillStyle()
{
    PlayNoteOnPrompt = optPlayNoteOnPrompt[0]->isChecked();
    BeepOnError = chkBeepOnError->isChecked();
    EchoEnabled = chkEchoEnabled->isChecked();
    PrevNoteEchoDuration = PlayNoteOnPrompt ? 500 : 0;
}

void frmOption::SaveGeneralTab()
{
    SaveDrillStyle();
    FlatSymbolPref = optFlatSymbolPref[0]->isChecked();
    FretboardStyle = optFretboardStyle[0]->isChecked() ? 0 : 1;
    for (size_t i = 0; i < optGuitarType.size(); ++i)
        if (optGuitarType[i]->isChecked())
            GuitarType = static_cast<qint32>(i);
    if (FretboardStyle != intCurrFretboardStyle || GuitarType != intCurrGuitarType)
        boolFretboardStyleChanged = true;
    WebBrowserPath = boxWebBrowserPath->text();
    TestDuration = static_cast<qint16>(numTestDuration_->Value());
}

// --- Midi tab -----------------------------------------------------------------------

void frmOption::SaveMidiTab()
{
    if (const QListWidgetItem* device = lstMidiDevs->currentItem()) {
        CurDeviceName = device->text();
        MidiDeviceId = EntryData(device);
    }
    Channel = static_cast<qint16>(numChannel_->Value());
    Patch = static_cast<qint16>(numPatch_->Value());
    NoteMaxDuration = static_cast<qint16>(numNoteMaxDuration_->Value());
    MixerVolume = Slider->value();
    if (EnableSound) {
        QString message;
        if (!GetMixer().SetVolume(MixerVolume, message))
            ShowMessage(tr("Unable to set the current MIDI device volume. ") + message, MsgPlain);
    }
    EnableSound = chkEnableSound->isChecked();
}

// --- Lessons tab --------------------------------------------------------------------

void frmOption::OnLessonChosen()
{
    const QListWidgetItem* item = lstLessons->currentItem();
    if (!item)
        return;
    const auto key = static_cast<qint16>(EntryData(item));
    if (key == CurrLessonKey)
        return;
    const LessonsItem* entry = lessons_.Find(QString::number(key));
    if (!entry || !entry->objLesson)
        return;
    CurrLessonKey = key;
    CurrPattern = entry->objLesson->intSelectedPattern;
    VisiblePatterns.Clear();
    VisiblePatterns.Add(QString::number(CurrPattern));
    LoadLessonDefinition(key);
    ScaleRebuildPending = true;
}

void frmOption::OnHilitedPatternsChanged()
{
    ScaleRebuildPending = true;
    // "None" and a pattern exclude each other; an empty choice means "None".
    const QSignalBlocker blocker(lstHilitedPatterns);
    QListWidgetItem* none = lstHilitedPatterns->item(0);
    QListWidgetItem* current = lstHilitedPatterns->currentItem();
    if (!none)
        return;
    if (current == none && none->isSelected()) {
        for (int row = 1; row < lstHilitedPatterns->count(); ++row)
            lstHilitedPatterns->item(row)->setSelected(false);
    } else if (current && current->isSelected()) {
        none->setSelected(false);
    }
    if (lstHilitedPatterns->selectedItems().isEmpty()) {
        none->setSelected(true);
        lstHilitedPatterns->setCurrentItem(none, QItemSelectionModel::NoUpdate);
    }
    lstHilitedPatterns->viewport()->update();
}

void frmOption::SaveLessonsTab()
{
    VisiblePatterns.Clear();
    CurrPattern = 0;
    const QListWidgetItem* current = lstHilitedPatterns->currentItem();
    if (current && EntryData(current) != 0) {
        for (int row = 0; row < lstHilitedPatterns->count(); ++row) {
            const QListWidgetItem* item = lstHilitedPatterns->item(row);
            const int pattern = EntryData(item);
            if (item->isSelected() && pattern != 0) {
                VisiblePatterns.Add(QString::number(pattern));
                CurrPattern = static_cast<qint16>(pattern);
            }
        }
    }
    if (startup_.GetCurrActivity() != ActivityPatternPlay)
        SavedPattern = CurrPattern;
    if (const QListWidgetItem* lesson = lstLessons->currentItem())
        CurrLessonKey = static_cast<qint16>(EntryData(lesson));

    LessonInterface* lesson = startup_.CurrentLesson();
    if (lesson && lesson->intLessonType == LessonCustomScale) {
        const int key = cboKey->currentData().toInt();
        const int scale = cboScale->currentData().toInt();
        lesson->ReInitialize(key, scale, &startup_, startup_.objFretlore->objSheet, startup_.objFretlore->objFretboard,
                             GetNotes());
        CurrCustomKey = static_cast<qint16>(key);
        CurrCustomScale = static_cast<qint16>(scale);
        CurrCustomPattern = static_cast<qint16>(EntryData(current));
    }
    startup_.UpdateScaleValues();
    startup_.UpdateToolbar();

    HideInvalidNotes = chkHideInvalids->isChecked();
    BluesNotesOnly = chkBluesNotesOnly->isChecked();
}

// --- Buttons ------------------------------------------------------------------------

bool frmOption::CheckNumberBoxes()
{
    for (ScrolledNumberBox* box : {numTestDuration_, numChannel_, numPatch_, numNoteMaxDuration_})
        if (!box->CheckValue())
            return false;
    return true;
}

void frmOption::ApplyClicked()
{
    if (!CheckNumberBoxes())
        return;
    SaveGeneralTab();
    SaveMidiTab();
    SaveLessonsTab();
    if (EnableSound) {
        QString message;
        if (InitMidi(message)) {
            // Sound start-up reads the volume control's range and level afresh.
            LoadMidiValues();
        } else {
            chkEnableSound->setChecked(false);
            EnableSound = false;
            ShowMessage(message, MsgPlain);
        }
    }
    RememberImmediateChoices();
}

void frmOption::OkClicked()
{
    if (!CheckNumberBoxes())
        return;
    SaveGeneralTab();
    SaveMidiTab();
    SaveLessonsTab();
    QString message;
    if (!SaveSettings(message))
        ShowMessage(message, MsgPlain);
    accept();
}

void frmOption::RememberImmediateChoices()
{
    choicesAtStart_.lessonKey = CurrLessonKey;
    choicesAtStart_.pattern = CurrPattern;
    choicesAtStart_.visiblePatterns = VisiblePatterns;
    choicesAtStart_.rebuildPending = ScaleRebuildPending;
}

void frmOption::reject()
{
    CurrLessonKey = choicesAtStart_.lessonKey;
    CurrPattern = choicesAtStart_.pattern;
    VisiblePatterns = choicesAtStart_.visiblePatterns;
    ScaleRebuildPending = choicesAtStart_.rebuildPending;
    QDialog::reject();
}
