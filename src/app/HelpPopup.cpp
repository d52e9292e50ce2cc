#include "app/HelpPopup.h"

#include "app/Help.h"
#include "app/HelpWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpPopup::HelpPopup(const QString& helpFile, const QUrl& page, QWidget* parent)
    : QFrame(parent, Qt::Popup)
    , strHelpFile(helpFile)
{
    setObjectName(QStringLiteral("HelpPopup"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Box);

    txtPage = new QTextBrowser(this);
    txtPage->setObjectName(QStringLiteral("txtPage"));
    txtPage->setFrameShape(QFrame::NoFrame);
    txtPage->setOpenLinks(false);
    txtPage->document()->setDocumentMargin(12);
    txtPage->setSource(page);
    // A link leads on into the full help window; the pop-up has done its job.
    connect(txtPage, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        ShowHelpContents(strHelpFile)->ShowUrl(txtPage->source().resolved(url));
        close();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(txtPage);
    resize(460, 320);
}

QUrl HelpPopup::CurrentUrl() const
{
    return txtPage->source();
}

void HelpPopup::PopupAt(const QPoint& globalPos)
{
    QPoint topLeft = globalPos + QPoint(12, 12);
    if (const QScreen* screen = QGuiApplication::screenAt(globalPos)) {
        const QRect area = screen->availableGeometry();
        topLeft.setX(qBound(area.left(), topLeft.x(), area.right() - width()));
        topLeft.setY(qBound(area.top(), topLeft.y(), area.bottom() - height()));
    }
    move(topLeft);
    show();
}
