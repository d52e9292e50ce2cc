#include "app/Help.h"

#include "app/HelpBook.h"
#include "app/HelpPopup.h"
#include "app/HelpWindow.h"
#include "core/Paths.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPointer>

namespace {

QString& ApplicationHelpFile()
{
    static QString path;
    return path;
}

// The one help window, kept alive until it is closed or the program ends.
HelpWindow* TheHelpWindow(const QString& helpFile)
{
    static QPointer<HelpWindow> window;
    if (window && window->HelpFile() != helpFile)
        delete window;
    if (!window) {
        window = new HelpWindow(helpFile);
        window->setAttribute(Qt::WA_DeleteOnClose);
        // A parentless window outlives the event loop unless it is deleted here.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window,
                         [closing = window.data()] { delete closing; });
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace

QString HelpFile()
{
    const QString& path = ApplicationHelpFile();
    return path.isEmpty() ? ProgramDataPath(QStringLiteral("help/index.html")) : path;
}

void SetHelpFile(const QString& path)
{
    ApplicationHelpFile() = path;
}

HelpWindow* ShowHelpContents(const QString& helpFile)
{
    HelpWindow* window = TheHelpWindow(helpFile);
    window->ShowContents();
    return window;
}

HelpWindow* ShowHelpContext(const QString& helpFile, qint32 topic)
{
    HelpWindow* window = TheHelpWindow(helpFile);
    window->ShowTopic(topic);
    return window;
}

HelpPopup* ShowHelpPopup(const QString& helpFile, qint32 topic, QWidget* parent)
{
    const HelpBook book(helpFile);
    const QUrl page = book.TopicUrl(topic);
    if (!book.Exists() || page.isEmpty()) {
        ShowHelpContext(helpFile, topic);
        return nullptr;
    }
    auto* popup = new HelpPopup(helpFile, page, parent);
    popup->PopupAt(QCursor::pos());
    return popup;
}
