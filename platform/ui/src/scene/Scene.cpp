#include "ui/Scene.h"

#include "ui/Element.h"
#include "ui/Group.h"
#include "ui/Settings.h"
#include "ui/WindowGroup.h"

namespace ui {

namespace {

// One scene in the application's graph: its commands are its children (so they keep state and
// subscriptions), and it hands its configuration up before theirs.
class SceneNode final : public ViewNode {
public:
    SceneNode(SceneConfiguration configuration, View commands)
        : configuration_(std::move(configuration))
        , commands_(std::move(commands)) {}
    std::string_view typeName() const override { return "Scene"; }
    bool isTransparent() const override { return true; }
    void update(Element& element) const override { element.reconcile({ChildSpec{commands_, {}, {}}}); }
    void collectPreferences(const Element&, PreferenceValues& values) const override {
        auto scenes = values.get<ScenesKey>();
        scenes.insert(scenes.begin(), configuration_);
        values.set<ScenesKey>(std::move(scenes));
    }

private:
    SceneConfiguration configuration_;
    View commands_;
};

} // namespace

View SceneConfiguration::windowContent() const {
    View view = content;
    for (const auto& modify : contentModifiers) view = modify(std::move(view));
    return view;
}

Scene::Scene(std::vector<Scene> scenes)
    : children_(std::move(scenes)) {}

Scene::Scene(SceneConfiguration configuration)
    : configuration_(std::move(configuration)) {}

Scene Scene::wrapped(std::function<View(View)> wrap) const {
    Scene copy = *this;
    copy.wrappers_.push_back(std::move(wrap));
    return copy;
}

Scene Scene::configured(const std::function<void(SceneConfiguration&)>& change) const {
    Scene copy = *this;
    if (copy.configuration_) change(*copy.configuration_);
    for (auto& child : copy.children_) child = child.configured(change);
    return copy;
}

Scene Scene::commands(View content) const {
    Scene copy = *this;
    copy.commands_.push_back(std::move(content));
    return copy;
}

Scene Scene::defaultSize(CGFloat width, CGFloat height) const {
    return configured([=](SceneConfiguration& c) { c.defaultSize = graphics::CGSize{width, height}; });
}

Scene Scene::defaultPosition(UnitPoint position) const {
    return configured([=](SceneConfiguration& c) { c.defaultPosition = position; });
}

Scene Scene::windowResizability(WindowResizability resizability) const {
    return configured([=](SceneConfiguration& c) { c.resizability = resizability; });
}

Scene Scene::windowToolbarStyle(WindowToolbarStyle style) const {
    return configured([=](SceneConfiguration& c) { c.toolbarStyle = style; });
}

Scene Scene::transformContent(std::function<View(View)> modify) const {
    return configured([&](SceneConfiguration& c) { c.contentModifiers.push_back(modify); });
}

View Scene::view() const {
    View view;
    if (configuration_) {
        view = View(std::make_shared<SceneNode>(*configuration_, Group(commands_)));
    } else {
        std::vector<View> parts;
        for (const auto& child : children_) parts.push_back(child.view());
        parts.insert(parts.end(), commands_.begin(), commands_.end());
        view = Group(std::move(parts));
    }
    for (const auto& wrap : wrappers_) view = wrap(std::move(view));
    return view;
}

WindowGroup::WindowGroup(View content)
    : WindowGroup(std::string(), std::move(content)) {}

WindowGroup::WindowGroup(std::string title, View content)
    : Scene(SceneConfiguration{.kind = SceneKind::windowGroup, .title = std::move(title), .content = std::move(content)}) {}

Settings::Settings(View content)
    : Scene(SceneConfiguration{.kind = SceneKind::settings, .title = "Settings", .content = std::move(content)}) {}

} // namespace ui
