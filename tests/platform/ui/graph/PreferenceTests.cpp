#include "Handles.h"
#include "TestBox.h"

#include "foundation/UUID.h"
#include "ui/AnyView.h"
#include "ui/ForEach.h"
#include "ui/GeometryReader.h"
#include "ui/Group.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Transaction.h"
#include "ui/ViewConditional.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace uitest;

namespace {

struct NamesKey {
    using Value = std::vector<std::string>;
    static Value defaultValue() { return {}; }
    static void reduce(Value& value, const std::function<Value()>& next) {
        auto more = next();
        value.insert(value.end(), more.begin(), more.end());
    }
};

TEST(PreferenceTest, ValuesReduceInTreeOrderAndTransformsReachAncestorsOnly) {
    std::vector<std::vector<std::string>> seen;
    std::vector<std::string> inner;
    ui::TestHost host(
        ui::VStack(
            {
                box(1, 1).preference(NamesKey{}, {"a"}),
                ui::Group({box(1, 1).preference(NamesKey{}, {"b"}), box(1, 1).preference(NamesKey{}, {"c"})}),
                ui::VStack({box(1, 1).preference(NamesKey{}, {"d"})})
                    .onPreferenceChange(NamesKey{}, [&](const std::vector<std::string>& v) { inner = v; })
                    .transformPreference(NamesKey{}, [](std::vector<std::string>& v) { v.push_back("d2"); }),
            })
            .onPreferenceChange(NamesKey{}, [&](const std::vector<std::string>& v) { seen.push_back(v); }));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (std::vector<std::string>{"a", "b", "c", "d", "d2"}));
    EXPECT_EQ(inner, (std::vector<std::string>{"d"}));
    host.stepFrames(3);
    EXPECT_EQ(seen.size(), 1u) << "told again only on a change";
}

struct BoundsKey {
    using Value = std::optional<ui::Anchor<graphics::CGRect>>;
    static Value defaultValue() { return std::nullopt; }
    static void reduce(Value& value, const std::function<Value()>& next) {
        if (!value) value = next();
    }
};

TEST(PreferenceTest, AnAnchorResolvesThroughOffsetsAndPadding) {
    std::optional<graphics::CGRect> resolved;
    ui::TestHost host(
        ui::VStack({box(40, 20)
                        .anchorPreference(BoundsKey{}, ui::AnchorSource::bounds,
                                          [](ui::Anchor<graphics::CGRect> a) { return BoundsKey::Value(a); })
                        .padding(10)
                        .offset(5, 7)})
            .frame(200, 100, ui::Alignment::topLeading)
            .padding(3)
            .overlayPreferenceValue(BoundsKey{},
                                    [&](const BoundsKey::Value& anchor) {
                                        return ui::View(
                                            ui::GeometryReader([&, anchor](const ui::GeometryProxy& proxy) {
                                                if (anchor) resolved = proxy[*anchor];
                                                return ui::View();
                                            }));
                                    }),
        {206, 106});
    ASSERT_TRUE(resolved);
    EXPECT_EQ(*resolved, (graphics::CGRect{{3 + 10 + 5, 3 + 10 + 7}, {40, 20}}));
}

// A particle-layer-shaped case: views published up the tree by id, shown by an ancestor.
struct Published {
    ui::View content;
    ui::Anchor<graphics::CGRect> bounds;
};
struct LayerKey {
    using Value = std::map<foundation::UUID, std::shared_ptr<const Published>>;
    static Value defaultValue() { return {}; }
    static void reduce(Value& value, const std::function<Value()>& next) {
        for (auto& [k, v] : next())
            value[k] = v;
    }
};

struct Particle {
    std::shared_ptr<uitest::Handles<int>> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto count = ctx.state<int>("count", 0);
        handles->keep("particle", count);
        return box(4, 4, "particle:" + std::to_string(count.value()));
    }
};

