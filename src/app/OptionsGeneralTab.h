#pragma once
// The options dialog's "General" tab: instrument, fretboard picture, which way the neck
// is turned, drill style, note spelling, the web browser path and the test length.

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class RadioGroup;
class ScrolledNumberBox;
class TuningPicker;
struct Settings;

class OptionsGeneralTab : public QWidget {
    Q_OBJECT
public:
    // Asks for a file to open: title, start folder and file name; an empty result means
    // the user cancelled.
    using FileChooser = std::function<QString(QWidget* parent, const QString& title, const QString& directory,
                                              const QString& fileName)>;
    static FileChooser DesktopFileChooser();

    explicit OptionsGeneralTab(QWidget* parent = nullptr);

    void Load(const Settings& settings);
    // False after telling the user which typed value cannot be taken.
    bool CheckValues();
    void Save(Settings& settings) const;

    // The "Browse" button's file dialog; tests put their own here.
    FileChooser cdlgFile;

    RadioGroup* optGuitarType = nullptr;
    TuningPicker* tuningPicker = nullptr;
    RadioGroup* optFretboardStyle = nullptr;
    RadioGroup* optFlatSymbolPref = nullptr;
    QCheckBox* chkLeftHandedNeck = nullptr;
    std::array<QRadioButton*, 2> optLowestString{}; // at the top, at the bottom
    std::array<QRadioButton*, 2> optPlayNoteOnPrompt{};
    QFrame* frmPlayNoteOnPrompt = nullptr;
    QFrame* frmPlayNoteWhenSelected = nullptr;
    QCheckBox* chkEchoEnabled = nullptr;
    QCheckBox* chkBeepOnError = nullptr;
    ScrolledNumberBox* numTestDuration = nullptr;
    QLineEdit* boxWebBrowserPath = nullptr;
    QPushButton* btnBrowse = nullptr;

private:
    QWidget* BuildDrillStyle();
    QWidget* BuildNeck();
    void EnableDrillStyle(bool playNoteOnPrompt);
    void OnGuitarTypeClicked(int guitarType);
    void OnTuningChanged();
    void EnableFretboardStyles(int guitarType);
    void OnBrowse();
};
