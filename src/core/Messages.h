#pragma once
// Message boxes and the status line, reached through hooks so that the windows can
// supply the real dialogs and tests can read and answer every message.

#include <QString>

#include <functional>

// Button results of a message box.
enum MessageResult { MsgOk = 1, MsgCancel = 2, MsgYes = 6, MsgNo = 7 };

// Styles in use: -1 and 0 plain OK, 1 OK/Cancel, 3 Yes/No/Cancel, 4 Yes/No, 64 OK with
// an information icon.
enum MessageStyle {
    MsgPlain = -1,
    MsgOkOnly = 0,
    MsgOkCancel = 1,
    MsgYesNoCancel = 3,
    MsgYesNo = 4,
    MsgInformation = 64
};

QString ApplicationTitle();

// Receives the title, the text and the style (never -1: that is passed on as 0) and
// returns the button that closed the box.
using MessageHook = std::function<int(const QString& title, const QString& text, int style)>;
using StatusHook = std::function<void(const QString& text)>;

// Replace the hook; returns the previous one. An empty hook restores the default,
// which writes to stderr and answers with the first button of the box.
MessageHook SetMessageHook(MessageHook hook);
StatusHook SetStatusHook(StatusHook hook);

int ShowMessage(const QString& text, int style);
void SetStatusText(const QString& text);

// Splits at the last directory separator ("/" or "\"). False for an empty path,
// leaving the outputs untouched; the directory keeps its trailing separator.
bool SplitPath(const QString& fullPath, QString& fileName, QString& directory);
