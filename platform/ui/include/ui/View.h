#pragma once

#include "foundation/AnyHashable.h"
#include "foundation/Task.h"
#include "graphics/CGPoint.h"
#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"
#include "reactive/AnyCancellable.h"
#include "ui/AccessibilityTraits.h"
#include "ui/AnimatedAttribute.h"
#include "ui/Alignment.h"
#include "ui/Angle.h"
#include "ui/AnyShapeStyle.h"
#include "ui/Binding.h"
#include "ui/BlendMode.h"
#include "ui/Color.h"
#include "ui/ColorScheme.h"
#include "ui/Edge.h"
#include "ui/EnvironmentFocusedValues.h"
#include "ui/EnvironmentValues.h"
#include "ui/EventModifiers.h"
#include "ui/FillStyle.h"
#include "ui/FormStyle.h"
#include "ui/Font.h"
#include "ui/Frame.h"
#include "ui/Geometry.h"
#include "ui/Gesture.h"
#include "ui/KeyPress.h"
#include "ui/LayoutAxis.h"
#include "ui/Preference.h"
#include "ui/SubmitLabel.h"
#include "ui/ProposedViewSize.h"
#include "ui/SearchFieldPlacement.h"
#include "ui/Rotation3DEffect.h"
#include "ui/SymbolVariant.h"
#include "ui/Text.h"
#include "ui/TextAlignment.h"
#include "ui/TextCase.h"
#include "ui/TextTruncationMode.h"
#include "ui/Transaction.h"
#include "ui/UnitPoint.h"
#include "ui/ViewEquatableValue.h"
#include "ui/ListStyle.h"
#include "ui/Visibility.h"
#include "ui/WritingToolsBehavior.h"

#include <concepts>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeindex>
#include <utility>
#include <vector>

namespace foundation {
class NSItemProvider;
class UTType;
} // namespace foundation

namespace ui {

struct Alert;
class AnyButtonStyle;
class AnyShape;
class AnyToggleStyle;
class AnyTransition;
class DisplayList;
class DropDelegate;
class PickerStyle;
enum class ControlSize;
class Element;
class View;
class ViewContext;
class ViewPrimitive;
enum class MenuOrder;
struct ToolbarItem;
class Shader;
class VisualEffect;

// A custom view: any type with a body built from the context of its element.
template <class T>
concept CustomView = std::copy_constructible<T> && requires(const T& view, ViewContext& ctx) {
    { view.body(ctx) } -> std::convertible_to<View>;
};

// A custom modifier: any type with a body that wraps the modified view.
template <class M>
concept CustomModifier = std::copy_constructible<M> && requires(const M& m, ViewContext& ctx, View content) {
    { m.body(ctx, content) } -> std::convertible_to<View>;
};

// A geometry effect: a copyable type without a body whose `effectValue(size)` gives the
// transform its content is drawn with, for the size layout gave it. It moves what is drawn
// (and where it takes hits and reports its bounds), never the layout.
template <class E>
concept GeometryEffect =
    std::copy_constructible<E> && !CustomModifier<E> && requires(const E& e, graphics::CGSize size) {
    { e.effectValue(size) } -> std::convertible_to<graphics::ProjectionTransform>;
};

// A view hosting a native widget (ui/Representable.h has the whole protocol).
template <class T>
concept RepresentableView = std::copy_constructible<T> && requires {
    typename T::WidgetType;
};

// A node of a description. Descriptions are immutable and shared; what they describe lives
// in the element the graph keeps for them, which each node drives through these hooks.
class ViewNode {
public:
    virtual ~ViewNode() = default;

    // Elements are reused only for descriptions of the same kind at the same place.
    virtual std::type_index kind() const { return typeid(*this); }
    virtual std::string_view typeName() const = 0;

