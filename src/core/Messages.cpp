#include "core/Messages.h"

#include <QCoreApplication>

#include <cstdio>
#include <utility>

namespace {

int FirstButtonOf(int style)
{
    return (style & 0x0F) == MsgYesNoCancel || (style & 0x0F) == MsgYesNo ? MsgYes : MsgOk;
}

int DefaultMessageHook(const QString& title, const QString& text, int style)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    return FirstButtonOf(style);
}

MessageHook& CurrentMessageHook()
{
    static MessageHook hook = DefaultMessageHook;
    return hook;
}

StatusHook& CurrentStatusHook()
{
    static StatusHook hook;
    return hook;
}

} // namespace

QString ApplicationTitle()
{
    return QStringLiteral("Fretlore");
}

MessageHook SetMessageHook(MessageHook hook)
{
    MessageHook previous = std::move(CurrentMessageHook());
    CurrentMessageHook() = hook ? std::move(hook) : MessageHook(DefaultMessageHook);
    return previous;
}

StatusHook SetStatusHook(StatusHook hook)
{
    StatusHook previous = std::move(CurrentStatusHook());
    CurrentStatusHook() = std::move(hook);
    return previous;
}

int ShowMessage(const QString& text, int style)
{
    return CurrentMessageHook()(ApplicationTitle(), text, style == MsgPlain ? MsgOkOnly : style);
}

void SetStatusText(const QString& text)
{
    if (CurrentStatusHook())
        CurrentStatusHook()(text);
}

bool SplitPath(const QString& fullPath, QString& fileName, QString& directory)
{
    if (fullPath.isEmpty())
        return false;
    const qsizetype cut = std::max(fullPath.lastIndexOf(QLatin1Char('/')),
                                   fullPath.lastIndexOf(QLatin1Char('\\')));
    directory = cut < 0 ? QString() : fullPath.left(cut + 1);
    fileName = fullPath.mid(cut + 1);
    return true;
}
