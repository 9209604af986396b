#include "ui/AccessibilityTree.h"

#include "lists/ListRow.h"
#include "lists/ListRowReports.h"

#include "ui/Accessibility.h"
#include "ui/Button.h"
#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"
#include "ui/EventDispatcher.h"
#include "ui/Graph.h"
#include "ui/Label.h"
#include "ui/Menu.h"
#include "ui/Picker.h"
#include "ui/TabView.h"
#include "ui/TextEnvironment.h"
#include "ui/Toggle.h"

#include <QVariant>
#include <QWidget>

#include <map>
#include <utility>

namespace ui {

namespace {

// What the accessibility modifiers between the last object (or container) and the view being
// walked say; the innermost wins for each field.
struct Pending {
    AccessibilityProperties fields; // its traits unused: they add up from traitChanges
    std::vector<std::pair<AccessibilityTraits, AccessibilityTraits>> traitChanges; // outermost first
    const Element* top = nullptr;

    void add(const AccessibilityProperties& inner) {
        auto take = [](auto& field, const auto& innerField) {
            if (innerField) field = innerField;
        };
        take(fields.label, inner.label);
        take(fields.value, inner.value);
        take(fields.hint, inner.hint);
        take(fields.identifier, inner.identifier);
        take(fields.children, inner.children);
        traitChanges.emplace_back(inner.addedTraits, inner.removedTraits);
    }
    // Traits add up from the inside out.
    AccessibilityTraits traits() const {
        AccessibilityTraits result = AccessibilityTraits::none;
        for (auto it = traitChanges.rbegin(); it != traitChanges.rend(); ++it)
            result = (result | it->first) & ~it->second;
        return result;
    }
};

bool has(AccessibilityTraits set, AccessibilityTraits trait) {
    return (set & trait) != AccessibilityTraits::none;
}

bool isWithin(const Element* element, const Element* ancestor) {
    for (; element; element = element->parent())
        if (element == ancestor) return true;
    return false;
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string result;
    for (const auto& part : parts) {
        if (part.empty()) continue;
        if (!result.empty()) result += separator;
        result += part;
    }
    return result;
}

// The text a widget holds: what it shows, else its placeholder.
std::string widgetText(const QWidget& widget) {
    for (const char* property : {"plainText", "text", "placeholderText"}) {
        const QVariant value = widget.property(property);
        if (value.isValid() && !value.toString().isEmpty()) return value.toString().toStdString();
    }
    return {};
}

class Builder {
public:
    explicit Builder(Graph& graph)
        : focused_(EventDispatcher(graph).focusedElement()) {
        for (auto* hosted : graph.hostedWidgets().widgets())
            if (const Element* element = hosted->element(); element && hosted->widget())
                widgets_[element] = hosted->widget();
    }

    void walk(const Element& element, Pending pending, std::vector<AccessibilityObject>& out) {
        // Rows scrolled away and views hidden from sight (`hidden()`) are not there.
        if (element.isHidden() || element.node().typeName() == "Hidden") return;
        if (!pending.top) pending.top = &element;
        if (const auto* modifier = element.nodeAs<AccessibilityNode>()) {
            if (modifier->properties().hidden.value_or(false)) return;
            pending.add(modifier->properties());
            for (const auto& child : element.children())
                walk(*child, pending, out);
            return;
        }
        if (auto widget = widgets_.find(&element); widget != widgets_.end()) {
            auto object = make(element, pending, AccessibilityRole::textField);
            object.widget = widget->second;
            if (object.name.empty()) object.name = widgetText(*widget->second);
            object.state.focusable = true;
            out.push_back(std::move(object));
            return;
        }
        if (control(element, pending, out)) return;
        const AccessibilityTraits traits = pending.traits();
        constexpr auto elementTraits = AccessibilityTraits::isButton | AccessibilityTraits::isLink |
                                       AccessibilityTraits::isToggle | AccessibilityTraits::isModal;
        if (pending.fields.children || has(traits, elementTraits)) {
            out.push_back(combined(element, pending, traits));
            return;
        }
        if (element.node().isLeaf()) {
            leaf(element, pending, traits, out);
            return;
        }
        if (auto rows = detail::listRowCount(element)) {
            auto object = make(element, pending, AccessibilityRole::list);
            object.rowCount = rows;
            walkChildren(element, object.children);
            out.push_back(std::move(object));
            return;
        }
        if (const auto* row = element.nodeAs<detail::ListRowNode>()) {
            auto object = make(element, pending, AccessibilityRole::listItem);
            object.state.selected = object.state.selected || row->place().selected;
            walkChildren(element, object.children);
            // A row that shows nothing (a spacer row) means nothing.
            if (!object.children.empty() || !object.name.empty()) out.push_back(std::move(object));
            return;
        }
        if (element.nodeAs<detail::CustomViewNode<TabView>>()) {
            tabView(element, out);
            return;
        }
        // A view of one child hands what its modifiers say on; so does an overlay or background
        // to the view it decorates.
        const auto& children = element.children();
        const bool decorated =
            element.node().typeName() == "Overlay" || element.node().typeName() == "Background";
        for (const auto& child : children) {
            const bool primary = children.size() == 1 || (decorated && child->key().slot == 0);
            walk(*child, primary ? pending : Pending{}, out);
        }
    }

