#include "foundation/UserDefaults.h"

#include "foundation/Bundle.h"

#include "SuiteDomain.h"
#include "SuiteFile.h"

#include "foundation/Fatal.h"
#include "foundation/Logger.h"
#include "foundation/PropertyListSerialization.h"

#include <fmt/format.h>

#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace foundation {

namespace {

const Logger& log() {
    static const Logger logger("foundation", "UserDefaults");
    return logger;
}

constexpr std::size_t longestSuiteName = 200;

// One registration to notify about one write, taken under the lock and called without it.
struct Delivery {
    std::uint64_t id;
    std::weak_ptr<KeyValueObserver> observer;
    std::shared_ptr<UserDefaults> suite; // the observed object stays alive while it is notified
    std::string keyPath;
    KeyValueObservingOptions options;
    void* context;
    KeyValueChange change;
};

// Calls the observer unless its registration went or it died since the snapshot; the strong
// reference keeps it alive through its own call.
void deliver(const SuiteDomain& domain, const Delivery& delivery) {
    const auto observer = delivery.observer.lock();
    if (!observer) return;
    {
        std::lock_guard lock(domain.mutex());
        if (!domain.isObserving(delivery.id)) return;
    }
    observer->observeValue(delivery.keyPath, delivery.suite.get(), delivery.change, delivery.context);
}

} // namespace

const std::shared_ptr<UserDefaults>& UserDefaults::standard() {
    // Never destroyed: code running while the process exits may still use it.
    static const auto* suite = new std::shared_ptr<UserDefaults>(make(standardSuiteName()));
    return *suite;
}

std::string UserDefaults::standardSuiteName() {
    // The program's bundle identifier names its suite; a program without one uses its file name.
    if (const auto& identifier = Bundle::main()->bundleIdentifier();
        identifier && isValidSuiteName(*identifier))
        return *identifier;
    std::string name = Bundle::programPath().filename().string();
    if (!isValidSuiteName(name)) name = program_invocation_short_name;
    if (!isValidSuiteName(name)) name = "standard";
    return name;
}

bool UserDefaults::isValidSuiteName(std::string_view name) {
    if (name.empty() || name.size() > longestSuiteName || name.front() == '.') return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '/' || byte < 0x20 || byte == 0x7f;
    });
}

std::shared_ptr<UserDefaults> UserDefaults::make(std::string_view suiteName) {
    if (!isValidSuiteName(suiteName)) return nullptr;
    std::string name(suiteName);
    auto domain = SuiteDomain::named(name);
    return std::make_shared<UserDefaults>(Private{}, std::move(name), std::move(domain));
}

UserDefaults::UserDefaults(Private, std::string suiteName, std::shared_ptr<SuiteDomain> domain)
    : suiteName_(std::move(suiteName))
    , domain_(std::move(domain)) {}

UserDefaults::~UserDefaults() {
    std::lock_guard lock(domain_->mutex());
    std::erase_if(domain_->observations(), [this](const SuiteObservation& o) { return o.suite == this; });
}

PropertyList UserDefaults::valueLocked(std::string_view key) const {
    if (const PropertyList* value = domain_->value(key)) return *value;
    auto it = registered_.find(key);
    return it == registered_.end() ? PropertyList() : it->second;
}

PropertyList UserDefaults::objectForKey(std::string_view key) const {
    std::lock_guard lock(domain_->mutex());
    domain_->refreshIfStale();
    return valueLocked(key);
}

void UserDefaults::setObject(const PropertyList& value, std::string_view key) {
    if (!value.isAbsent()) {
        // Checked as the file will hold it: one level down, under its key. A value too large for
        // any suite file is refused here, or every later save would fail with it.
        const PropertyList entry = PropertyList::Dictionary{{std::string(key), value}};
        std::string problem;
        try {
            const auto bytes = PropertyListSerialization::data(entry, PropertyListFormat::binary);
            if (off_t(bytes.size()) > SuiteFile::largestFile)
                problem = fmt::format("it takes {} bytes, more than a suite file may hold", bytes.size());
        } catch (const PropertyListError& error) {
            problem = error.what();
        }
        if (!problem.empty()) {
            log().error("suite \"{}\": refused to store key \"{}\": {}", suiteName_, key, problem);
            return;
        }
    }
    write(key, value);
}

void UserDefaults::removeObjectForKey(std::string_view key) {
    write(key, PropertyList());
}

