#include "TestBox.h"

#include "ui/EnvironmentKeys.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <string>

using namespace uitest;

namespace {

struct AccentKey {
    using Value = std::string;
    static Value defaultValue() { return "plain"; }
};
struct OtherKey {
    using Value = int;
    static Value defaultValue() { return 0; }
};

struct Reader {
    std::string name;
    bool operator==(const Reader&) const = default;
    ui::View body(ui::ViewContext& ctx) const {
        const auto& accent = ctx.environment<AccentKey>();
        const bool enabled = ctx.environment<ui::IsEnabledKey>();
        return box(1, 1, name + ":" + accent + (enabled ? "" : ":disabled"));
    }
};

TEST(EnvironmentTest, OverridesReachDescendantsOnly) {
    ui::TestHost host(ui::VStack({
        Reader{"before"},
        ui::VStack({Reader{"inner"}, ui::VStack({Reader{"deep"}})})
            .environment(AccentKey{}, "red")
            .overlay(Reader{"overlay"}),
        Reader{"after"},
    }));
    EXPECT_NE(host.findByText("before:plain"), nullptr);
    EXPECT_NE(host.findByText("inner:red"), nullptr);
    EXPECT_NE(host.findByText("deep:red"), nullptr);
    EXPECT_NE(host.findByText("overlay:plain"), nullptr)
        << "the overlay wraps the modified view, not its content";
    EXPECT_NE(host.findByText("after:plain"), nullptr);
}

TEST(EnvironmentTest, TransformsAndDisablingCompose) {
    ui::TestHost host(
        ui::VStack({ui::View(Reader{"t"}).transformEnvironment(AccentKey{}, [](std::string& v) { v += "+"; }),
                    ui::VStack({ui::View(Reader{"d"}).disabled(false)}).disabled(true)})
            .environment(AccentKey{}, "x"));
    EXPECT_NE(host.findByText("t:x+"), nullptr);
    EXPECT_NE(host.findByText("d:x:disabled"), nullptr) << "an inner enable cannot undo an outer disable";
}

struct Root {
    std::shared_ptr<ui::State<int>> other;
    std::shared_ptr<ui::State<std::string>> accent;
    ui::View body(ui::ViewContext& ctx) const {
        auto o = ctx.state<int>("other", 0);
        auto a = ctx.state<std::string>("accent", "a");
        *other = o;
        *accent = a;
        return ui::VStack({Reader{"r"}})
            .environment(OtherKey{}, o.value())
            .environment(AccentKey{}, a.value());
    }
};

TEST(EnvironmentTest, ReadersReevaluateOnlyForTheKeysTheyRead) {
    auto other = std::make_shared<ui::State<int>>(nullptr);
    auto accent = std::make_shared<ui::State<std::string>>(nullptr);
    ui::TestHost host(Root{other, accent});
    auto* reader = host.findType<Reader>();
    ASSERT_NE(reader, nullptr);
    other->set(5);
    host.update();
    EXPECT_EQ(reader->evaluationCount(), 1);
    accent->set("b");
    host.update();
    EXPECT_EQ(reader->evaluationCount(), 2);
    EXPECT_NE(host.findByText("r:b"), nullptr);
}

struct Settings {
    int level = 4;
};

TEST(EnvironmentTest, EnvironmentObjectsAndTheWholeEnvironment) {
    struct UsesObject {
        ui::View body(ui::ViewContext& ctx) const {
            auto settings = ctx.environmentObject<Settings>();
            const auto scheme = ctx.environmentValues().get<ui::ColorSchemeKey>();
            return box(
                1, 1, std::to_string(settings->level) + (scheme == ui::ColorScheme::dark ? "dark" : "light"));
        }
    };
    ui::EnvironmentValues dark;
    dark.set<ui::ColorSchemeKey>(ui::ColorScheme::dark);
    ui::TestHost host(
        ui::View(UsesObject{}).environmentObject(std::make_shared<Settings>()).environment(dark));
    EXPECT_NE(host.findByText("4dark"), nullptr);
}

TEST(EnvironmentDeathTest, AMissingEnvironmentObjectIsFatal) {
    struct UsesObject {
        ui::View body(ui::ViewContext& ctx) const {
            ctx.environmentObject<Settings>();
            return {};
        }
    };
    EXPECT_DEATH({ ui::TestHost host(UsesObject{}); }, "Fatal error: no environment object");
}

} // namespace

namespace {

struct TitleFocusedKey {
    using Value = std::string;
};

TEST(EnvironmentTest, FocusedValuesReachTheRootAndTheOuterViewWins) {
    ui::TestHost host(ui::VStack({box(1, 1).focusedValue(TitleFocusedKey{}, std::string("inner")), box(1, 1)})
                          .focusedValue(TitleFocusedKey{}, std::string("outer")));
    const auto values = host.graph().root().preferences().get<ui::FocusedValuesKey>();
    EXPECT_EQ(values.get<TitleFocusedKey>(), std::optional<std::string>("outer"));
    ui::TestHost inner(ui::VStack({box(1, 1).focusedValue(TitleFocusedKey{}, std::string("inner"))}));
    EXPECT_EQ(inner.graph().root().preferences().get<ui::FocusedValuesKey>().get<TitleFocusedKey>(),
              std::optional<std::string>("inner"));
}

} // namespace
