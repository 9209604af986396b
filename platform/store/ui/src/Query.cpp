#include "store/ui/Query.h"

#include "foundation/Logger.h"
#include "reactive/ObservationRegistrar.h"
#include "ui/Transaction.h"

namespace store::detail {

bool QueryStateBase::needsFetch(const std::shared_ptr<ModelContext>& current) const {
    return stale || !hasContext || context.lock() != current;
}

void QueryStateBase::track(const std::shared_ptr<ModelContext>& current, ui::Element& element,
                           const std::function<void()>& fetch) {
    context = current;
    hasContext = true;
    stale = false;
    ++fetchCount;
    observation = reactive::withCancellableObservationTracking(
        fetch, [this, ref = element.reference()] {
            // Told before the write, once; later writes until the next fetch change nothing more.
            stale = true;
            auto r = ref.lock();
            if (!r || !r->element) return;
            ui::Transaction transaction = ui::Transaction::current();
            if (transaction.isEmpty() && animation) transaction.setAnimation(*animation);
            r->element->invalidate(transaction);
        });
}

void logFetchFailure(const char* what) {
    static const foundation::Logger log("store", "query");
    log.error("A query's fetch failed; it keeps its last result: {}", what);
}

} // namespace store::detail
