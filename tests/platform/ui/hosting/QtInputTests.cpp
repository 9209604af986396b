#include "ui/QtInput.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

TEST(QtInputTest, KeysNameTheUnshiftedKeyAndCtrlStandsForCommand) {
    const QKeyEvent ctrlShiftN(QEvent::KeyPress, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier, "\x0e");
    auto press = ui::keyPress(ctrlShiftN);
    ASSERT_TRUE(press);
    EXPECT_EQ(press->key, ui::KeyEquivalent('n'));
    EXPECT_EQ(press->modifiers, ui::EventModifiers::command | ui::EventModifiers::shift);
    EXPECT_TRUE(press->characters.empty()) << "a control character is not typed text";

    const QKeyEvent backtab(QEvent::KeyPress, Qt::Key_Backtab, Qt::NoModifier);
    press = ui::keyPress(backtab);
    ASSERT_TRUE(press);
    EXPECT_EQ(press->key, ui::KeyEquivalent::tab);
    EXPECT_EQ(press->modifiers, ui::EventModifiers::shift);

    const QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(ui::keyPress(release)->phase, ui::KeyPress::Phase::up);
    EXPECT_FALSE(ui::keyPress(QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier)));
    EXPECT_EQ(ui::eventModifiers(Qt::AltModifier | Qt::MetaModifier),
              ui::EventModifiers::option | ui::EventModifiers::control);
}

} // namespace
