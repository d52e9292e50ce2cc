#pragma once
// The about box: title, version, what the program is for, its web address (opens the
// WebRedirect.htm page shipped with the program), a legal warning, and the system
// information dialog. Double-clicking the icon shows the version comment.

#include <QDialog>
#include <QUrl>

#include <functional>

class QLabel;
class QPushButton;

// Opens a URL in the desktop's browser; false when it could not. Tests pass their own.
using UrlOpener = std::function<bool(const QUrl&)>;

class FrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit FrmAbout(QWidget* parent = nullptr, UrlOpener opener = DesktopUrlOpener());

    static UrlOpener DesktopUrlOpener();
    static QString ProductUrl();
    static QString VersionComment();
    // The page the address label opens: WebRedirect.htm in the data folder.
    static QString WebRedirectPath();

    // Opens WebRedirect.htm; says so when it cannot. Also the address label's click.
    void OpenWebPage();
    // Shows the system information dialog modally.
    void StartSysInfo();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();

    UrlOpener urlOpener;

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblUrl = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
};
