#include "app/MessageBoxHook.h"
#include "core/Messages.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fretlore"));
    QApplication::setApplicationVersion(QStringLiteral(FRETLORE_VERSION));

    InstallMessageBoxHook();

    QMainWindow window;
    window.setWindowTitle(ApplicationTitle());
    window.resize(800, 600);
    window.show();
    return app.exec();
}
