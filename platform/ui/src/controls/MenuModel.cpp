#include "ui/MenuModel.h"

#include "ui/Button.h"
#include "ui/EnvironmentKeys.h"
#include "ui/EventTargets.h"
#include "ui/Label.h"
#include "ui/Menu.h"
#include "ui/Picker.h"
#include "ui/Toggle.h"
#include "ui/ViewNodes.h"

namespace ui {

namespace {

struct LabelParts {
    std::string title;
    std::string systemImage;
};

LabelParts labelParts(const View& view) {
    if (const auto* label = detail::labelModel(view)) {
        return {View(label->title).node()->text().value_or(""), label->systemImage};
    }
    const auto& node = view.node();
    if (!node) return {};
    if (auto text = node->text()) return {*text, {}};
    if (const auto* wrapper = dynamic_cast<const detail::WrapperNode*>(node.get()))
        return labelParts(wrapper->content());
    for (const auto& child : view.enumerateChildren()) {
        if (child.node() == node) break;
        auto parts = labelParts(child);
        if (!parts.title.empty() || !parts.systemImage.empty()) return parts;
    }
    return {};
}

MenuItem entry(const View& label, const EnvironmentValues& environment) {
    auto parts = labelParts(label);
    MenuItem item;
    item.title = std::move(parts.title);
    item.systemImage = std::move(parts.systemImage);
    item.isEnabled = environment.get<IsEnabledKey>();
    item.shortcut = environment.get<KeyboardShortcutKey>();
    return item;
}

void describe(const View& view, EnvironmentValues environment, std::vector<MenuItem>& out);

void describeChildren(const View& content, const EnvironmentValues& environment, std::vector<MenuItem>& out) {
    for (const auto& child : content.enumerateChildren())
        describe(child, environment, out);
}

void describe(const View& view, EnvironmentValues environment, std::vector<MenuItem>& out) {
    const auto& node = view.node();
    if (!node) return;
    if (const auto* button = detail::buttonModel(view)) {
        auto item = entry(button->label, environment);
        item.role = button->role;
        item.action = button->action;
        out.push_back(std::move(item));
        return;
    }
    if (const auto* toggle = detail::toggleModel(view)) {
        auto item = entry(toggle->label, environment);
        item.isChecked = toggle->isOn.get();
        item.action = [binding = toggle->isOn] { binding.set(!binding.get()); };
        out.push_back(std::move(item));
        return;
    }
    if (const auto* picker = detail::pickerModel(view)) {
        auto title = entry(picker->label, environment);
        const auto options = detail::pickerOptions(picker->content);
        const auto chosen = detail::selectedOption(options, picker->selection.get());
        std::vector<MenuItem> items;
        for (std::size_t i = 0; i < options.size(); ++i) {
            auto item = entry(options[i].label, environment);
            item.isChecked = chosen == i;
            item.action = [select = picker->selection.set, tag = options[i].tag] { select(tag); };
            items.push_back(std::move(item));
        }
        const bool inlined = environment.get<PickerStyleKey>().kind() == PickerStyle::Kind::inlineList ||
                             title.title.empty();
        if (inlined) {
            out.insert(out.end(), items.begin(), items.end());
        } else {
            title.kind = MenuItem::Kind::submenu;
            title.children = std::move(items);
            out.push_back(std::move(title));
        }
        return;
    }
    if (const auto* menu = detail::menuViewModel(view)) {
        auto item = entry(menu->label, environment);
        item.kind = MenuItem::Kind::submenu;
        describeChildren(menu->content, environment, item.children);
        out.push_back(std::move(item));
        return;
    }
    if (node->typeName() == "Divider") {
        out.push_back(MenuItem::separator());
        return;
    }
    if (auto text = node->text()) {
        out.push_back(MenuItem{.kind = MenuItem::Kind::header, .title = *text, .isEnabled = false});
        return;
    }
    if (detail::applyEnvironmentChange(*node, environment)) {
        describe(static_cast<const detail::WrapperNode&>(*node).content(), std::move(environment), out);
        return;
    }
    if (const auto* wrapper = dynamic_cast<const detail::WrapperNode*>(node.get())) {
        describe(wrapper->content(), std::move(environment), out);
        return;
    }
    auto children = view.enumerateChildren();
    if (children.size() == 1 && children.front().node() == node) return; // a view menus cannot show
    for (const auto& child : children)
        describe(child, environment, out);
}

const MenuItem* findIn(const std::vector<MenuItem>& items, std::string_view title) {
    for (const auto& item : items) {
        if (item.kind != MenuItem::Kind::separator && item.title == title) return &item;
        if (const auto* inner = findIn(item.children, title)) return inner;
    }
    return nullptr;
}

} // namespace

MenuItem MenuItem::labelled(const View& label) {
    auto parts = labelParts(label);
    MenuItem item;
    item.title = std::move(parts.title);
    item.systemImage = std::move(parts.systemImage);
    return item;
}

MenuModel MenuModel::from(const View& content, bool enabled) {
    EnvironmentValues environment;
    environment.set<IsEnabledKey>(enabled);
    MenuModel model;
    describeChildren(content, environment, model.items);
    return model;
}

const MenuItem* MenuModel::find(std::string_view title) const {
    return findIn(items, title);
}

std::vector<std::string> MenuModel::titles() const {
    std::vector<std::string> out;
    for (const auto& item : items)
        out.push_back(item.kind == MenuItem::Kind::separator ? "-" : item.title);
    return out;
}

} // namespace ui
