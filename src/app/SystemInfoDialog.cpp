#include "app/SystemInfoDialog.h"

#include "app/ProgramArt.h"
#include "app/SystemInfo.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

SystemInfoDialog::SystemInfoDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SystemInfoDialog"));
    setWindowTitle(tr("System Information"));
    setWindowIcon(ProgramIcon());

    lstInfo = new QTreeWidget(this);
    lstInfo->setObjectName(QStringLiteral("lstInfo"));
    lstInfo->setColumnCount(2);
    lstInfo->setHeaderLabels({tr("Item"), tr("Value")});
    lstInfo->setRootIsDecorated(false);
    lstInfo->setAlternatingRowColors(true);
    lstInfo->setWordWrap(true);
    for (const SystemInfoItem& item : CollectSystemInfo())
        lstInfo->addTopLevelItem(new QTreeWidgetItem(QStringList{item.strName, item.strValue}));
    lstInfo->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    lstInfo->header()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
    connect(copy, &QPushButton::clicked, this, &SystemInfoDialog::CopyToClipboard);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstInfo, 1);
    layout->addWidget(buttons);
    resize(540, 300);
}

void SystemInfoDialog::CopyToClipboard() const
{
    QList<SystemInfoItem> items;
    for (int row = 0; row < lstInfo->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* entry = lstInfo->topLevelItem(row);
        items.append({entry->text(0), entry->text(1)});
    }
    QGuiApplication::clipboard()->setText(SystemInfoText(items));
}