struct Publisher {
    std::shared_ptr<uitest::Handles<int>> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto id = ctx.state<foundation::UUID>("layerID", foundation::UUID());
        auto own = ctx.state<int>("own", 0);
        handles->keep("publisher", own);
        ui::View particle = Particle{handles};
        return box(20, 20).anchorPreference(
            LayerKey{}, ui::AnchorSource::bounds,
            [id = id.value(), particle](ui::Anchor<graphics::CGRect> a) {
                return LayerKey::Value{{id, std::make_shared<const Published>(Published{particle, a})}};
            });
    }
};

struct Layer {
    std::shared_ptr<uitest::Handles<int>> handles;
    std::shared_ptr<uitest::Handles<bool>> flags;
    ui::View body(ui::ViewContext& ctx) const {
        auto shown = ctx.state<bool>("shown", true);
        flags->keep("shown", shown);
        return ui::VStack({ui::ConditionalContent(shown.value(), Publisher{handles}), box(10, 10)})
            .overlayPreferenceValue(LayerKey{}, [](const LayerKey::Value& entries) {
                using Entry = std::pair<foundation::UUID, std::shared_ptr<const Published>>;
                std::vector<Entry> list(entries.begin(), entries.end());
                return ui::View(ui::GeometryReader([list](const ui::GeometryProxy& proxy) {
                    return ui::View(ui::ZStack({ui::ForEach(
                        list, [](const Entry& e) { return e.first; },
                        [proxy](const Entry& e) {
                            const auto r = proxy[e.second->bounds];
                            return ui::View(ui::AnyView(e.second->content))
                                .frame(r.width(), r.height())
                                .position(r.midX(), r.midY());
                        })}));
                }));
            });
    }
};

TEST(PreferenceTest, APublishedViewKeepsItsStateAndGoesInTheSameFrameAsItsPublisher) {
    auto handles = std::make_shared<uitest::Handles<int>>();
    auto flags = std::make_shared<uitest::Handles<bool>>();
    ui::TestHost host(Layer{handles, flags}, {100, 100});
    ASSERT_NE(host.findByText("particle:0"), nullptr);
    (*handles)["particle"].set(5);
    for (int i = 0; i < 60; ++i) {
        (*handles)["publisher"].set(i + 1); // the publisher evaluates again every frame
        host.stepFrame();
        ASSERT_NE(host.findByText("particle:5"), nullptr) << "frame " << i;
        EXPECT_LE(host.graph().lastPassCount(), 3);
    }
    auto publisher = (*handles)["publisher"];
    const auto particleFrame = host.frame(host.findByText("particle:5"));
    EXPECT_EQ(particleFrame.size, (graphics::CGSize{4, 4}));
    EXPECT_EQ(particleFrame.midX(), host.frame(host.findType<Publisher>()).midX());

    (*flags)["shown"].set(false);
    host.update();
    EXPECT_EQ(host.findByText("particle:5"), nullptr);
    EXPECT_FALSE(publisher.isAlive());
    publisher.set(100); // a handle of the gone publisher does nothing
    EXPECT_FALSE(host.graph().needsUpdate());
}

struct CountKey {
    using Value = int;
    static Value defaultValue() { return 0; }
    static void reduce(Value& value, const std::function<Value()>& next) { value += next(); }
};

// Publishes its counter; the reader's content bumps it every time it is built, so the value
// never settles.
struct Restless {
    std::shared_ptr<uitest::Handles<int>> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto count = ctx.state<int>("count", 0);
        handles->keep("count", count);
        return box(1, 1).preference(CountKey{}, count.value());
    }
};
struct Bump {
    int seen;
    std::shared_ptr<uitest::Handles<int>> handles;
    ui::View body(ui::ViewContext&) const {
        (*handles)["count"].set(seen + 1);
        return box(1, 1);
    }
};

