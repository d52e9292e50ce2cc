#pragma once
// The window shown while the program starts: name, version and where to get help.
// A key press or a click closes it early; otherwise the main window closes it when it
// has loaded.

#include <QWidget>

class QLabel;
class QFrame;

extern bool SplashShown;

class FrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit FrmSplash(QWidget* parent = nullptr);

    // Closes the window; closing it again does nothing.
    void Unload();

    QFrame* Frame1 = nullptr;
    QLabel* imgLogo = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblCompany = nullptr;
    QLabel* lblPlatform = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblMaker = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
