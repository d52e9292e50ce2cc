#pragma once
// "System Information": the platform, library and sound details of this run, in a
// two-column list that can be copied for a bug report.

#include <QDialog>

class QTreeWidget;

class SystemInfoDialog : public QDialog {
    Q_OBJECT

public:
    explicit SystemInfoDialog(QWidget* parent = nullptr);

private:
    void CopyToClipboard() const;

    QTreeWidget* lstInfo = nullptr;
};
