#pragma once
// A titled frame of option buttons of which one is chosen, with the id of each button
// its position in the list. The options dialog is built from these.

#include <QGroupBox>
#include <QStringList>

#include <vector>

class QButtonGroup;
class QRadioButton;

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    // namePrefix: the buttons are named namePrefix0, namePrefix1, ...
    RadioGroup(const QString& title, const QStringList& captions, const QString& namePrefix,
               Qt::Orientation orientation = Qt::Vertical, QWidget* parent = nullptr);

    int Checked() const;
    void SetChecked(int id);
    QRadioButton* Button(int id) const { return buttons_.at(static_cast<size_t>(id)); }
    int Count() const { return static_cast<int>(buttons_.size()); }

signals:
    // A button was clicked by the user.
    void clicked(int id);

private:
    QButtonGroup* group_ = nullptr;
    std::vector<QRadioButton*> buttons_;
};
