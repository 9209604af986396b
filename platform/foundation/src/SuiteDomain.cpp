#include "SuiteDomain.h"

#include "foundation/Logger.h"

#include <time.h>

#include <algorithm>
#include <map>
#include <utility>

namespace foundation {

namespace {

const Logger& log() {
    static const Logger logger("foundation", "UserDefaults");
    return logger;
}

std::mutex registryMutex;

// Held weakly: a domain goes with its last suite object. Never destroyed, as suites may be used
// while the process exits.
std::map<std::string, std::weak_ptr<SuiteDomain>, std::less<>>& registry() {
    static auto* domains = new std::map<std::string, std::weak_ptr<SuiteDomain>, std::less<>>;
    return *domains;
}

// Coarse is enough for a recheck interval, and costs no system call.
std::int64_t coarseNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

} // namespace

std::shared_ptr<SuiteDomain> SuiteDomain::named(const std::string& name) {
    std::lock_guard lock(registryMutex);
    auto& domains = registry();
    if (auto it = domains.find(name); it != domains.end()) {
        if (auto domain = it->second.lock()) return domain;
    }
    auto domain = std::make_shared<SuiteDomain>(name);
    domains[name] = domain;
    return domain;
}

SuiteDomain::SuiteDomain(std::string name)
    : name_(std::move(name))
    , file_(name_)
    , counter_(file_.lockPath()) {}

SuiteDomain::~SuiteDomain() {
    // Changes a failed write kept get one more chance before they are gone.
    if (!pending_.empty()) writePendingChanges();
    std::lock_guard lock(registryMutex);
    auto& domains = registry();
    // A new domain of this name may already have taken the entry.
    if (auto it = domains.find(name_); it != domains.end() && it->second.expired()) domains.erase(it);
}

bool SuiteDomain::refreshIfStale() {
    // A due recheck goes first, so the count is read only from a mapping just found inside its file.
    if (coarseNow() >= recheckAt_) return check(true);
    if (hasRead_ && seenCount_ && counter_.value() == seenCount_) return isReadable();
    return check(false);
}

bool SuiteDomain::refresh() {
    return check(true);
}

bool SuiteDomain::check(bool recheckCounter) {
    if (recheckCounter) {
        counter_.update();
        recheckAt_ = coarseNow() + recheckInterval;
    }
    // Taken before the file is looked at, so a save in between shows at the next read.
    seenCount_ = counter_.value();
    // A file that could not be read is tried again at each recheck: the cause may have passed.
    const bool retry = recheckCounter && contents_.status == SuiteFile::Status::unreadable;
    if (!hasRead_ || retry || file_.identity() != contents_.identity) adopt(file_.read());
    return isReadable();
}

bool SuiteDomain::isReadable() const {
    return contents_.status == SuiteFile::Status::loaded || contents_.status == SuiteFile::Status::missing;
}

const PropertyList* SuiteDomain::value(std::string_view key) const {
    auto it = values_.find(key);
    return it == values_.end() ? nullptr : &it->second;
}

bool SuiteDomain::setValue(std::string_view key, const PropertyList& value) {
    pending_.insert_or_assign(std::string(key), value);
    if (value.isAbsent()) {
        if (auto it = values_.find(key); it != values_.end()) values_.erase(it);
    } else {
        values_.insert_or_assign(std::string(key), value);
    }
    return writePendingChanges();
}

bool SuiteDomain::writePendingChanges() {
    std::string problem;
    const auto fail = [&] {
        log().error("suite \"{}\": {}; {} change(s) kept in memory for the next write", name_, problem,
                    pending_.size());
        return false;
    };
    auto lock = file_.lock(problem);
    if (!lock) return fail();
    // Under the lock, so no other writer's keys get lost.
    if (!hasRead_ || contents_.status == SuiteFile::Status::unreadable ||
        file_.identity() != contents_.identity)
        adopt(file_.read());
    PropertyList::Dictionary merged;
    switch (contents_.status) {
    case SuiteFile::Status::unreadable:
        // It may hold good values we cannot see; replacing it would lose them.
        problem = fmt::format("not replacing a file that cannot be read ({})", contents_.problem);
        return fail();
    case SuiteFile::Status::damaged: {
        std::string movedTo;
        if (!file_.moveAside(movedTo, problem)) return fail();
        log().notice("suite \"{}\": moved the damaged file aside to {}", name_, movedTo);
        break;
    }
    case SuiteFile::Status::missing:
    case SuiteFile::Status::loaded:
        merged = contents_.values;
        break;
    }
    for (const auto& [key, value] : pending_) {
        if (value.isAbsent())
            merged.erase(key);
        else
            merged.insert_or_assign(key, value);
    }
    auto written = file_.write(merged, contents_.identity, problem);
    if (!written) {
        // The damaged file is gone now; what is left to write are our changes alone.
        if (contents_.status == SuiteFile::Status::damaged) adopt({});
        return fail();
    }
    if (!problem.empty()) log().error("suite \"{}\": {}", name_, problem);
    pending_.clear();
    adopt(std::move(*written));
    // Other processes learn of the save from the count; this one knows already.
    SuiteChangeCounter::increment(lock->fileDescriptor());
    // Also maps a lock file that was replaced or cut short since the last look.
    counter_.update();
    seenCount_ = counter_.value();
    return true;
}

bool SuiteDomain::isObserving(std::uint64_t id) const {
    return std::any_of(observations_.begin(), observations_.end(),
                       [id](const SuiteObservation& o) { return o.id == id; });
}

void SuiteDomain::adopt(SuiteFile::Contents contents) {
    // Each damaged version is logged once, also when an unreadable one is tried again.
    const bool seenBefore = hasRead_ && contents.status == contents_.status &&
                            contents.identity == contents_.identity && contents.problem == contents_.problem;
    if ((contents.status == SuiteFile::Status::damaged || contents.status == SuiteFile::Status::unreadable) &&
        !seenBefore)
        log().error("suite \"{}\": {}; reading it as empty", name_, contents.problem);
    hasRead_ = true;
    contents_ = std::move(contents);
    applyPending();
}

void SuiteDomain::applyPending() {
    values_ = contents_.values;
    for (const auto& [key, value] : pending_) {
        if (value.isAbsent())
            values_.erase(key);
        else
            values_.insert_or_assign(key, value);
    }
}

} // namespace foundation
