#pragma once
// Shows ShowMessage's boxes as real Qt message boxes.

class QWidget;

void InstallMessageBoxHook(QWidget* parent = nullptr);

// The buttons and icon of a message-box style, and the result of a pressed button.
struct MessageBoxLayout {
    int buttons; // QMessageBox::StandardButtons
    int icon;    // QMessageBox::Icon
};
MessageBoxLayout LayoutForStyle(int style);
int ResultForButton(int standardButton);
