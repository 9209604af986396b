#include "TestBox.h"

#include "ui/MenuOrder.h"
#include "ui/Stack.h"
#include "ui/SystemOverlays.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>

using namespace ui;
using namespace uitest;

namespace {

struct MenuOrderProbe {
    std::shared_ptr<MenuOrder> seen;
    View body(ViewContext& ctx) const {
        *seen = ctx.environment<MenuOrderKey>();
        return box(10, 10);
    }
};

} // namespace

TEST(RecordedModifierTest, MenuOrderIsKeptInTheEnvironmentAndOverlayWishesReachTheRoot) {
    auto seen = std::make_shared<MenuOrder>(MenuOrder::priority);
    TestHost plain(View(MenuOrderProbe{seen}));
    EXPECT_EQ(*seen, MenuOrder::automatic);
    TestHost fixed(View(MenuOrderProbe{seen}).menuOrder(MenuOrder::fixed));
    EXPECT_EQ(*seen, MenuOrder::fixed);

    auto overlays = [](const TestHost& host) {
        return const_cast<TestHost&>(host).graph().root().preferences().get<PersistentSystemOverlaysKey>();
    };
    EXPECT_EQ(overlays(plain), Visibility::automatic);
    // The first view in tree order that asks for more than automatic wins.
    TestHost asked(VStack({box(5, 5).persistentSystemOverlays(Visibility::automatic),
                           box(5, 5).persistentSystemOverlays(Visibility::hidden),
                           box(5, 5).persistentSystemOverlays(Visibility::visible)}));
    EXPECT_EQ(overlays(asked), Visibility::hidden);
}
