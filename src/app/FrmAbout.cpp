#include "app/FrmAbout.h"

#include "app/ProgramArt.h"
#include "app/SystemInfoDialog.h"
#include "core/Messages.h"
#include "core/Paths.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

FrmAbout::FrmAbout(QWidget* parent, UrlOpener opener)
    : QDialog(parent)
    , urlOpener(std::move(opener))
{
    setObjectName(QStringLiteral("FrmAbout"));
    BuildControls();
}

UrlOpener FrmAbout::DesktopUrlOpener()
{
    return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

QString FrmAbout::ProductUrl()
{
    return QStringLiteral("https://www.fretlore.org");
}

QString FrmAbout::VersionComment()
{
    return tr("Fretlore %1, the fretboard trainer for guitar and bass players. "
              "Built with Qt %2.")
        .arg(QStringLiteral(FRETLORE_VERSION), QStringLiteral(QT_VERSION_STR));
}

QString FrmAbout::WebRedirectPath()
{
    return ProgramDataPath(QStringLiteral("WebRedirect.htm"));
}

void FrmAbout::BuildControls()
{
    setWindowTitle(tr("About ") + ApplicationTitle());
    setWindowIcon(ProgramIcon());

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(DrawProgramIcon(72, devicePixelRatioF()));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    picIcon->setToolTip(tr("Double-click for the version comment"));
    picIcon->installEventFilter(this);

    lblTitle = new QLabel(ApplicationTitle(), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2.0);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    lblVersion = new QLabel(tr("Version ") + QStringLiteral(FRETLORE_VERSION) + QLatin1Char(' ') +
                                tr("(\u00A9 The Fretlore developers)"),
                            this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    // "guitar": the first wording had a typo here.
    lblDescription = new QLabel(
        tr("The computer program that teaches you to know the guitar fretboard like the back "
           "of your hand. Please go to the following Url if you need more information:"),
        this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);

    // Shown as a link, but the click opens the local redirect page, which an installed
    // copy can point anywhere without a new build.
    lblUrl = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(ProductUrl()), this);
    lblUrl->setObjectName(QStringLiteral("lblUrl"));
    lblUrl->setTextFormat(Qt::RichText);
    lblUrl->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    lblUrl->setCursor(Qt::PointingHandCursor);
    connect(lblUrl, &QLabel::linkActivated, this, [this] { OpenWebPage(); });

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    lblDisclaimer = new QLabel(
        tr("Warning: this program is protected by copyright law. It is provided as is, "
           "without warranty of any kind; in no event shall its authors be liable for any "
           "damage arising from its use."),
        this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setForegroundRole(QPalette::PlaceholderText);
    QFont smallFont = lblDisclaimer->font();
    smallFont.setPointSizeF(smallFont.pointSizeF() * 0.9);
    lblDisclaimer->setFont(smallFont);

    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(tr("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &FrmAbout::StartSysInfo);

    auto* textColumn = new QVBoxLayout;
    textColumn->setSpacing(8);
    textColumn->addWidget(lblTitle);
    textColumn->addWidget(lblVersion);
    textColumn->addSpacing(8);
    textColumn->addWidget(lblDescription);
    textColumn->addWidget(lblUrl);
    textColumn->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(20);
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addLayout(textColumn, 1);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(20);
    bottom->addWidget(lblDisclaimer, 1);
    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(cmdOK);
    buttonColumn->addWidget(cmdSysInfo);
    bottom->addLayout(buttonColumn);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->addLayout(top, 1);
    layout->addWidget(rule);
    layout->addLayout(bottom);
    setFixedWidth(520);
}

void FrmAbout::OpenWebPage()
{
    const QString page = WebRedirectPath();
    const bool opened = QFileInfo::exists(page) && urlOpener &&
                        urlOpener(QUrl::fromLocalFile(page));
    if (!opened)
        ShowMessage(tr("Please enter the address manually into your web browser."), MsgPlain);
}

void FrmAbout::StartSysInfo()
{
    SystemInfoDialog dialog(this);
    dialog.exec();
}

bool FrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picIcon && event->type() == QEvent::MouseButtonDblClick) {
        ShowMessage(VersionComment(), MsgPlain);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