    void walkChildren(const Element& element, std::vector<AccessibilityObject>& out) {
        for (const auto& child : element.children())
            walk(*child, {}, out);
    }

private:
    AccessibilityObject make(const Element& element, const Pending& pending, AccessibilityRole role) const {
        AccessibilityObject object;
        object.element = &element;
        object.role = role;
        const auto context = textContext(element.environment());
        if (pending.fields.label) object.name = pending.fields.label->string(context);
        if (pending.fields.value) object.value = pending.fields.value->string(context);
        if (pending.fields.hint) object.description = pending.fields.hint->string(context);
        if (pending.fields.identifier) object.identifier = *pending.fields.identifier;
        object.frame = element.globalFrame();
        const auto traits = pending.traits();
        object.state.selected = has(traits, AccessibilityTraits::isSelected);
        object.state.disabled = !element.environment().get<IsEnabledKey>();
        object.state.invisible = !element.isVisible();
        // The keyboard focus on a view of the object's, or on a modifier around it.
        object.state.focused =
            focused_ && (isWithin(focused_, &element) ||
                         (isWithin(&element, focused_) && isWithin(focused_, pending.top)));
        return object;
    }

    std::string labelText(const View& label, const Element& element) const {
        if (const auto* model = detail::labelModel(label))
            return model->title.string(textContext(element.environment()));
        if (label.node()) {
            if (auto text = label.node()->text()) return *text;
        }
        return {};
    }

    std::vector<std::string> texts(const Element& element) const {
        std::vector<std::string> result;
        collectTexts(element, result);
        return result;
    }
    void collectTexts(const Element& element, std::vector<std::string>& out) const {
        if (element.isHidden()) return;
        if (const auto* modifier = element.nodeAs<AccessibilityNode>()) {
            if (modifier->properties().hidden.value_or(false)) return;
            // A labelled view inside (an icon standing for its title) speaks for what it wraps.
            if (const auto& label = modifier->properties().label) {
                if (auto text = label->string(textContext(element.environment())); !text.empty()) {
                    out.push_back(std::move(text));
                    return;
                }
            }
        }
        if (element.node().isLeaf()) {
            if (auto text = element.node().text(); text && !text->empty()) out.push_back(*text);
            return;
        }
        for (const auto& child : element.children())
            collectTexts(*child, out);
    }

    // Controls read their model; what they show inside is theirs.
    bool control(const Element& element, const Pending& pending,
                 std::vector<AccessibilityObject>& out) const {
        const View view(element.nodePointer());
        std::optional<AccessibilityObject> object;
        View label;
        if (const auto* toggle = detail::toggleModel(view)) {
            object = make(element, pending, AccessibilityRole::checkBox);
            object->state.checkable = true;
            object->state.checked = toggle->isOn.get();
            if (object->value.empty()) object->value = object->state.checked ? "1" : "0";
            label = toggle->label;
        } else if (const auto* picker = detail::pickerModel(view)) {
            object = make(element, pending, AccessibilityRole::comboBox);
            const auto options = detail::pickerOptions(picker->content);
            if (auto chosen = detail::selectedOption(options, picker->selection.get());
                chosen && object->value.empty())
                object->value = labelText(options[*chosen].label, element);
            label = picker->label;
        } else if (const auto* menu = detail::menuViewModel(view)) {
            object = make(element, pending, AccessibilityRole::menuButton);
            label = menu->label;
        } else if (const auto* button = detail::buttonModel(view)) {
            object = make(element, pending,
                          has(pending.traits(), AccessibilityTraits::isToggle) ? AccessibilityRole::checkBox
                                                                               : AccessibilityRole::button);
            label = button->label;
        }
        if (!object) return false;
        object->state.focusable = true;
        if (object->name.empty()) object->name = labelText(label, element);
        if (object->name.empty()) object->name = joined(texts(element), " ");
        if (tabs_ && object->role == AccessibilityRole::button) object->role = AccessibilityRole::tab;
        out.push_back(std::move(*object));
        return true;
    }

