#include "app/ScrolledNumberBox.h"

#include "core/Messages.h"
#include "core/Rounding.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("frmOption", text);
}

} // namespace

ScrolledNumberBox::ScrolledNumberBox(int lowest, int highest, QWidget* parent)
    : QWidget(parent)
    , lowest_(lowest)
    , highest_(highest)
    , acceptedLowest_(lowest)
    , acceptedHighest_(highest)
{
    box = new QLineEdit(this);
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    box->installEventFilter(this);
    scroll = new QScrollBar(Qt::Vertical, this);
    scroll->setRange(0, highest - lowest);
    scroll->setSingleStep(1);
    scroll->setPageStep(1);
    scroll->setFixedSize(16, box->sizeHint().height());

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(box);
    row->addWidget(scroll);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    connect(scroll, &QScrollBar::valueChanged, this, &ScrolledNumberBox::OnScrolled);
    connect(box, &QLineEdit::editingFinished, this, &ScrolledNumberBox::CheckValue);
}

void ScrolledNumberBox::AcceptTyped(int lowest, int highest)
{
    acceptedLowest_ = lowest;
    acceptedHighest_ = highest;
    const QFontMetrics metrics = box->fontMetrics();
    box->setFixedWidth(std::max(metrics.horizontalAdvance(QString::number(lowest)),
                                metrics.horizontalAdvance(QString::number(highest)))
                       + 12);
}

void ScrolledNumberBox::SetValue(int value)
{
    box->setText(QString::number(value));
    const QSignalBlocker blocker(scroll);
    scroll->setValue(highest_ - value);
}

int ScrolledNumberBox::Value() const
{
    return static_cast<int>(RoundHalfEven(box->text().trimmed().toDouble()));
}

bool ScrolledNumberBox::CheckValue()
{
    bool isNumber = false;
    const double typed = box->text().trimmed().toDouble(&isNumber);
    if (!isNumber || !std::isfinite(typed)) {
        Refuse(Tr("A value that is not a number has been entered. Please retry."));
        return false;
    }
    const double value = RoundHalfEven(typed);
    if (value < acceptedLowest_ || value > acceptedHighest_) {
        Refuse(Tr("Only a value between %1 and %2 can be entered. Please retry.")
                   .arg(acceptedLowest_)
                   .arg(acceptedHighest_));
        return false;
    }
    SetValue(static_cast<int>(value));
    return true;
}

void ScrolledNumberBox::Refuse(const QString& message)
{
    // Reset before the message: the box must not be checked again while it shows.
    SetValue(lowest_);
    ShowMessage(message, MsgPlain);
}

void ScrolledNumberBox::OnScrolled(int position)
{
    box->setText(QString::number(highest_ - position));
}

bool ScrolledNumberBox::eventFilter(QObject* watched, QEvent* event)
{
    // Return in a box with a bad value must not reach the dialog's default button:
    // the message asks for another try.
    if (watched == box && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !CheckValue())
            return true;
        // Up and Down step the value as the bar's arrows do (the bar itself takes no
        // focus), from the number typed so far when it is one the bar can show.
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            bool isNumber = false;
            const int typed = box->text().trimmed().toInt(&isNumber);
            if (isNumber && typed >= lowest_ && typed <= highest_)
                SetValue(typed);
            scroll->triggerAction(key == Qt::Key_Up ? QAbstractSlider::SliderSingleStepSub
                                                    : QAbstractSlider::SliderSingleStepAdd);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
