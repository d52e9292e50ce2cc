#pragma once
// Helpers shared by the tests: reading and answering message boxes, capturing the
// status line, and starting from known settings.

#include "core/Messages.h"
#include "core/Selection.h"
#include "core/Settings.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <deque>
#include <ostream>

// Readable QStrings in test failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

// Records every message box and answers them from a queue (default: the first
// button). Restores the previous hooks when it goes.
class MessageRecorder {
public:
    struct Shown {
        QString text;
        int style;
    };

    MessageRecorder()
    {
        previousMessage_ = SetMessageHook([this](const QString&, const QString& text, int style) {
            shown.push_back({text, style});
            if (!answers.empty()) {
                const int answer = answers.front();
                answers.pop_front();
                return answer;
            }
            return (style & 0x0F) == MsgYesNoCancel || (style & 0x0F) == MsgYesNo ? int(MsgYes) : int(MsgOk);
        });
        previousStatus_ = SetStatusHook([this](const QString& text) { statusTexts.push_back(text); });
    }
    ~MessageRecorder()
    {
        SetMessageHook(previousMessage_);
        SetStatusHook(previousStatus_);
    }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    QString lastStatus() const { return statusTexts.isEmpty() ? QString() : statusTexts.last(); }
    QString lastMessage() const { return shown.empty() ? QString() : shown.back().text; }

    std::vector<Shown> shown;
    std::deque<int> answers;
    QStringList statusTexts;

private:
    MessageHook previousMessage_;
    StatusHook previousStatus_;
};

// Empties the settings store and loads the defaults.
inline void LoadDefaultSettings()
{
    {
        QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Fretlore"),
                        QStringLiteral("Fretlore"));
        store.clear();
        store.sync();
    }
    ResetSettingsToUnloaded();
    QString message;
    LoadSettings(message);
}
