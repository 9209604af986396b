#pragma once

#include "graphics/CGSize.h"
#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/EnvironmentValues.h"
#include "ui/Graph.h"
#include "ui/HitTesting.h"
#include "ui/HostedWidgets.h"
#include "ui/ProposedViewSize.h"
#include "ui/Transaction.h"
#include "ui/View.h"

#include <QPainter>
#include <QRectF>
#include <QWidget>

#include <concepts>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>

// A view that hosts a native Qt widget. A representable is a plain value type naming its
// widget type and saying how to make and update it:
//
//     struct Meter {
//         using WidgetType = QProgressBar;
//         int value;
//         std::unique_ptr<QProgressBar> makeWidget(const ui::RepresentableContext<Meter>&) const;
//         void updateWidget(QProgressBar& bar, const ui::RepresentableContext<Meter>&) const;
//     };
//     ui::View view = Meter{40};
//
// The widget is made once per identity, right before the first update; updated whenever the
// view's description or environment changes; and dismantled when the element goes. Optional
// members:
// - `std::shared_ptr<C> makeCoordinator() const`: made before the widget, kept as long as it,
//   handed over in the context (a delegate for the widget, holding bindings);
// - `static void dismantleWidget(WidgetType&, C&)` (or `(WidgetType&)` without a coordinator);
// - `std::optional<graphics::CGSize> sizeThatFits(const ui::ProposedViewSize&, WidgetType&,
//   const Context&) const`: nullopt falls back to the widget's size hint and size policy;
// - `bool showsLive(const WidgetType&, const Context&) const`: false keeps the widget hidden
//   and painted by the layer (text editors show live only while focused, so overlays,
//   opacity and rendered images stay right); without it the widget shows live wherever the
//   host allows;
// - `void paintWidget(WidgetType&, QPainter&, const QRectF& frame, const Context&) const`:
//   the painted form; by default the widget renders itself.
namespace ui {

namespace detail {
struct NoCoordinator {};

template <class R> auto coordinatorTypeOf() {
    if constexpr (requires(const R& r) { r.makeCoordinator(); })
        return std::type_identity<
            typename decltype(std::declval<const R&>().makeCoordinator())::element_type>{};
    else
        return std::type_identity<NoCoordinator>{};
}
} // namespace detail

template <class R> using CoordinatorOf = typename decltype(detail::coordinatorTypeOf<R>())::type;

// What make, update and the other hooks are given.
template <class R> struct RepresentableContext {
    // Empty when the representable makes none.
    std::shared_ptr<CoordinatorOf<R>> coordinator;
    EnvironmentValues environment;
    // The transaction of the update in progress.
    Transaction transaction;
};

template <class R>
concept Representable = RepresentableView<R> && std::derived_from<typename R::WidgetType, QWidget> &&
    requires(const R& r, const RepresentableContext<R>& context, typename R::WidgetType& widget) {
    { r.makeWidget(context) } -> std::convertible_to<std::unique_ptr<typename R::WidgetType>>;
    r.updateWidget(widget, context);
};

namespace detail {

// Whether widgets can be made in this process (they need a QApplication); says why not, once.
bool canHostWidgets();

// The node of every representable: sizing, painting and the element's hosted widget. It takes
// pointer events across its frame, where the painted form stands in for the widget.
class HostedWidgetNode : public ViewNode, public HitTestingNode {
public:
    std::string_view typeName() const override { return "Representable"; }
    void hitTestEffect(const Element& element, HitTestEffect& effect) const override;
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override;
    void placeChildren(Element&, const ProposedViewSize&) const override {}
    void render(const Element& element, DisplayList& list) const override;

    static HostedWidget* hosted(const Element& element);

protected:
    static constexpr std::string_view slotName = "\x01hosted";
};

template <class R> class HostedWidgetOf final : public HostedWidget {
public:
    using Widget = typename R::WidgetType;
    using Context = RepresentableContext<R>;

    HostedWidgetOf(HostedWidgets& registry, R description)
        : HostedWidget(registry)
        , description_(std::move(description)) {}

    ~HostedWidgetOf() override {
        if (Widget* widget = typed()) {
            if constexpr (requires(Widget & w, CoordinatorOf<R> & c) { R::dismantleWidget(w, c); })
                R::dismantleWidget(*widget, *context_.coordinator);
            else if constexpr (requires(Widget & w) { R::dismantleWidget(w); })
                R::dismantleWidget(*widget);
        }
    }

    void update(R description, const EnvironmentValues& environment, const Transaction& transaction) {
        description_ = std::move(description);
        context_.environment = environment;
        context_.transaction = transaction;
        if (!made_) {
            made_ = true;
            if (!canHostWidgets()) return;
            if constexpr (requires(const R& r) { r.makeCoordinator(); })
                context_.coordinator = description_.makeCoordinator();
            std::unique_ptr<Widget> widget = description_.makeWidget(context_);
            adopt(widget.release());
        }
        if (Widget* widget = typed()) description_.updateWidget(*widget, context_);
    }

    bool wantsLive() const override {
        if constexpr (requires(const R& r, const Widget& w, const Context& c) { r.showsLive(w, c); }) {
            const Widget* widget = typed();
            return widget && description_.showsLive(*widget, context_);
        } else {
            return true;
        }
    }

    void paint(QPainter& painter, const QRectF& bounds) const override {
        if constexpr (requires(const R& r, Widget& w, QPainter& p, const QRectF& b, const Context& c) {
                          r.paintWidget(w, p, b, c);
                      }) {
            if (Widget* widget = typed()) description_.paintWidget(*widget, painter, bounds, context_);
        } else {
            HostedWidget::paint(painter, bounds);
        }
    }

    std::optional<graphics::CGSize> customSize(const ProposedViewSize& proposal) const override {
        if constexpr (requires(const R& r, const ProposedViewSize& p, Widget& w, const Context& c) {
                          r.sizeThatFits(p, w, c);
                      }) {
            if (Widget* widget = typed()) return description_.sizeThatFits(proposal, *widget, context_);
        }
        return std::nullopt;
    }

    Widget* typed() const { return static_cast<Widget*>(widget()); }
    const Context& context() const { return context_; }

private:
    R description_;
    Context context_;
    bool made_ = false;
};

template <class R> class RepresentableNode final : public HostedWidgetNode {
    static_assert(Representable<R>,
                  "a representable needs WidgetType (a QWidget), makeWidget and updateWidget");

public:
    explicit RepresentableNode(R representable)
        : representable_(std::move(representable)) {}

    void update(Element& element) const override {
        auto hosted = element.slot<HostedWidget>(slotName, [&]() -> std::shared_ptr<HostedWidget> {
            return std::make_shared<HostedWidgetOf<R>>(element.graph().hostedWidgets(), representable_);
        });
        hosted->attach(element);
        static_cast<HostedWidgetOf<R>&>(*hosted).update(representable_, element.environment(),
                                                        element.transaction());
        element.reconcile({});
    }

private:
    R representable_;
};

} // namespace detail

// The widget a representable's element hosts, for tests and for the controls built on it.
template <class R> typename R::WidgetType* hostedWidget(const Element* element) {
    if (!element) return nullptr;
    auto* hosted = dynamic_cast<detail::HostedWidgetOf<R>*>(detail::HostedWidgetNode::hosted(*element));
    return hosted ? hosted->typed() : nullptr;
}

template <RepresentableView T>
View::View(T representable)
    : node_(std::make_shared<detail::RepresentableNode<T>>(std::move(representable))) {}

} // namespace ui
