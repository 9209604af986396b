#include "TestBox.h"

#include "foundation/UndoManager.h"
#include "ui/EnvironmentKeys.h"
#include "ui/EventDispatcher.h"
#include "ui/HostingWindow.h"
#include "ui/Stack.h"

#include <gtest/gtest.h>

#include <memory>

using namespace uitest;

TEST(WindowUndoManagerTest, TheOneAtTheFocusElseTheOutermost) {
    auto outer = std::make_shared<foundation::UndoManager>();
    auto inner = std::make_shared<foundation::UndoManager>();
    ui::HostingWindow window(ui::VStack({box(10, 10, "plain"),
                                         box(10, 10, "editor").focusable().environment<ui::UndoManagerKey>(inner)})
                                 .environment<ui::UndoManagerKey>(outer));
    window.updateNow();
    EXPECT_EQ(window.undoManager(), outer);
    ASSERT_TRUE(ui::EventDispatcher(window.graph()).moveFocus(true));
    window.updateNow();
    EXPECT_EQ(window.undoManager(), inner);
    ui::HostingWindow bare(box(10, 10, "none"));
    bare.updateNow();
    EXPECT_EQ(bare.undoManager(), nullptr);
}
