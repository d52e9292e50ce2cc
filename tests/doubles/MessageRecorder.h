#pragma once
// Records every message box and status text, and answers the boxes from a queue
// (default: the first button). Restores the previous hooks when it goes.

#include "core/Messages.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <ostream>
#include <vector>

// Readable QStrings in test failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

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
    QString allMessages() const
    {
        QStringList texts;
        for (const Shown& s : shown)
            texts << s.text;
        return texts.join(QStringLiteral(" | "));
    }

    std::vector<Shown> shown;
    std::deque<int> answers;
    QStringList statusTexts;

private:
    MessageHook previousMessage_;
    StatusHook previousStatus_;
};
