#pragma once
// The tip-of-the-day switch. It lives apart from the "Fretlore" settings: under the
// program's file name, section "Options", key "Show Tips at Startup", "1" or "0".

#include <memory>

class QSettings;
class QWidget;

// The store that holds the tip switch (~/.config/Fretlore/fretlore.conf).
std::unique_ptr<QSettings> OpenTipSettingsStore();

// The switch as stored; an absent or unreadable value counts as 1 (show the tips).
int ReadShowTipsAtStartup();

// Stores 1 or 0 as decimal text at once.
void StoreShowTipsAtStartup(bool show);

// The main window's first activation: shows the tip window modally unless the
// switch is 0. True when the window was shown.
bool ShowTipOfTheDay(QWidget* parent);

// "&Re-enable tips at startup": stores 1 and shows the tip window modally.
void ReEnableTipsAtStartup(QWidget* parent);