    // Brings the element's children in line with this description.
    virtual void update(Element& element) const;
    // Whether an unchanged description with an unchanged environment can skip its subtree.
    virtual bool isEqual(const ViewNode&) const { return false; }
    // How this node changes the transaction of every update below it, whatever caused it.
    virtual void transformTransaction(const Element&, Transaction&) const {}
    // A transparent node stands for its children in a container (groups, custom views, ...).
    virtual bool isTransparent() const { return false; }
    // Asked when the element leaves its parent under `transaction`: starts the animations of
    // its leaving (with that transaction, whose completion they hold) and says whether it did.
    // Until they end the element stays as a removal ghost. Wrappers pass the question on.
    virtual bool beginRemoval(Element&, const Transaction&) const { return false; }

    // Layout; the defaults treat the node as a wrapper of its layout children (stacked
    // vertically when there are several).
    virtual graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const;
    // Places the children inside the element's frame, which is already set.
    virtual void placeChildren(Element& element, const ProposedViewSize& proposal) const;
    virtual std::optional<CGFloat> explicitAlignment(Element& element, const AlignmentID* id,
                                                     graphics::CGSize size) const;
    virtual double layoutPriority() const { return 0; }
    // The axis along which a stack lines up its children (spacers grow along it).
    virtual std::optional<Axis> stackAxis() const { return std::nullopt; }

    // A leaf's size depends on nothing but its description, environment and the proposal, so
    // what it measured stays valid until one of those changes.
    virtual bool isLeaf() const { return false; }

    // A transform applied after layout (geometry effects, mirroring): how the children are drawn
    // relative to where layout placed them, in root coordinates. Hit testing, anchors and
    // geometry readers follow it; a node that has one paints its children through it.
    virtual std::optional<graphics::ProjectionTransform> contentTransform(const Element&) const {
        return std::nullopt;
    }

    // Painting; the default paints the children in order.
    virtual void render(const Element& element, DisplayList& list) const;
    // Preferences this node adds to what its children hand up.
    virtual void collectPreferences(const Element&, PreferenceValues&) const {}

    // Told when the element starts or stops being shown (made, removed, or a lazy row that
    // scrolled in or out).
    virtual void visibilityChanged(Element&, bool /*visible*/) const {}

    virtual std::optional<std::string> text() const { return std::nullopt; }
};

// A node whose children are a list: groups and ForEach. Modifiers applied to a list apply to
// each child.
class ListNode : public ViewNode {
public:
    using Wrapper = std::function<View(View)>;

    virtual std::size_t count() const = 0;
    // The child's identity: its explicit id, or its position.
    virtual foundation::AnyHashable idAt(std::size_t index) const = 0;
    virtual bool hasExplicitIDs() const = 0;
    // The child's description, with the list's modifiers applied.
    View viewAt(std::size_t index) const;
    virtual std::shared_ptr<ListNode> withWrapper(Wrapper wrapper) const = 0;

    bool isTransparent() const override { return true; }
    void update(Element& element) const override;

protected:
    virtual View rawViewAt(std::size_t index) const = 0;
    std::vector<Wrapper> wrappers_;
};

// A view description: a cheap, immutable value (a shared pointer to its node).
class View {
public:
    View(); // nothing (EmptyView)
    explicit View(std::shared_ptr<const ViewNode> node);
    View(std::shared_ptr<const ViewPrimitive> leaf);
    template <CustomView T> View(T view);

    const std::shared_ptr<const ViewNode>& node() const { return node_; }
    template <class N> const N* nodeAs() const { return dynamic_cast<const N*>(node_.get()); }

    // Custom modifiers.
    template <CustomModifier M> View modifier(M m) const;
    template <CustomModifier M> friend View operator|(const View& view, M m) {
        return view.modifier(std::move(m));
    }
    // Geometry effects (defined in ui/GeometryEffect.h).
    template <GeometryEffect E> View modifier(E effect) const;
    template <GeometryEffect E> friend View operator|(const View& view, E effect) {
        return view.modifier(std::move(effect));
    }
    // Applies `wrap` to this view, or to each child of a group or ForEach.
    View apply(const std::function<View(View)>& wrap) const;

