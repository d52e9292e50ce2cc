#pragma once
// The tip-of-the-day window. Created for each showing: on construction it reads the
// tip switch and, when that is 0, unloads itself at once (check UnloadedAtLoad before
// showing it). Otherwise it loads the tips file and shows its first line.

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

class FrmTip : public QDialog {
    Q_OBJECT

public:
    // tipsPath: the tips file, one tip per line; by default TIPOFDAY.TXT in the data folder.
    explicit FrmTip(QWidget* parent = nullptr, const QString& tipsPath = DefaultTipsPath());

    static QString DefaultTipsPath();

    // Reads every line of the file as a tip and shows the first. False for an empty
    // path or a missing file.
    bool LoadTips(const QString& path);
    void DisplayCurrentTip();
    void DoNextTip();

    bool UnloadedAtLoad() const { return boolUnloadedAtLoad; }
    QString TipText() const;
    qint32 GetCurrentTip() const { return CurrentTip; }
    qsizetype TipCount() const { return Tips.size(); }

private:
    void BuildControls();
    void ShowMissingFileText();

    QStringList Tips;
    qint32 CurrentTip = 0; // 1-based; 0 before the first tip is shown
    bool boolUnloadedAtLoad = false;

    QLabel* Picture1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblTipText = nullptr;
    QCheckBox* chkLoadTipsAtStartup = nullptr;
    QPushButton* cmdNextTip = nullptr;
    QPushButton* cmdOK = nullptr;
};
