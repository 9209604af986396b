#include "foundation/MetadataQuery.h"

#include "foundation/LikePattern.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace foundation {

namespace {

// This system keeps no cloud documents: gathering finds nothing, and nothing changes later.
class EmptyBackend final : public MetadataQueryBackend {
public:
    void start(const std::vector<std::string>&, Report gathered, Report) override { gathered({}); }
    void stop() override {}
};

std::mutex factoryMutex;
MetadataQueryBackend::Factory& installedFactory() {
    static auto* factory = new MetadataQueryBackend::Factory;
    return *factory;
}

const std::string* text(const MetadataItem& item, const std::string& key) {
    return item.valueForAttribute(key).get<std::string>();
}

} // namespace

std::shared_ptr<MetadataQueryBackend> MetadataQueryBackend::make() {
    Factory factory;
    {
        std::lock_guard lock(factoryMutex);
        factory = installedFactory();
    }
    if (factory)
        if (auto backend = factory()) return backend;
    return std::make_shared<EmptyBackend>();
}

MetadataQueryBackend::Factory MetadataQueryBackend::setFactory(Factory factory) {
    std::lock_guard lock(factoryMutex);
    return std::exchange(installedFactory(), std::move(factory));
}

MetadataQuery::MetadataQuery(std::shared_ptr<MetadataQueryBackend> backend, NotificationCenter& center)
    : backend_(backend ? std::move(backend) : MetadataQueryBackend::make())
    , center_(&center) {}

MetadataQuery::~MetadataQuery() {
    if (started_) backend_->stop();
}

bool MetadataQuery::startQuery() {
    if (started_) backend_->stop();
    started_ = gathering_ = true;
    results_.clear();
    heldUpdate_.reset();
    const unsigned generation = ++generation_;
    // Reports may come from any thread; they are applied on the main queue while this query
    // lives and has not been stopped or restarted since.
    auto deliver = [weak = weak_from_this(), generation](bool gathered) {
        return [weak, generation, gathered](std::vector<MetadataQueryBackend::Result> found) {
            DispatchQueue::main().async([weak, generation, gathered, found = std::move(found)]() mutable {
                if (auto self = weak.lock()) self->receive(generation, gathered, std::move(found));
            });
        };
    };
    backend_->start(scopes_, deliver(true), deliver(false));
    return true;
}

void MetadataQuery::stopQuery() {
    if (!started_) return;
    started_ = gathering_ = false;
    ++generation_;
    heldUpdate_.reset();
    backend_->stop();
}

void MetadataQuery::disableUpdates() {
    ++updatesDisabled_;
}

void MetadataQuery::enableUpdates() {
    if (updatesDisabled_ == 0 || --updatesDisabled_ > 0 || !heldUpdate_) return;
    auto held = std::move(*heldUpdate_);
    heldUpdate_.reset();
    apply(std::move(held));
    center_->post(MetadataQueryDidUpdateNotification, shared_from_this());
}

void MetadataQuery::enumerateResults(
    const std::function<void(const Item& item, std::size_t index, bool& stop)>& body) const {
    const auto items = results_; // the body may change the query
    bool stop = false;
    for (std::size_t i = 0; i < items.size() && !stop; ++i)
        body(items[i], i, stop);
}

void MetadataQuery::receive(unsigned generation, bool gathered,
                            std::vector<MetadataQueryBackend::Result> found) {
    if (!started_ || generation != generation_) return;
    if (gathered) {
        if (!gathering_) return;
        gathering_ = false;
        apply(std::move(found));
        center_->post(MetadataQueryDidFinishGatheringNotification, shared_from_this());
        return;
    }
    if (gathering_) return; // changes before the first answer are in it
    if (updatesDisabled_ > 0) {
        heldUpdate_ = std::move(found);
        return;
    }
    apply(std::move(found));
    center_->post(MetadataQueryDidUpdateNotification, shared_from_this());
}

void MetadataQuery::apply(std::vector<MetadataQueryBackend::Result> found) {
    std::vector<Item> kept;
    for (auto& result : found) {
        if (!result.item) continue;
        if (std::find(scopes_.begin(), scopes_.end(), result.scope) == scopes_.end()) continue;
        if (predicate_) {
            const std::string* value = text(*result.item, predicate_->key);
            if (!value || !matchesLike(*value, predicate_->pattern)) continue;
        }
        kept.push_back(std::move(result.item));
    }
    std::stable_sort(kept.begin(), kept.end(), [this](const Item& a, const Item& b) {
        for (const auto& descriptor : sortDescriptors_) {
            const std::string* x = text(*a, descriptor.key);
            const std::string* y = text(*b, descriptor.key);
            const std::string none;
            const std::string& left = x ? *x : none;
            const std::string& right = y ? *y : none;
            if (left == right) continue;
            return descriptor.ascending ? left < right : right < left;
        }
        return false;
    });
    results_ = std::move(kept);
}

} // namespace foundation