    // Identity and traits.
    template <class ID> View id(ID id) const { return idErased(hashable(std::move(id))); }
    template <class Tag> View tag(Tag tag) const { return tagErased(hashable(std::move(tag))); }
    // The tag set on this view, if any.
    std::optional<foundation::AnyHashable> tagValue() const;
    // The children a container would see: a group's or ForEach's, or the view itself.
    std::vector<View> enumerateChildren() const;

    // Layout.
    View padding(CGFloat length = 16) const;
    View padding(EdgeSet edges, std::optional<CGFloat> length = std::nullopt) const;
    View padding(EdgeInsets insets) const;
    View frame(std::optional<CGFloat> width, std::optional<CGFloat> height,
               Alignment alignment = Alignment::center) const;
    View frame(const FlexibleFrame& limits) const;
    // Moves what is drawn, after layout; the view keeps its place.
    View offset(graphics::CGSize offset) const;
    View offset(CGFloat x, CGFloat y) const { return offset(graphics::CGSize{x, y}); }
    View position(graphics::CGPoint position) const;
    View position(CGFloat x, CGFloat y) const { return position(graphics::CGPoint{x, y}); }
    View overlay(View content, Alignment alignment = Alignment::center) const;
    View background(View content, Alignment alignment = Alignment::center) const;
    View fixedSize(bool horizontal = true, bool vertical = true) const;
    View layoutPriority(double priority) const;
    View aspectRatio(std::optional<CGFloat> ratio, ContentMode mode) const;
    View aspectRatio(graphics::CGSize ratio, ContentMode mode) const;
    View alignmentGuide(HorizontalAlignment guide, std::function<CGFloat(const ViewDimensions&)> value) const;
    View alignmentGuide(VerticalAlignment guide, std::function<CGFloat(const ViewDimensions&)> value) const;
    View flipsForRightToLeftLayoutDirection(bool enabled) const;

    // Geometry effects: drawn scaled, turned or turned in depth about an anchor, after layout
    // (GeometryEffectModifiers.cpp).
    View scaleEffect(graphics::CGSize scale, UnitPoint anchor = UnitPoint::center) const;
    View scaleEffect(CGFloat scale, UnitPoint anchor = UnitPoint::center) const {
        return scaleEffect(graphics::CGSize{scale, scale}, anchor);
    }
    View scaleEffect(CGFloat x, CGFloat y, UnitPoint anchor = UnitPoint::center) const {
        return scaleEffect(graphics::CGSize{x, y}, anchor);
    }
    View rotationEffect(Angle angle, UnitPoint anchor = UnitPoint::center) const;
    View rotation3DEffect(Angle angle, RotationAxis axis, UnitPoint anchor = UnitPoint::center,
                          CGFloat anchorZ = 0, CGFloat perspective = 1) const;

