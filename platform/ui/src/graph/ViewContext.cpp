#include "ui/ViewContext.h"

#include "foundation/MainThread.h"
#include "foundation/RunLoop.h"
#include "ui/ViewNodes.h"

#include <atomic>

namespace ui {

void detail::invalidateFromObservation(const std::weak_ptr<ElementRef>& ref, const Transaction& transaction) {
    if (foundation::isMainThread()) {
        if (auto r = ref.lock(); r && r->element) r->element->invalidate(transaction);
        return;
    }
    foundation::RunLoop::main().perform([ref, transaction] {
        if (auto r = ref.lock(); r && r->element) r->element->invalidate(transaction);
    });
}

void ViewContext::observe(const reactive::ObservableObject& object, const void* identity) {
    auto& record = element_.bodyRecord();
    if (record.objects.count(identity)) return;
    if (record.previousObjects) {
        if (auto it = record.previousObjects->find(identity); it != record.previousObjects->end()) {
            record.objects.emplace(identity, std::move(it->second));
            record.previousObjects->erase(it);
            return;
        }
    }
    record.objects.emplace(identity, object.objectWillChange().sink([ref = element_.reference()](auto) {
        detail::invalidateFromObservation(ref, Transaction::current());
    }));
}

NamespaceID ViewContext::namespace_(std::string_view name) {
    static std::atomic<std::uint64_t> next{1};
    struct Box {
        NamespaceID id;
    };
    auto box = element_.slot<Box>(std::string("namespace:") + std::string(name),
                                  [] { return std::make_shared<Box>(Box{{next++}}); });
    return box->id;
}

} // namespace ui
