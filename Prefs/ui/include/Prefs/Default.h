#pragma once

#include "Prefs/Key.h"
#include "Prefs/KeyChange.h"
#include "Prefs/Observable.h"
#include "Prefs/ObservationOption.h"
#include "Prefs/Publishers.h"
#include "Prefs/Serializable.h"
#include "Prefs/ValueAccess.h"

#include "foundation/Fatal.h"

#include "reactive/AnyPublisher.h"

#include "ui/Binding.h"
#include "ui/ViewContext.h"

#include <concepts>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace Prefs {

// A key bound to a view: made in the view's body, it reads and writes the key and makes the
// view evaluate again whenever the key's stored object changes, whoever changed it.
//
//     ui::View body(ui::ViewContext& ctx) const {
//         Prefs::Default<bool> burnOnQuit(ctx, "burnOnQuit", keys::burnOnQuit());
//         ... burnOnQuit.wrappedValue() ... burnOnQuit.projectedValue() ...
//     }
//
// The view's element keeps one Prefs::Observable under `name`, made on the first evaluation;
// each evaluation hands it this key (restarting its watch only when the key changed) and
// follows its announcements. Nothing is cached: every read goes to the suite, every write to
// it at once.
template <Serializable Value> class Default {
public:
    Default(ui::ViewContext& ctx, std::string_view name, std::shared_ptr<Key<Value>> key)
        : key_(std::move(key)) {
        if (!key_) foundation::fatal("Prefs.Default: no key for \"" + std::string(name) + "\"");
        update(ctx, name);
    }

    const std::shared_ptr<Key<Value>>& key() const { return key_; }

    Value wrappedValue() const { return Prefs::get(observable_->key()); }
    // Always writes, also a value equal to the stored one.
    void setWrappedValue(const Value& value) const { Prefs::set(observable_->key(), value); }
    // Reads, lets `change` edit the value, and writes the result back, also when `change`
    // throws (the exception then goes on).
    template <std::invocable<Value&> Change> void modifyWrappedValue(Change&& change) const {
        Value value = wrappedValue();
        try {
            std::invoke(std::forward<Change>(change), value);
        } catch (...) {
            setWrappedValue(value);
            throw;
        }
        setWrappedValue(value);
    }

    // Reads and writes as wrappedValue does, through the observable.
    ui::Binding<Value> projectedValue() const {
        return ui::Binding<Value>([observable = observable_] { return observable->value(); },
                                  [observable = observable_](Value value) { observable->setValue(value); });
    }

    // The key's default, computed anew at each call.
    Value defaultValue() const { return key_->defaultValue(); }
    // The key's changes, the current value first.
    reactive::AnyPublisher<KeyChange<Value>> publisher() const {
        return Prefs::publisher(key_, ObservationOptions(ObservationOption::initial));
    }
    // Removes the stored object; the registered default shows again.
    void reset() const { key_->suite()->removeObjectForKey(key_->name()); }
    bool isDefaultValue() const requires std::equality_comparable<Value> {
        return wrappedValue() == key_->defaultValue();
    }

    // The element's observable, for tests and for callers that need its task.
    const std::shared_ptr<Observable<Value>>& observable() const { return observable_; }

private:
    // Before each evaluation: the element's observable (made once), this key, then following
    // the observable for this evaluation.
    void update(ui::ViewContext& ctx, std::string_view name) {
        observable_ = ctx.element().slot<Observable<Value>>(
            name, [&] { return std::make_shared<Observable<Value>>(key_); });
        observable_->setKey(key_);
        ctx.observedObject(observable_);
    }

    std::shared_ptr<Key<Value>> key_;
    std::shared_ptr<Observable<Value>> observable_;
};

} // namespace Prefs
