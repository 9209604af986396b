#pragma once

#include "App/ModifierKeys.h"

#include "reactive/AnyCancellable.h"
#include "reactive/AnyPublisher.h"
#include "reactive/ObservationRegistrar.h"

#include <memory>

namespace quoril {

// Whether Shift and Option are held, for the views that change with them. Main thread only.
class ModifierKeyManager : public std::enable_shared_from_this<ModifierKeyManager> {
public:
    // The process's one manager, made on first use and never released.
    static const std::shared_ptr<ModifierKeyManager>& shared();

    bool shiftKeyPressed() const {
        registrar_.access(*this, &ModifierKeyManager::shiftKeyPressed_);
        return shiftKeyPressed_;
    }
    void setShiftKeyPressed(bool pressed) {
        registrar_.withMutation(*this, &ModifierKeyManager::shiftKeyPressed_,
                                [&] { shiftKeyPressed_ = pressed; });
    }
    bool optionKeyPressed() const {
        registrar_.access(*this, &ModifierKeyManager::optionKeyPressed_);
        return optionKeyPressed_;
    }
    void setOptionKeyPressed(bool pressed) {
        registrar_.withMutation(*this, &ModifierKeyManager::optionKeyPressed_,
                                [&] { optionKeyPressed_ = pressed; });
    }

    // Writes both flags from a new set of pressed keys, Shift first; each write notifies, also
    // when the flag stays the same.
    void modifierKeysChanged(ModifierKeys pressed);
    // Follows a source of the pressed keys (its current state first, then each change): the
    // flags are written at once and then whenever Shift or Option changes, while the manager
    // (held by a shared_ptr) lives.
    [[nodiscard]] reactive::AnyCancellable follow(const reactive::AnyPublisher<ModifierKeys>& pressedKeys);

private:
    reactive::ObservationRegistrar registrar_;
    bool shiftKeyPressed_ = false;
    bool optionKeyPressed_ = false;
};

} // namespace quoril
