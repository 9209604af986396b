#pragma once

#include "ui/ShapeStyle.h"

#include <QBrush>
#include <QRectF>

#include <concepts>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace ui {

struct StyleContext;

// Any shape style behind one type. Cheap to copy: copies share the style.
class AnyShapeStyle {
public:
    template <ShapeStyle S>
    requires(!std::same_as<std::remove_cvref_t<S>, AnyShapeStyle>) AnyShapeStyle(S style)
        : box_(std::make_shared<const Model<S>>(std::move(style))) {}

    QBrush brush(const StyleContext& context, const QRectF& bounds) const {
        return box_->brush(context, bounds);
    }

    // This style with its opacity multiplied by `opacity`, clamped to [0, 1].
    AnyShapeStyle opacity(double opacity) const;

    // The wrapped style when it is an S (not looking through opacity), else nullptr.
    template <class S> const S* as() const {
        return box_->type() == typeid(S) ? static_cast<const S*>(box_->get()) : nullptr;
    }

    // Equal when both wrap equal styles of one type; styles without == are equal only to
    // copies of themselves.
    bool operator==(const AnyShapeStyle& other) const {
        return box_ == other.box_ || (box_->type() == other.box_->type() && box_->equals(*other.box_));
    }

private:
    struct Base {
        virtual ~Base() = default;
        virtual QBrush brush(const StyleContext& context, const QRectF& bounds) const = 0;
        virtual const std::type_info& type() const = 0;
        virtual const void* get() const = 0;
        // Only called with a Base of the same type.
        virtual bool equals(const Base& other) const = 0;
    };

    template <class S> struct Model final : Base {
        explicit Model(S s)
            : style(std::move(s)) {}
        QBrush brush(const StyleContext& context, const QRectF& bounds) const override {
            return style.brush(context, bounds);
        }
        const std::type_info& type() const override { return typeid(S); }
        const void* get() const override { return &style; }
        bool equals(const Base& other) const override {
            if constexpr (std::equality_comparable<S>) {
                return style == static_cast<const Model&>(other).style;
            } else {
                return this == &other;
            }
        }
        S style;
    };

    std::shared_ptr<const Base> box_;
};

namespace detail {

// A style seen through an opacity: the context's opacity is multiplied on the way down.
struct OpacityShapeStyle {
    AnyShapeStyle style;
    double opacity = 1;

    QBrush brush(const StyleContext& context, const QRectF& bounds) const;
    bool operator==(const OpacityShapeStyle&) const = default;
};

} // namespace detail

} // namespace ui
