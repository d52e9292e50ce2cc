#pragma once
// A small pop-up window showing one help topic; it closes on a click outside it.
// Links in it open the full help window.

#include <QFrame>

class QTextBrowser;

class HelpPopup : public QFrame {
    Q_OBJECT

public:
    HelpPopup(const QString& helpFile, const QUrl& page, QWidget* parent = nullptr);

    QUrl CurrentUrl() const;
    // Shows the pop-up beside the point, kept inside the screen.
    void PopupAt(const QPoint& globalPos);

private:
    QString strHelpFile;
    QTextBrowser* txtPage = nullptr;
};