    // Painting: leaves (colours, text), styles, text and symbol settings, effects, and the
    // traits recorded for hit testing and accessibility (PaintingModifiers.cpp and neighbours).
    View(const Color& color); // fills what it is offered
    View(Text text);
    View foregroundStyle(AnyShapeStyle style) const;
    View foregroundColor(std::optional<Color> color) const;
    View tint(std::optional<Color> tint) const;
    View font(std::optional<Font> font) const;
    View fontDesign(std::optional<Font::Design> design) const;
    View fontWeight(std::optional<Font::Weight> weight) const;
    View lineLimit(std::optional<int> limit) const;
    View multilineTextAlignment(TextAlignment alignment) const;
    View truncationMode(TextTruncationMode mode) const;
    View textCase(std::optional<TextCase> textCase) const;
    View symbolVariant(SymbolVariant variant) const;
    View scaledToFit() const { return aspectRatio(std::nullopt, ContentMode::fit); }
    View scaledToFill() const { return aspectRatio(std::nullopt, ContentMode::fill); }
    View clipShape(const AnyShape& shape, FillStyle style = {}) const;
    View cornerRadius(CGFloat radius, bool antialiased = true) const;
    View mask(View mask, Alignment alignment = Alignment::center) const;
    View blendMode(BlendMode mode) const;
    View compositingGroup() const;
    View shadow(std::optional<Color> color, CGFloat radius, CGFloat x = 0, CGFloat y = 0) const;
    View shadow(CGFloat radius, CGFloat x = 0, CGFloat y = 0) const {
        return shadow(std::nullopt, radius, x, y);
    }
    View blur(CGFloat radius, bool opaque = false) const;
    // Shaders run per pixel over the view's layer (ui/Shader.h); a disabled one draws the
    // content as it is. A layer effect may sample up to `maxSampleOffset` points away, and
    // its layer grows by that much on every side.
    View colorEffect(Shader shader, bool isEnabled = true) const;
    View layerEffect(Shader shader, graphics::CGSize maxSampleOffset, bool isEnabled = true) const;
    // Effects chosen from the view's geometry when it is drawn (ui/VisualEffect.h): `effect`
    // gets the content as it is and the view's size and frame, and returns it with effects.
    View visualEffect(std::function<VisualEffect(VisualEffect content, const GeometryProxy& proxy)> effect) const;
    View hidden() const;
    View zIndex(double value) const;
    View contentShape(const AnyShape& shape, bool eoFill = false) const;
    View allowsHitTesting(bool enabled) const;
    View accessibilityLabel(Text label) const;
    View accessibilityValue(Text value) const;
    View accessibilityHint(Text hint) const;
    View accessibilityIdentifier(std::string identifier) const;
    View accessibilityHidden(bool hidden) const;
    View accessibilityElement(AccessibilityChildBehavior children = AccessibilityChildBehavior::ignore) const;
    View accessibilityAddTraits(AccessibilityTraits traits) const;
    View accessibilityRemoveTraits(AccessibilityTraits traits) const;
    View writingToolsBehavior(WritingToolsBehavior behavior) const;

    // Colour filters (ColorFilterModifiers.cpp): each changes the colours of everything the
    // view paints, as one image.
    View brightness(double amount) const;        // adds to red, green and blue; negative darkens
    View contrast(double amount) const;          // 1 unchanged, 0 grey, above 1 more contrast
    View saturation(double amount) const;        // 1 unchanged, 0 luminance only
    View hueRotation(Angle angle) const;
    View colorMultiply(const Color& color) const;
    View colorInvert() const;
    View grayscale(double amount) const;         // 0 unchanged, 1 grey
    View luminanceToAlpha() const;               // black, as opaque as the colour is light

    // Painting.
    View opacity(double opacity) const;
    View clipped() const;

    // Environment.
    template <EnvironmentKey K> View environment(K, typename K::Value value) const {
        return environmentErased(detail::keyID<K>(), detail::EquatableValue(std::move(value)));
    }
    template <EnvironmentKey K> View environment(typename K::Value value) const {
        return environment(K{}, std::move(value));
    }
    // Replaces the whole environment of the view.
    View environment(EnvironmentValues values) const;
    template <EnvironmentKey K, class F> View transformEnvironment(K, F transform) const {
        return transformEnvironmentErased(
            [transform](EnvironmentValues& values) { values.transform<K>(transform); });
    }
    template <class T> View environmentObject(std::shared_ptr<T> object) const {
        return environment<EnvironmentObjectKey<T>>(std::move(object));
    }
    View disabled(bool disabled) const;

    // Controls (ui/Button.h, ui/Toggle.h, ui/Picker.h, ...): how the controls inside look.
    View buttonStyle(AnyButtonStyle style) const;
    View toggleStyle(AnyToggleStyle style) const;
    View pickerStyle(PickerStyle style) const;
    View controlSize(ControlSize size) const;
    // Controls inside draw no labels of their own (toggles, pickers, colour pickers).
    View labelsHidden() const;
    // A secondary click shows a menu of `menuItems` (buttons, dividers, ...; ui/MenuModel.h).
    View contextMenu(View menuItems) const;
    // Asks the presenting window for a colour scheme; the host reads it from the root's preferences.
    View preferredColorScheme(std::optional<ColorScheme> scheme) const;