    AccessibilityObject combined(const Element& element, const Pending& pending, AccessibilityTraits traits) {
        const auto behavior = pending.fields.children.value_or(AccessibilityChildBehavior::combine);
        AccessibilityRole role = behavior == AccessibilityChildBehavior::contain
                                     ? AccessibilityRole::group
                                     : AccessibilityRole::staticText;
        if (has(traits, AccessibilityTraits::isModal))
            role = AccessibilityRole::dialog;
        else if (has(traits, AccessibilityTraits::isButton))
            role = tabs_ ? AccessibilityRole::tab : AccessibilityRole::button;
        else if (has(traits, AccessibilityTraits::isLink))
            role = AccessibilityRole::link;
        else if (has(traits, AccessibilityTraits::isToggle))
            role = AccessibilityRole::checkBox;
        else if (has(traits, AccessibilityTraits::isImage))
            role = AccessibilityRole::image;
        else if (has(traits, AccessibilityTraits::isHeader))
            role = AccessibilityRole::heading;
        auto object = make(element, pending, role);
        if (behavior == AccessibilityChildBehavior::contain) {
            walkChildren(element, object.children);
            return object;
        }
        if (!object.name.empty()) return object;
        if (behavior == AccessibilityChildBehavior::ignore) {
            object.name = joined(texts(element), " ");
            return object;
        }
        std::vector<AccessibilityObject> inside;
        walkChildren(element, inside);
        std::vector<std::string> names;
        for (const auto& child : inside) {
            names.push_back(child.name);
            if (child.role == AccessibilityRole::checkBox || !child.value.empty())
                names.push_back(child.value);
        }
        object.name = joined(names, ", ");
        return object;
    }

    void leaf(const Element& element, const Pending& pending, AccessibilityTraits traits,
              std::vector<AccessibilityObject>& out) const {
        const auto text = element.node().text();
        const bool image = element.node().typeName() == "Image" || has(traits, AccessibilityTraits::isImage);
        if (!(text && !text->empty()) && !pending.fields.label) return; // shapes, colours, unlabelled images
        auto role = image                                        ? AccessibilityRole::image
                    : has(traits, AccessibilityTraits::isHeader) ? AccessibilityRole::heading
                                                                 : AccessibilityRole::staticText;
        auto object = make(element, pending, role);
        if (object.name.empty() && text) object.name = *text;
        out.push_back(std::move(object));
    }

    // The tab bar (its first part) is a tab list of tabs; the shown tab's content follows it.
    void tabView(const Element& element, std::vector<AccessibilityObject>& out) {
        const Element* body = &element;
        while (body->children().size() == 1)
            body = body->children().front().get();
        const auto& parts = body->children();
        if (parts.empty()) return;
        auto list = make(*parts.front(), {}, AccessibilityRole::tabList);
        tabs_ = true;
        walk(*parts.front(), {}, list.children);
        tabs_ = false;
        out.push_back(std::move(list));
        for (std::size_t i = 1; i < parts.size(); ++i)
            walk(*parts[i], {}, out);
    }

    const Element* focused_;
    std::map<const Element*, QWidget*> widgets_;
    bool tabs_ = false;
};

} // namespace

AccessibilityObject accessibilityTree(Graph& graph) {
    Builder builder(graph);
    AccessibilityObject root;
    root.element = &graph.root();
    root.role = AccessibilityRole::window;
    root.frame = {{0, 0}, graph.size()};
    builder.walkChildren(graph.root(), root.children);
    return root;
}

} // namespace ui
