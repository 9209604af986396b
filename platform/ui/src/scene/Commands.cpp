#include "ui/CommandGroup.h"
#include "ui/CommandItem.h"
#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"
#include "ui/EventTargets.h"
#include "ui/ViewNodes.h"

namespace ui {

namespace {

class CommandItemNode final : public ViewNode {
public:
    CommandItemNode(std::string title, std::function<void()> action)
        : title_(std::move(title))
        , action_(std::move(action)) {}
    std::string_view typeName() const override { return "CommandItem"; }
    bool isLeaf() const override { return true; }
    graphics::CGSize sizeThatFits(Element&, const ProposedViewSize&) const override { return {}; }
    std::optional<std::string> text() const override { return title_; }
    void collectPreferences(const Element& element, PreferenceValues& values) const override {
        auto items = values.get<CommandItemsKey>();
        items.push_back({title_, element.environment().get<KeyboardShortcutKey>(),
                         element.environment().get<IsEnabledKey>(), action_});
        values.set<CommandItemsKey>(std::move(items));
    }

private:
    std::string title_;
    std::function<void()> action_;
};

// Gathers the items of its content into one group.
class CommandGroupNode final : public detail::TransparentWrapperNode {
public:
    CommandGroupNode(View content, CommandGroupPlacement placement, CommandGroupDescription::Position position)
        : TransparentWrapperNode(std::move(content))
        , placement_(placement)
        , position_(position) {}
    std::string_view typeName() const override { return "CommandGroup"; }
    void collectPreferences(const Element&, PreferenceValues& values) const override {
        CommandGroupDescription group{placement_, position_, values.get<CommandItemsKey>()};
        values.remove<CommandItemsKey>();
        auto groups = values.get<CommandGroupsKey>();
        groups.insert(groups.begin(), std::move(group));
        values.set<CommandGroupsKey>(std::move(groups));
    }

private:
    CommandGroupPlacement placement_;
    CommandGroupDescription::Position position_;
};

} // namespace

CommandItem::CommandItem(std::string title, std::function<void()> action)
    : View(std::make_shared<CommandItemNode>(std::move(title), std::move(action))) {}

CommandGroup::CommandGroup(CommandGroupPlacement placement, CommandGroupDescription::Position position,
                           View content)
    : View(std::make_shared<CommandGroupNode>(std::move(content), placement, position)) {}

CommandGroup CommandGroup::before(CommandGroupPlacement placement, View content) {
    return {placement, CommandGroupDescription::Position::before, std::move(content)};
}

CommandGroup CommandGroup::after(CommandGroupPlacement placement, View content) {
    return {placement, CommandGroupDescription::Position::after, std::move(content)};
}

CommandGroup CommandGroup::replacing(CommandGroupPlacement placement, View content) {
    return {placement, CommandGroupDescription::Position::replacing, std::move(content)};
}

} // namespace ui