    // Presentations (PresentationModifiers.cpp): while the binding is true the window shows an
    // alert, a sheet or a cover over all its content (ui/PresentationHost.h). Choosing an alert
    // button, Escape, or `dismiss` from the environment writes false; `onDismiss` runs whenever
    // the binding turns false.
    // An alert whose buttons are the Buttons in `actions` (an "OK" one when there are none).
    View alert(Text title, Binding<bool> isPresented, View actions = {},
               std::optional<View> message = std::nullopt) const;
    View alert(Binding<bool> isPresented, std::function<Alert()> content) const;
    View sheet(Binding<bool> isPresented, std::function<void()> onDismiss, std::function<View()> content) const;
    View sheet(Binding<bool> isPresented, std::function<View()> content) const {
        return sheet(std::move(isPresented), {}, std::move(content));
    }
    View fullScreenCover(Binding<bool> isPresented, std::function<void()> onDismiss,
                         std::function<View()> content) const;
    View fullScreenCover(Binding<bool> isPresented, std::function<View()> content) const {
        return fullScreenCover(std::move(isPresented), {}, std::move(content));
    }
    // A search field above the view that edits `text` (SearchModifiers.cpp).
    View searchable(Binding<std::string> text, SearchFieldPlacement placement = SearchFieldPlacement::automatic,
                    std::string prompt = "Search") const;
    // The same, with `isPresented` true exactly while the search field has the keyboard focus:
    // writing true focuses it, false takes the focus away. No prompt: "Search".
    View searchable(Binding<std::string> text, Binding<bool> isPresented,
                    SearchFieldPlacement placement = SearchFieldPlacement::automatic,
                    std::optional<Text> prompt = std::nullopt) const;
    // How the forms inside lay out their rows (ui/Form.h).
    View formStyle(FormStyle style) const;

    // Windows: items for the title area of the window that shows this view (ui/Toolbar.h).
    View toolbar(std::vector<ToolbarItem> items) const;
    // Recorded only: menus keep their declared order (ui/MenuOrder.h), and the desktop has no
    // system overlays to show or hide (ui/SystemOverlays.h).
    View menuOrder(MenuOrder order) const;
    View persistentSystemOverlays(Visibility visibility) const;

    // Preferences.
    template <PreferenceKey K> View preference(K, typename K::Value value) const {
        return collectErased([value](const Element&, PreferenceValues& values) { values.set<K>(value); });
    }
    template <PreferenceKey K, class F> View transformPreference(K, F transform) const {
        return collectErased([transform](const Element&, PreferenceValues& values) {
            auto value = values.get<K>();
            transform(value);
            values.set<K>(std::move(value));
        });
    }
    template <PreferenceKey K, class F> View anchorPreference(K, AnchorSource, F transform) const {
        return collectErased([transform](const Element& element, PreferenceValues& values) {
            values.set<K>(transform(Anchor<graphics::CGRect>(elementBounds(element))));
        });
    }
    // Calls `action` with the subtree's value after each update in which it changed, and
    // after the first.
    template <PreferenceKey K, class F> View onPreferenceChange(K, F action) const {
        return onPreferenceChangeErased(
            detail::keyID<K>(), [action](const PreferenceValues& values) { action(values.get<K>()); });
    }
    // Overlays (or backs) the view with content made from the value its subtree collected.
    template <PreferenceKey K, class F>
    View overlayPreferenceValue(K, F content, Alignment alignment = Alignment::center) const {
        return preferenceReaderErased(
            detail::keyID<K>(),
            [content](const PreferenceValues& values) -> View { return content(values.get<K>()); }, alignment,
            true);
    }
    template <PreferenceKey K, class F>
    View backgroundPreferenceValue(K, F content, Alignment alignment = Alignment::center) const {
        return preferenceReaderErased(
            detail::keyID<K>(),
            [content](const PreferenceValues& values) -> View { return content(values.get<K>()); }, alignment,
            false);
    }

