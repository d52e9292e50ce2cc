#include "app/MessageBoxHook.h"

#include "core/Messages.h"

#include <QMessageBox>
#include <QPointer>

MessageBoxLayout LayoutForStyle(int style)
{
    int buttons = QMessageBox::Ok;
    switch (style & 0x0F) {
    case 1:
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case 2:
        buttons = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        break;
    case 3:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    case 4:
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    case 5:
        buttons = QMessageBox::Retry | QMessageBox::Cancel;
        break;
    default:
        break;
    }
    int icon = QMessageBox::NoIcon;
    switch (style & 0xF0) {
    case 0x10:
        icon = QMessageBox::Critical;
        break;
    case 0x20:
        icon = QMessageBox::Question;
        break;
    case 0x30:
        icon = QMessageBox::Warning;
        break;
    case 0x40:
        icon = QMessageBox::Information;
        break;
    default:
        break;
    }
    return {buttons, icon};
}

int ResultForButton(int standardButton)
{
    switch (standardButton) {
    case QMessageBox::Ok:
        return MsgOk;
    case QMessageBox::Cancel:
        return MsgCancel;
    case QMessageBox::Abort:
        return 3;
    case QMessageBox::Retry:
        return 4;
    case QMessageBox::Ignore:
        return 5;
    case QMessageBox::Yes:
        return MsgYes;
    case QMessageBox::No:
        return MsgNo;
    default:
        return MsgCancel; // closed without a button
    }
}

void InstallMessageBoxHook(QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    SetMessageHook([owner](const QString& title, const QString& text, int style) {
        const MessageBoxLayout layout = LayoutForStyle(style);
        QMessageBox box(static_cast<QMessageBox::Icon>(layout.icon), title, text,
                        static_cast<QMessageBox::StandardButtons>(layout.buttons), owner.data());
        return ResultForButton(box.exec());
    });
}
