// The program without a mouse, and what a screen reader hears: every control reached by
// Tab, every menu entry by a letter, a drill answered by keys.
#include "app/AppFixture.h"

#include "app/FrmAbout.h"
#include "app/FrmLearner.h"
#include "app/FrmOption.h"
#include "app/OptionsGeneralTab.h"
#include "app/FrmScore.h"
#include "app/ScrolledNumberBox.h"
#include "views/FretboardAccessible.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTabWidget>

namespace {

class KeyboardTest : public AppFixture {
protected:
    FrmStartup& StartActive()
    {
        FrmStartup& w = Start();
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        return w;
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
    // Tab (or Shift+Tab) until the focus reaches target.
    ::testing::AssertionResult TabTo(QWidget* target, bool backwards = false)
    {
        for (int i = 0; i < 40 && QApplication::focusWidget() != target; ++i)
            Key(backwards ? Qt::Key_Backtab : Qt::Key_Tab);
        if (QApplication::focusWidget() == target)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "Tab never reached " << target->objectName().toStdString();
    }
    // The string by its number as players count it, the nut, then along the string.
    void WalkTo(FretPosition cell)
    {
        Key(Qt::Key_1 + Board().PlayerString(cell.string) - 1);
        Key(Qt::Key_Home);
        for (int f = 1; f < cell.fret; ++f)
            Key(Qt::Key_Right);
    }
    QString Verdict() const { return window->StatusPanelText(QString()); }
    QAccessibleInterface* BoardInterface() { return QAccessible::queryAccessibleInterface(&Board()); }
    QAccessibleInterface* CellInterface(FretPosition cell)
    {
        return BoardInterface()->child(FretboardChildIndex(Board(), cell));
    }

    // A control that takes a press or typing. The bar of a number box takes no focus:
    // its box steps by Up and Down. A spin box's text field is reached as the spin box.
    static bool Control(QWidget* w)
    {
        if (w->focusProxy())
            return Control(w->focusProxy());
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSlider*>(w)
            || qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractItemView*>(w)
            || qobject_cast<QAbstractSpinBox*>(w);
        return control && w->isVisible() && w->isEnabled() && !qobject_cast<ScrolledNumberBox*>(w->parentWidget());
    }
    // An option button counts as reached when one of its group was: arrows choose within.
    static QString GroupOf(QWidget* w)
    {
        auto* radio = qobject_cast<QRadioButton*>(w);
        if (radio && radio->group())
            return QString::number(reinterpret_cast<quintptr>(radio->group()));
        if (radio && radio->autoExclusive())
            return QString::number(reinterpret_cast<quintptr>(radio->parentWidget()));
        return QString::number(reinterpret_cast<quintptr>(w));
    }
    // The widgets Tab reaches in a window (its current page), in order, from the first.
    static QList<QWidget*> TabChain(QWidget* top)
    {
        top->activateWindow();
        QApplication::setActiveWindow(top);
        const QList<QWidget*> all = top->findChildren<QWidget*>();
        const auto first = std::find_if(all.begin(), all.end(), [](QWidget* w) {
            return (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled();
        });
        if (first == all.end())
            return {};
        (*first)->setFocus(Qt::TabFocusReason);
        QList<QWidget*> chain{*first};
        // A label's links take Tab one by one: the walk ends on coming back to the first.
        for (int i = 0; i < 100; ++i) {
            QWidget* before = QApplication::focusWidget();
            QTest::keyClick(before, Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            if (!now || now->window() != top || (now == chain.first() && before != now))
                break;
            if (!chain.contains(now))
                chain << now;
        }
        return chain;
    }
    // The object names (or captions) of the controls of a window's page Tab never reaches.
    static QStringList Unreached(QWidget* top)
    {
        const QList<QWidget*> chain = TabChain(top);
        QStringList reachedGroups;
        for (QWidget* w : chain)
            reachedGroups << GroupOf(w);
        QStringList unreached;
        for (QWidget* w : top->findChildren<QWidget*>())
            if (Control(w) && !reachedGroups.contains(GroupOf(w))) {
                auto* button = qobject_cast<QAbstractButton*>(w);
                if (!w->focusProxy() || !reachedGroups.contains(GroupOf(w->focusProxy())))
                    unreached << (w->objectName().isEmpty() && button ? button->text() : w->objectName());
            }
        return unreached;
    }
    // Every entry of a menu bar and its menus has a letter of its own within its menu.
    static QStringList EntriesWithoutALetter(const QList<QAction*>& actions)
    {
        QStringList missing;
        QStringList letters;
        for (QAction* action : actions) {
            if (action->isSeparator())
                continue;
            const int amp = action->text().indexOf(QLatin1Char('&'));
            const QString letter = amp >= 0 ? action->text().mid(amp + 1, 1).toLower() : QString();
            if (letter.isEmpty() || letters.contains(letter))
                missing << action->text();
            letters << letter;
            if (action->menu())
                missing << EntriesWithoutALetter(action->menu()->actions());
        }
        return missing;
    }
};

} // namespace

TEST_F(KeyboardTest, AWholeDrillAnsweredByKeysOnly)
{
    FrmStartup& w = StartActive();
    ASSERT_TRUE(TabTo(&Board()));
    for (int question = 0; question < 3; ++question) {
        const QString prompt = w.CurrentLesson()->GetActiveNoteName();
        const FretPosition right = *CellFor(true);
        EXPECT_FALSE(CellInterface(right)->text(QAccessible::Name).contains(prompt))
            << "the answer is not given away";
        WalkTo(right);
        ASSERT_EQ(Board().Cursor(), right);
        Key(Qt::Key_Return);
        EXPECT_EQ(Verdict(), QStringLiteral("Correct! Now try the next note."));
        // The verdict becomes the focused board's description, the next prompt with it.
        const QString description = BoardInterface()->text(QAccessible::Description);
        EXPECT_TRUE(description.startsWith(QStringLiteral("Correct! Now try the next note.")));
        EXPECT_TRUE(description.contains(w.CurrentLesson()->GetActiveNoteName()));
    }

    const QString prompt = w.CurrentLesson()->GetActiveNoteName();
    const FretPosition wrong = *CellFor(false);
    WalkTo(wrong);
    EXPECT_EQ(BoardInterface()->focusChild(), CellInterface(wrong)) << "the reader follows the cursor";
    EXPECT_TRUE(CellInterface(wrong)->state().focused);
    Key(Qt::Key_Enter);
    EXPECT_EQ(Verdict(), QStringLiteral("Incorrect! Click on sheetnote for assistance."));
    EXPECT_TRUE(BoardInterface()->text(QAccessible::Description).startsWith(QStringLiteral("Incorrect!")));
    EXPECT_EQ(w.CurrentLesson()->GetActiveNoteName(), prompt) << "the question stays";

    // Assistance: Enter on the staff shows where the prompt lies, each place selected.
    ASSERT_TRUE(TabTo(&Staff(), true));
    EXPECT_TRUE(Staff().accessibleDescription().contains(prompt)) << "the staff names the prompt";
    Key(Qt::Key_Return);
    for (int s = 1; s <= 6; ++s)
        for (int f = 1; f <= kFretPositions; ++f) {
            EXPECT_EQ(Board().IsMarked({s, f}), Board().NoteNameAt({s, f}) == prompt);
            if (Board().IsMarked({s, f})) {
                EXPECT_TRUE(CellInterface({s, f})->state().selected);
            }
        }
    ASSERT_TRUE(TabTo(&Board()));
    WalkTo(*CellFor(true));
    Key(Qt::Key_Space);
    EXPECT_EQ(Verdict(), QStringLiteral("Correct! Now try the next note."));

    // Outside the drill a cell may say its note.
    w.mnuFreePlay->trigger();
    EXPECT_TRUE(CellInterface({1, 1})->text(QAccessible::Name).endsWith(Board().NoteNameAt({1, 1})));
}

TEST_F(KeyboardTest, EveryControlOfTheWindowAndItsDialogsIsReachedByTab)
{
    FrmStartup& w = StartActive();
    EXPECT_EQ(Unreached(&w), QStringList()) << "the trainer page";
    EXPECT_EQ(EntriesWithoutALetter(w.menuBar()->actions()), QStringList());
    Board().setFocus(Qt::TabFocusReason);
    QTest::keyClick(&Board(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(w.stpTabStrip->currentIndex(), 1) << "Ctrl+Tab turns to the pattern page";
    EXPECT_EQ(Unreached(&w), QStringList()) << "the pattern page";

    WithDialog<FrmOption>(w.mnuOptions, [&](FrmOption& options) {
        for (int page = 0; page < options.SSTab1->count(); ++page) {
            options.SSTab1->setCurrentIndex(page);
            EXPECT_EQ(Unreached(&options), QStringList()) << "options page " << page;
        }
        // The general page is walked as it is laid out: each control lies below the one
        // before or in a column to its right.
        options.SSTab1->setCurrentIndex(0);
        QList<QRect> walk;
        for (QWidget* control : TabChain(&options))
            if (options.generalTab->isAncestorOf(control))
                walk << QRect(control->mapTo(&options, QPoint()), control->size());
        ASSERT_GE(walk.size(), 10);
        for (qsizetype i = 1; i < walk.size(); ++i)
            EXPECT_TRUE(walk[i].top() >= walk[i - 1].top() || walk[i].left() > walk[i - 1].right()) << i;
        // A number box steps by Up and Down as by its bar's arrows.
        QLineEdit* duration = options.generalTab->numTestDuration->box;
        const int before = options.generalTab->numTestDuration->Value();
        QTest::keyClick(duration, Qt::Key_Up);
        EXPECT_EQ(options.generalTab->numTestDuration->Value(), before + 1);
        QTest::keyClick(duration, Qt::Key_Down);
        QTest::keyClick(duration, Qt::Key_Down);
        EXPECT_EQ(options.generalTab->numTestDuration->Value(), before - 1);
        duration->setText(QStringLiteral("50"));
        QTest::keyClick(duration, Qt::Key_Up);
        EXPECT_EQ(options.generalTab->numTestDuration->Value(), 51) << "from the number typed";
    });
    for (QAction* entry : {w.mnuCreateLearner, w.mnuSelCurrLearner})
        WithDialog<FrmLearner>(entry, [&](FrmLearner& learner) {
            EXPECT_EQ(Unreached(&learner), QStringList()) << entry->text().toStdString();
        });
    WithDialog<FrmAbout>(w.mnuAbout, [&](FrmAbout& about) { EXPECT_EQ(Unreached(&about), QStringList()); });
    WithDialog<FrmScore>(w.mnuScore, [&](FrmScore& score) {
        EXPECT_EQ(EntriesWithoutALetter(score.mnuBar->actions()), QStringList());
    });
}