    // Publishes a value for commands (FocusedValues); views closer to the root win.
    template <FocusedValueKey K> View focusedValue(K, std::optional<typename K::Value> value) const {
        return transformPreference(FocusedValuesKey{}, [value](FocusedValues& values) {
            FocusedValues own;
            own.set<K>(value);
            own.merge(values);
            values = std::move(own);
        });
    }

    // How the view enters and leaves its container under an animation (ui/AnyTransition.h).
    View transition(const AnyTransition& transition) const;

    // Transactions (TransactionModifiers.cpp). `transform` edits the transaction of every
    // update inside this view, whatever caused it.
    View transaction(std::function<void(Transaction&)> transform) const;
    // Every change inside animates with `animation` (none: nothing animates), unless its
    // transaction disables animations.
    View animation(std::optional<Animation> animation) const;
    // The same, only in an update in which `value` changed.
    template <class T> View animation(std::optional<Animation> animation, T value) const {
        return animationErased(std::move(animation), detail::EquatableValue(std::move(value)));
    }
    View animationErased(std::optional<Animation> animation, detail::EquatableValue value) const;

    // Life cycle and changes. Actions run after the update that caused them.
    View onAppear(std::function<void()> action) const;
    View onDisappear(std::function<void()> action) const;
    // Runs `action` with the new value when `value` differs from the previous update's; the
    // action is the one given in that previous update.
    template <class T, class F> View onChange(T value, F action) const {
        return onChangeErased(detail::EquatableValue(std::move(value)), false,
                              [action](const detail::EquatableValue&, const detail::EquatableValue& now) {
                                  action(now.get<T>());
                              });
    }
    // The same with old and new values; `initial` also runs it when the view appears.
    template <class T, class F> View onChange(T value, bool initial, F action) const {
        return onChangeErased(detail::EquatableValue(std::move(value)), initial,
                              [action](const detail::EquatableValue& old, const detail::EquatableValue& now) {
                                  action(old.get<T>(), now.get<T>());
                              });
    }
    // Subscribes while the view is present; a publisher that differs from the previous one is
    // subscribed anew (by ==, or for handles without it, by the state they share).
    template <class P, class F> View onReceive(P publisher, F action) const;
    // Starts `make()`'s task when the view appears and cancels it when it disappears.
    View task(std::function<foundation::Task<>()> make) const;

    // Used by the templates above.
    View idErased(foundation::AnyHashable id) const;
    View tagErased(foundation::AnyHashable tag) const;
    View environmentErased(detail::KeyID key, detail::EquatableValue value) const;
    View transformEnvironmentErased(std::function<void(EnvironmentValues&)> transform) const;
    View collectErased(std::function<void(const Element&, PreferenceValues&)> collect) const;
    View onPreferenceChangeErased(detail::KeyID key,
                                  std::function<void(const PreferenceValues&)> action) const;
    View preferenceReaderErased(detail::KeyID key, std::function<View(const PreferenceValues&)> content,
                                Alignment alignment, bool overlay) const;
    using ChangeAction = std::function<void(const detail::EquatableValue&, const detail::EquatableValue&)>;
    View onChangeErased(detail::EquatableValue value, bool initial, ChangeAction action) const;
    using Subscribe = std::function<std::function<void()>(Element&)>; // returns the cancel
    View onReceiveErased(detail::EquatableValue publisher, Subscribe subscribe) const;

    static graphics::CGRect elementBounds(const Element& element);

