#include "App/ModifierKeyManager.h"

#include "reactive/Map.h"
#include "reactive/RemoveDuplicates.h"
#include "reactive/Sink.h"

namespace quoril {

const std::shared_ptr<ModifierKeyManager>& ModifierKeyManager::shared() {
    static const auto* manager =
        new std::shared_ptr<ModifierKeyManager>(std::make_shared<ModifierKeyManager>());
    return *manager;
}

void ModifierKeyManager::modifierKeysChanged(ModifierKeys pressed) {
    setShiftKeyPressed(pressed.contains(ModifierKeys::shift));
    setOptionKeyPressed(pressed.contains(ModifierKeys::option));
}

reactive::AnyCancellable ModifierKeyManager::follow(const reactive::AnyPublisher<ModifierKeys>& pressedKeys) {
    constexpr ModifierKeys mask{ModifierKeys::shift | ModifierKeys::option};
    std::weak_ptr<ModifierKeyManager> weak = weak_from_this();
    return pressedKeys.map([mask](ModifierKeys keys) { return keys.intersection(mask); })
        .removeDuplicates()
        .sink([weak](ModifierKeys keys) {
            if (auto self = weak.lock()) self->modifierKeysChanged(keys);
        });
}

} // namespace quoril
