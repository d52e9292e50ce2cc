#pragma once
// A whole-number box beside a vertical scroll bar whose top end is the highest value:
// box value = highest - scroll position. What is typed is checked when the editing
// ends (Return, or the focus leaves): text that is not a number, or a number outside
// the accepted range (lowest..highest unless widened), is refused with a message asking
// to retry and the box goes back to the lowest value. Up and Down in the box step it.

#include <QWidget>

class QLineEdit;
class QScrollBar;

class ScrolledNumberBox : public QWidget {
    Q_OBJECT
public:
    ScrolledNumberBox(int lowest, int highest, QWidget* parent = nullptr);

    // Shows value in the box and puts the scroll bar where it belongs (within its range).
    void SetValue(int value);
    // The box's number; check it first.
    int Value() const;
    // True when the box holds a number in range (a fraction is rounded to a whole one);
    // otherwise shows the retry message, resets the box and returns false.
    bool CheckValue();

    // Lets the box take any number from lowest to highest, also beyond the scroll
    // bar's range; such a value is kept as it is and the bar stands at its nearer end.
    void AcceptTyped(int lowest, int highest);

    int Lowest() const { return lowest_; }
    int Highest() const { return highest_; }

    QLineEdit* box = nullptr;
    QScrollBar* scroll = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnScrolled(int position);
    void Refuse(const QString& message);

    int lowest_;
    int highest_;
    int acceptedLowest_;
    int acceptedHighest_;
};