// Unchanged when the strip around it is evaluated again.
struct Grouped {
    bool operator==(const Grouped&) const { return true; }
    ui::View body(ui::ViewContext&) const { return ui::Group({box(20, 10, "grouped")}); }
};

// A strip whose first box widens on demand, scrolled in a 100 × 10 view: what follows the box
// moves when it widens (its stack places it anew) and when the strip scrolls (moved along);
// the anchored box ahead of it moves only with the scroll.
struct MovingStrip {
    std::shared_ptr<Handles<int>> handles;
    std::shared_ptr<std::optional<graphics::CGRect>> resolved;
    ui::View body(ui::ViewContext& ctx) const {
        auto width = ctx.state<int>("width", 10);
        handles->keep("width", width);
        const auto anchored =
            box(20, 10, "anchored")
                .anchorPreference(BoundsKey{}, ui::AnchorSource::bounds,
                                  [](ui::Anchor<graphics::CGRect> a) { return BoundsKey::Value(a); });
        return ui::ScrollView(ui::AxisSet::horizontal, false,
                              ui::HStack(ui::VerticalAlignment::top, 0,
                                         {anchored, box(width.value(), 10), ui::View(Grouped{}),
                                          box(300, 10)}))
            .overlayPreferenceValue(BoundsKey{}, [resolved = resolved](const BoundsKey::Value& anchor) {
                return ui::View(ui::GeometryReader([resolved, anchor](const ui::GeometryProxy& proxy) {
                    if (anchor) *resolved = proxy[*anchor];
                    return ui::View();
                }));
            });
    }
};

TEST(PreferenceTest, MovedSubtreesHandUpAndSpanWhereTheyAreNow) {
    auto handles = std::make_shared<Handles<int>>();
    auto resolved = std::make_shared<std::optional<graphics::CGRect>>();
    ui::TestHost host(ui::View(MovingStrip{handles, resolved}), {100, 10});
    host.update();
    const auto group = [&] { return ui::TestHost::frame(host.findByTypeName("Group")); };
    const auto anchored = [&] { return ui::TestHost::frame(host.findByText("anchored")); };
    EXPECT_EQ(group(), (graphics::CGRect{{30, 0}, {20, 10}}));
    ASSERT_TRUE(*resolved);
    EXPECT_EQ(**resolved, anchored());

    (*handles)["width"].set(40);
    host.update();
    EXPECT_EQ(group(), (graphics::CGRect{{60, 0}, {20, 10}})) << "a group spans its moved content";
    EXPECT_EQ(**resolved, (graphics::CGRect{{0, 0}, {20, 10}}));

    ui::withAnimation([&] { ui::ScrollView::setContentOffset(*host.findByTypeName("ScrollView"), {50, 0}); });
    host.update();
    for (int frame = 0; frame < 40; ++frame) {
        host.stepFrame();
        EXPECT_EQ(**resolved, anchored()) << "an anchor follows every frame of the scroll, frame " << frame;
        EXPECT_EQ(group().minX(), ui::TestHost::frame(host.findByText("grouped")).minX()) << frame;
    }
    EXPECT_EQ(**resolved, (graphics::CGRect{{-50, 0}, {20, 10}}));
    EXPECT_EQ(group(), (graphics::CGRect{{10, 0}, {20, 10}}));
}

TEST(PreferenceTest, ReadersThatNeverSettleWaitForTheNextFrame) {
    auto handles = std::make_shared<uitest::Handles<int>>();
    ui::TestHost host(ui::View(Restless{handles}).overlayPreferenceValue(CountKey{}, [handles](int value) {
        return ui::View(Bump{value, handles});
    }));
    EXPECT_EQ(host.graph().lastPassCount(), 3) << "one pass and two for the readers";
    EXPECT_TRUE(host.graph().needsUpdate());
    const int before = (*handles)["count"].value();
    host.stepFrame();
    EXPECT_GT((*handles)["count"].value(), before) << "the next frame goes on";
}

} // namespace
