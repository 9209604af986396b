// A card under a simulated effect on the test host's manual clock, and what its simulation
// holds.
#pragma once

#include "EffectProbe.h"

#include "Flair/ChangeEffect.h"
#include "ui/Element.h"
#include "ui/GeometryEffect.h"
#include "ui/State.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string_view>

namespace flairtest {

// The test card under `effect`, kicked by changes of a watched value.
struct Kicked {
    ProbePtr probe;
    Flair::AnyChangeEffect effect;
    ui::View body(ui::ViewContext& ctx) const {
        auto value = ctx.state<int>("value", 0);
        probe->value = value;
        return card() | Flair::changeEffect(effect, *value, [](const int&) { return true; });
    }
};

struct EffectHost {
    ProbePtr probe;
    ui::TestHost host;

    explicit EffectHost(ui::View root, ProbePtr p = std::make_shared<Probe>())
        : probe(std::move(p))
        , host(root.frame(200, 200), {200, 200}) {}
    explicit EffectHost(Flair::AnyChangeEffect effect, ProbePtr p = std::make_shared<Probe>())
        : EffectHost(ui::View(Kicked{p, std::move(effect)}), p) {}

    void kick() {
        probe->value->set(probe->value->value() + 1);
        host.update();
    }
    // Whether a timeline (or anything else) listens to the frames.
    bool isRunning() { return host.frameClock().hasSubscribers(); }
    // Frames of `dt` until nothing runs; the frames it took, or -1 after `limit`.
    int runToRest(double dt = ui::TestHost::frameInterval, int limit = 5000) {
        for (int frame = 1; frame <= limit; ++frame) {
            host.stepFrame(dt);
            if (!isRunning()) return frame;
        }
        return -1;
    }

    // The state named `name` of the first modifier of type M.
    template <class M, class T> T state(std::string_view name) const {
        const ui::Element* element = host.findType<M>();
        const auto* box = element ? element->findSlot<ui::detail::StateBox<T>>(name) : nullptr;
        if (!box) {
            ADD_FAILURE() << "no state " << name;
            return T{};
        }
        return box->value;
    }
    // The value of the first geometry effect or custom modifier of type E (a missing one fails
    // the test with an exception).
    template <class E> E effect() const {
        const ui::Element* element = host.findType<E>();
        const E* value = nullptr;
        if constexpr (ui::GeometryEffect<E>) {
            if (const auto* node = element ? element->nodeAs<ui::detail::GeometryEffectNode<E>>() : nullptr)
                value = &node->value();
        } else {
            if (const auto* node = element ? element->nodeAs<ui::detail::CustomModifierNode<E>>() : nullptr)
                value = &node->value();
        }
        if (!value) throw std::runtime_error("no such effect in the tree");
        return *value;
    }
};

} // namespace flairtest
