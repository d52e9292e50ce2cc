#pragma once
// The help routines the windows call. Each takes the help file, the contents page of
// the HTML help book (HelpFile() unless the start-up set another).

#include <QString>
#include <QtGlobal>

class HelpPopup;
class HelpWindow;
class QWidget;

// The application's help file: data/help/index.html until SetHelpFile says otherwise.
QString HelpFile();
void SetHelpFile(const QString& path);

// The help window at the book's contents. The one help window is created on first
// use and raised on later calls.
HelpWindow* ShowHelpContents(const QString& helpFile);

// The help window at a numbered topic (the contents when the topic is unknown).
HelpWindow* ShowHelpContext(const QString& helpFile, qint32 topic);

// A pop-up showing a numbered topic beside the mouse pointer. It deletes itself when
// closed; null when the topic is unknown (the help window opens instead).
HelpPopup* ShowHelpPopup(const QString& helpFile, qint32 topic, QWidget* parent = nullptr);