    // Events: gestures, hover, keys, keyboard shortcuts, modifier keys and focus.
    View onTapGesture(int count, std::function<void()> action) const;
    View onTapGesture(std::function<void()> action) const { return onTapGesture(1, std::move(action)); }
    View onLongPressGesture(double minimumDuration, CGFloat maximumDistance, std::function<void()> action,
                            std::function<void(bool)> onPressingChanged = {}) const;
    View onLongPressGesture(std::function<void()> action) const {
        return onLongPressGesture(0.5, 10, std::move(action));
    }
    // The gesture competes with the others under the pointer; the innermost view's wins.
    View gesture(const Gesture& gesture, GestureMask mask = GestureMask::all) const;
    // The gesture runs beside the others, winning or losing none of them.
    View simultaneousGesture(const Gesture& gesture, GestureMask mask = GestureMask::all) const;
    View onHover(std::function<void(bool)> action) const;
    // Key presses while the keyboard focus is in this view; an ignored press goes on outward.
    View onKeyPress(std::function<KeyPress::Result(const KeyPress&)> action) const;
    View onKeyPress(KeyEquivalent key, std::function<KeyPress::Result()> action) const;
    // Gives the controls inside a shortcut that triggers them from anywhere in the window.
    View keyboardShortcut(KeyEquivalent key, EventModifiers modifiers = EventModifiers::command) const;
    View keyboardShortcut(std::optional<KeyboardShortcut> shortcut) const;
    // Calls `action(old, new)` with the held modifier keys in `mask` whenever they change, and
    // with `initial` also once when the view appears.
    View onModifierKeysChanged(EventModifiers mask, bool initial,
                               std::function<void(EventModifiers, EventModifiers)> action) const;
    View focusable(bool isFocusable = true) const;
    // The keyboard focus is in this view exactly while the binding holds `value` (true).
    template <class T> View focused(Binding<std::optional<T>> binding, T value) const {
        return focusedErased(
            [binding, value] {
                auto now = binding.get();
                return now && *now == value;
            },
            [binding, value](bool focus) {
                if (focus) {
                    binding.set(value);
                } else if (auto now = binding.get(); now && *now == value) {
                    binding.set(std::nullopt);
                }
            });
    }
    View focused(Binding<bool> binding) const;
    View focusedErased(std::function<bool()> isFocused, std::function<void(bool)> setFocused) const;

    // Lists (ui/List.h): what a row asks of the list that shows it, and the list's own look.
    // Without insets a row gets the list's default ones.
    View listRowInsets(std::optional<EdgeInsets> insets) const;
    View listRowBackground(std::optional<View> background) const;
    // The colour of the separators at `edges` (top, bottom) of the row.
    View listRowSeparatorTint(std::optional<Color> tint, EdgeSet edges = EdgeSet::vertical) const;
    View listRowSeparator(Visibility visibility, EdgeSet edges = EdgeSet::vertical) const;
    View listStyle(ListStyle style) const;
    // Hidden: the list paints no background of its own behind its rows.
    View scrollContentBackground(Visibility visibility) const;

    // Drag and drop within a window. Dragging the view starts a drag carrying what `data`
    // returns (called once, as the drag starts), shown under the pointer as `preview`, or as the
    // view itself when there is none.
    View onDrag(std::function<foundation::NSItemProvider()> data) const;
    View onDrag(std::function<foundation::NSItemProvider()> data, View preview) const;
    // A drop target for drags carrying one of `types`; the innermost target under the pointer
    // takes the drag.
    View onDrop(std::vector<foundation::UTType> types, std::shared_ptr<DropDelegate> delegate) const;
    // Text input: what the text fields inside run when submitted, and their Return key's name.
    View onSubmit(std::function<void()> action) const;
    View submitLabel(SubmitLabel label) const;

    // Hosting: a representable as a view (defined in ui/Representable.h).
    template <RepresentableView T> View(T representable);

private:
    template <class T> static foundation::AnyHashable hashable(T value) {
        if constexpr (std::is_convertible_v<T, std::string_view>)
            return foundation::AnyHashable(std::string(std::string_view(value)));
        else
            return foundation::AnyHashable(std::move(value));
    }

