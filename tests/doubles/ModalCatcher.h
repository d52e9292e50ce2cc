#pragma once
// Answers the modal dialog a call opens: while it lives it polls for the active modal
// window, hands it to a handler once, and closes it so the call returns.

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class ModalCatcher {
public:
    explicit ModalCatcher(std::function<void(QWidget*)> handler = {})
        : handler_(std::move(handler))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QPointer<QWidget> modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            ++count_;
            title_ = modal->windowTitle();
            if (handler_)
                handler_(modal);
            if (modal && modal->isVisible())
                modal->close();
        });
        timer_.start(5);
    }

    int Count() const { return count_; }
    QString LastTitle() const { return title_; }

private:
    std::function<void(QWidget*)> handler_;
    QTimer timer_;
    int count_ = 0;
    QString title_;
};
