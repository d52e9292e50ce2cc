#pragma once
// The program's help viewer: the book's contents on the left, the page on the right,
// with back, forward and contents buttons. One window serves the whole program.

#include "app/HelpBook.h"

#include <QMainWindow>

class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

class HelpWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit HelpWindow(const QString& helpFile, QWidget* parent = nullptr);

    void ShowContents();
    // False (and the contents shown instead) when the book has no such topic.
    bool ShowTopic(qint32 topic);
    void ShowUrl(const QUrl& url);

    QUrl CurrentUrl() const;
    QString CurrentTitle() const;
    QString HelpFile() const { return strHelpFile; }

private:
    void BuildContentsTree();
    void PageChanged(const QUrl& url);
    void ShowMissingBook();

    QString strHelpFile;
    HelpBook book;
    QTreeWidget* treeContents = nullptr;
    QTextBrowser* txtPage = nullptr;
};