    std::shared_ptr<const ViewNode> node_;
};

// Nothing: takes no space and paints nothing.
struct EmptyView : View {
    EmptyView() = default;
};

namespace detail {

// The element-side work of custom views and modifiers, shared by every type.
class CustomNodeBase : public ViewNode {
public:
    void update(Element& element) const override;
    bool isTransparent() const override { return true; }
    virtual View evaluate(ViewContext& ctx) const = 0;
};

// The animated data of the custom view or modifier whose body runs in `ctx`, made by `make`
// on first use, and the transaction the body runs in.
AttributeAnimation& bodyAttribute(ViewContext& ctx,
                                  const std::function<std::shared_ptr<AttributeAnimation>(Element&)>& make);
const Transaction& bodyTransaction(ViewContext& ctx);

// An Animatable view or modifier runs its body on a copy holding the presented data.
template <Animatable T> T presentedCopy(const T& value, ViewContext& ctx) {
    using Data = AnimatableDataOf<T>;
    Data target = getAnimatableData(value);
    auto& attribute = static_cast<AnimatedAttribute<Data>&>(bodyAttribute(ctx, [&](Element& element) {
        return std::make_shared<AnimatedAttribute<Data>>(element, target, AnimatedEffect::body);
    }));
    attribute.setTarget(target, bodyTransaction(ctx));
    T copy = value;
    setAnimatableData(copy, attribute.value());
    return copy;
}

template <class T> class CustomViewNode final : public CustomNodeBase {
public:
    explicit CustomViewNode(T view)
        : view_(std::move(view)) {}
    View evaluate(ViewContext& ctx) const override {
        if constexpr (Animatable<T>)
            return presentedCopy(view_, ctx).body(ctx);
        else
            return view_.body(ctx);
    }
    bool isEqual(const ViewNode& other) const override {
        if constexpr (std::equality_comparable<T>) {
            const auto* same = dynamic_cast<const CustomViewNode*>(&other);
            return same && same->view_ == view_;
        } else {
            return false;
        }
    }
    std::string_view typeName() const override { return typeid(T).name(); }
    const T& value() const { return view_; }

private:
    T view_;
};

template <class M> class CustomModifierNode final : public CustomNodeBase {
public:
    CustomModifierNode(M modifier, View content)
        : modifier_(std::move(modifier))
        , content_(std::move(content)) {}
    View evaluate(ViewContext& ctx) const override {
        if constexpr (Animatable<M>)
            return presentedCopy(modifier_, ctx).body(ctx, content_);
        else
            return modifier_.body(ctx, content_);
    }
    bool isEqual(const ViewNode& other) const override {
        if constexpr (std::equality_comparable<M>) {
            const auto* same = dynamic_cast<const CustomModifierNode*>(&other);
            return same && same->modifier_ == modifier_ && same->content_.node() == content_.node();
        } else {
            return false;
        }
    }
    std::string_view typeName() const override { return typeid(M).name(); }
    const M& value() const { return modifier_; }

private:
    M modifier_;
    View content_;
};

} // namespace detail

template <CustomView T>
View::View(T view)
    : node_(std::make_shared<detail::CustomViewNode<T>>(std::move(view))) {}

template <CustomModifier M> View View::modifier(M m) const {
    return apply(
        [m](View content) { return View(std::make_shared<detail::CustomModifierNode<M>>(m, content)); });
}

namespace detail {
// Publishers compare by value where they can; handles without == (subjects, erased publishers)
// compare by their bits, that is by the state they share, so the same subject is the same
// publisher and a new one is not.
template <class P> struct PublisherIdentity {
    P publisher;
    bool operator==(const PublisherIdentity& other) const {
        if constexpr (std::equality_comparable<P>)
            return publisher == other.publisher;
        else
            return std::memcmp(static_cast<const void*>(std::addressof(publisher)),
                               static_cast<const void*>(std::addressof(other.publisher)), sizeof(P)) == 0;
    }
};
} // namespace detail

template <class P, class F> View View::onReceive(P publisher, F action) const {
    detail::EquatableValue identity(detail::PublisherIdentity<P>{publisher});
    return onReceiveErased(std::move(identity), [publisher, action](Element&) -> std::function<void()> {
        // Values arrive with an empty transaction, whatever the sender had in force.
        auto cancellable = std::make_shared<reactive::AnyCancellable>(publisher.sink(
            [action](const auto& value) { withTransaction(Transaction(), [&] { action(value); }); }));
        return [cancellable] { cancellable->cancel(); };
    });
}

} // namespace ui
