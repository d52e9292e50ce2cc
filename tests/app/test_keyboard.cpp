// The trainer without a mouse: the board and the staff reached by Tab, a drill answered
// right and wrong by keys, assistance from the staff by Enter, and what a screen reader
// hears on the way: cell names that never give the answer away and each verdict.
#include "app/AppFixture.h"

#include "views/FretboardAccessible.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>

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
        Key(Qt::Key_1 + Board().PlayerString(cell.stringNum) - 1);
        Key(Qt::Key_Home);
        for (int f = 1; f < cell.fretNum; ++f)
            Key(Qt::Key_Right);
    }
    QString Verdict() const { return window->StatusPanelText(QString()); }
    QAccessibleInterface* BoardInterface() { return QAccessible::queryAccessibleInterface(&Board()); }
    QAccessibleInterface* CellInterface(FretPosition cell)
    {
        return BoardInterface()->child(FretboardChildIndex(Board(), cell));
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
            if (Board().IsMarked({s, f}))
                EXPECT_TRUE(CellInterface({s, f})->state().selected);
        }
    ASSERT_TRUE(TabTo(&Board()));
    WalkTo(*CellFor(true));
    Key(Qt::Key_Space);
    EXPECT_EQ(Verdict(), QStringLiteral("Correct! Now try the next note."));

    // Outside the drill a cell may say its note.
    w.mnuFreePlay->trigger();
    EXPECT_TRUE(CellInterface({1, 1})->text(QAccessible::Name).endsWith(Board().NoteNameAt({1, 1})));
}