void UserDefaults::write(std::string_view key, const PropertyList& value) {
    // An observer may drop the last reference to this object while it is notified.
    const std::shared_ptr<SuiteDomain> domain = domain_;
    std::vector<Delivery> deliveries;
    bool wantsOldValue = false;
    {
        std::lock_guard lock(domain->mutex());
        auto& observations = domain->observations();
        // Dead observers' entries go here, so a new object at the same address never meets them.
        std::erase_if(observations, [](const SuiteObservation& o) { return o.observer.expired(); });
        bool refreshed = false;
        for (const auto& observation : observations) {
            if (observation.keyPath != key) continue;
            auto suite = observation.suiteReference.lock();
            if (!suite) continue;
            Delivery delivery{observation.id,
                              observation.observer,
                              std::move(suite),
                              observation.keyPath,
                              observation.options,
                              observation.context,
                              {}};
            const bool wantsOld = observation.options.contains(KeyValueObservingOption::oldValue);
            wantsOldValue = wantsOldValue || wantsOld;
            if (wantsOld && observation.options.contains(KeyValueObservingOption::prior)) {
                if (!std::exchange(refreshed, true)) domain->refreshIfStale();
                delivery.change.oldValue = delivery.suite->valueLocked(key);
            }
            deliveries.push_back(std::move(delivery));
        }
    }

    for (auto& delivery : deliveries) {
        if (!delivery.options.contains(KeyValueObservingOption::prior)) continue;
        delivery.change.isPrior = true;
        deliver(*domain, delivery);
        delivery.change.isPrior = false;
    }

    {
        std::lock_guard lock(domain->mutex());
        // Taken again with the store: another thread may have written the key since the prior
        // notifications, and the old value is the one this write replaces.
        if (wantsOldValue) domain->refreshIfStale();
        for (auto& delivery : deliveries) {
            if (delivery.options.contains(KeyValueObservingOption::oldValue))
                delivery.change.oldValue = delivery.suite->valueLocked(key);
        }
        domain->setValue(key, value);
        for (auto& delivery : deliveries) {
            if (delivery.options.contains(KeyValueObservingOption::newValue))
                delivery.change.newValue = delivery.suite->valueLocked(key);
        }
    }

    for (const auto& delivery : deliveries)
        deliver(*domain, delivery);
}

void UserDefaults::registerDefaults(const PropertyList::Dictionary& registrationDictionary) {
    std::lock_guard lock(domain_->mutex());
    for (const auto& [key, value] : registrationDictionary) {
        if (value.isAbsent())
            registered_.erase(key);
        else
            registered_.insert_or_assign(key, value);
    }
}

PropertyList::Dictionary UserDefaults::dictionaryRepresentation() const {
    std::lock_guard lock(domain_->mutex());
    domain_->refreshIfStale();
    PropertyList::Dictionary result = registered_;
    for (const auto& [key, value] : domain_->values())
        result.insert_or_assign(key, value);
    return result;
}

void UserDefaults::addObserver(KeyValueObserver& observer, std::string_view keyPath,
                               KeyValueObservingOptions options, void* context) {
    auto strongObserver = observer.sharedSelf<KeyValueObserver>();
    if (!strongObserver) fatal("UserDefaults::addObserver: the observer is not owned by a std::shared_ptr");
    const auto self = weakSelf<UserDefaults>();
    PropertyList initialValue;
    {
        std::lock_guard lock(domain_->mutex());
        auto& observations = domain_->observations();
        std::erase_if(observations, [](const SuiteObservation& o) { return o.observer.expired(); });
        observations.push_back(SuiteObservation{domain_->makeObservationId(), this, self, strongObserver,
                                                &observer, std::string(keyPath), options, context});
        if (options.contains(KeyValueObservingOption::initial) &&
            options.contains(KeyValueObservingOption::newValue)) {
            domain_->refreshIfStale();
            initialValue = valueLocked(keyPath);
        }
    }
    if (!options.contains(KeyValueObservingOption::initial)) return;
    KeyValueChange change;
    change.newValue = std::move(initialValue);
    strongObserver->observeValue(keyPath, this, change, context);
}

void UserDefaults::removeObserver(const KeyValueObserver& observer, std::string_view keyPath) {
    removeObservation(observer, keyPath, std::nullopt);
}

void UserDefaults::removeObserver(const KeyValueObserver& observer, std::string_view keyPath, void* context) {
    removeObservation(observer, keyPath, context);
}

void UserDefaults::removeObservation(const KeyValueObserver& observer, std::string_view keyPath,
                                     std::optional<void*> context) {
    std::lock_guard lock(domain_->mutex());
    auto& observations = domain_->observations();
    auto it = std::find_if(observations.rbegin(), observations.rend(), [&](const SuiteObservation& o) {
        return o.suite == this && o.observerAddress == &observer && o.keyPath == keyPath &&
               (!context || o.context == *context);
    });
    if (it != observations.rend()) observations.erase(std::next(it).base());
}

bool UserDefaults::synchronize() {
    std::lock_guard lock(domain_->mutex());
    if (domain_->hasPendingChanges() && !domain_->writePendingChanges()) return false;
    return domain_->refresh();
}

} // namespace foundation
