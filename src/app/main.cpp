#include "app/FrmSplash.h"
#include "app/FrmStartup.h"
#include "app/Help.h"
#include "app/MessageBoxHook.h"
#include "app/ProgramArt.h"
#include "core/Messages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fretlore"));
    QApplication::setApplicationVersion(QStringLiteral(FRETLORE_VERSION));
    // Lets Wayland and the task bar tie our windows to the installed desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.fretlore.Fretlore"));
    QApplication::setWindowIcon(ProgramIcon());
    InstallMessageBoxHook();

    SplashShown = false;
    auto* splash = new FrmSplash;
    QPointer<FrmSplash> splashAlive(splash);
    splash->show();
    // Wait for the splash to be on screen, but never for long: a desktop that does not
    // show it must not hold the program up.
    QElapsedTimer waited;
    waited.start();
    while (!SplashShown && waited.elapsed() < 500)
        QApplication::processEvents(QEventLoop::AllEvents, 20);

    FrmStartup window;
    window.show();
    const FrmStartup::LoadResult result = window.Load(splashAlive.data());
    if (splashAlive)
        splashAlive->Unload();
    if (result == FrmStartup::LoadResult::EndProgram || window.EndRequested())
        return 1;
    return app.exec();
}
