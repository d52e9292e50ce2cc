#include "app/RadioGroup.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QRadioButton>

RadioGroup::RadioGroup(const QString& title, const QStringList& captions, const QString& namePrefix,
                       Qt::Orientation orientation, QWidget* parent)
    : QGroupBox(title, parent)
    , group_(new QButtonGroup(this))
{
    auto* layout = new QBoxLayout(orientation == Qt::Vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight,
                                  this);
    for (int id = 0; id < captions.size(); ++id) {
        auto* button = new QRadioButton(captions.at(id), this);
        button->setObjectName(namePrefix + QString::number(id));
        group_->addButton(button, id);
        layout->addWidget(button);
        buttons_.push_back(button);
    }
    layout->addStretch();
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

int RadioGroup::Checked() const
{
    return group_->checkedId();
}

void RadioGroup::SetChecked(int id)
{
    if (id >= 0 && id < static_cast<int>(buttons_.size()))
        buttons_[static_cast<size_t>(id)]->setChecked(true);
}
