#include "foundation/UbiquitousKeyValueStore.h"

#include "FolderWatcher.h"
#include "SuiteFile.h"

#include "foundation/Bundle.h"
#include "foundation/Logger.h"
#include "foundation/NotificationCenter.h"
#include "foundation/PropertyListSerialization.h"
#include "foundation/UserFolders.h"

#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace foundation {

namespace {

const Logger& log() {
    static const Logger logger("foundation", "UbiquitousKeyValueStore");
    return logger;
}

constexpr std::size_t longestIdentifier = 200;

bool isValidIdentifier(std::string_view identifier) {
    if (identifier.empty() || identifier.size() > longestIdentifier || identifier.front() == '.')
        return false;
    return std::none_of(identifier.begin(), identifier.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '/' || byte < 0x20 || byte == 0x7f;
    });
}

std::string defaultIdentifier() {
    if (const auto& identifier = Bundle::main()->bundleIdentifier();
        identifier && isValidIdentifier(*identifier))
        return *identifier;
    std::string name = Bundle::programPath().filename().string();
    if (!isValidIdentifier(name)) name = program_invocation_short_name;
    if (!isValidIdentifier(name)) name = "standard";
    return name;
}

void apply(PropertyList::Dictionary& values, const std::string& key, const PropertyList& value) {
    if (value.isAbsent())
        values.erase(key);
    else
        values.insert_or_assign(key, value);
}

// The keys whose values differ between the two, in order.
std::vector<std::string> differingKeys(const PropertyList::Dictionary& before,
                                       const PropertyList::Dictionary& after) {
    std::vector<std::string> keys;
    auto b = before.begin();
    auto a = after.begin();
    while (b != before.end() || a != after.end()) {
        if (a == after.end() || (b != before.end() && b->first < a->first)) {
            keys.push_back((b++)->first);
        } else if (b == before.end() || a->first < b->first) {
            keys.push_back((a++)->first);
        } else {
            if (!(a->second == b->second)) keys.push_back(a->first);
            ++a;
            ++b;
        }
    }
    return keys;
}

// The size of the file that would hold `values`; nullopt when no file can hold them.
std::optional<std::size_t> encodedSize(const PropertyList::Dictionary& values) {
    try {
        return PropertyListSerialization::data(values, PropertyListFormat::binary).size();
    } catch (const PropertyListError&) {
        return std::nullopt;
    }
}

} // namespace

// Everything but `file` and `watcher` is used with `mutex` held.
struct UbiquitousKeyValueStore::State {
    const std::string& identifier;
    const SuiteFile file;
    std::unique_ptr<FolderWatcher> watcher;
    std::mutex mutex;
    bool hasRead = false;
    SuiteFile::Contents contents;     // the file as last read or written
    PropertyList::Dictionary pending; // this object's changes a failed write kept; absent removes
    PropertyList::Dictionary values;  // the file's values with the pending changes over them
    // The file's values as this object last knew them: what it wrote itself, and what the
    // watcher last saw. The watcher reports what differs from these.
    PropertyList::Dictionary known;

    State(const std::string& identifier, SuiteFile file)
        : identifier(identifier)
        , file(std::move(file)) {}

    bool isReadable() const {
        return contents.status == SuiteFile::Status::loaded || contents.status == SuiteFile::Status::missing;
    }

    void adopt(SuiteFile::Contents read) {
        // Each damaged version is logged once.
        const bool seenBefore = hasRead && read.status == contents.status &&
                                read.identity == contents.identity && read.problem == contents.problem;
        if ((read.status == SuiteFile::Status::damaged || read.status == SuiteFile::Status::unreadable) &&
            !seenBefore)
            log().error("store \"{}\": {}; reading it as empty", identifier, read.problem);
        hasRead = true;
        contents = std::move(read);
        values = contents.values;
        for (const auto& [key, value] : pending)
            apply(values, key, value);
    }

    void refresh() {
        // An unreadable file is tried again: the cause may have passed.
        if (!hasRead || contents.status == SuiteFile::Status::unreadable ||
            file.identity() != contents.identity)
            adopt(file.read());
    }

    // Why `candidate` (the values after a change) must not be stored, or nothing. Only growth is
    // refused, so a store that others filled past a limit can still shrink.
    std::optional<std::string> exceedsLimits(const PropertyList::Dictionary& candidate) const {
        if (candidate.size() > maximumKeys && candidate.size() > values.size())
            return fmt::format("the store would hold {} keys, more than {}", candidate.size(), maximumKeys);
        const auto size = encodedSize(candidate);
        if (!size || *size <= maximumBytes) return std::nullopt; // an unwritable value fails its write
        const auto before = encodedSize(values);
        if (before && *size <= *before) return std::nullopt;
        return fmt::format("the store would take {} bytes, more than {}", *size, maximumBytes);
    }

    bool failWrite(const std::string& problem) {
        log().error("store \"{}\": {}; {} change(s) kept in memory for the next write", identifier, problem,
                    pending.size());
        return false;
    }

    // Writes the pending changes over what is on disk. Call with the file's lock held and the
    // contents refreshed under it, so no other writer's keys get lost.
    bool writePending() {
        std::string problem;
        switch (contents.status) {
        case SuiteFile::Status::unreadable:
            // It may hold good values we cannot see; replacing it would lose them.
            return failWrite(fmt::format("not replacing a file that cannot be read ({})", contents.problem));
        case SuiteFile::Status::damaged: {
            std::string movedTo;
            if (!file.moveAside(movedTo, problem)) return failWrite(problem);
            log().notice("store \"{}\": moved the damaged file aside to {}", identifier, movedTo);
            break;
        }
        case SuiteFile::Status::missing:
        case SuiteFile::Status::loaded:
            break;
        }
        PropertyList::Dictionary merged = contents.values; // empty for a damaged file
        for (const auto& [key, value] : pending)
            apply(merged, key, value);
        auto written = file.write(merged, contents.identity, problem);
        if (!written) {
            // The damaged file is gone now; what is left to write are our changes alone.
            if (contents.status == SuiteFile::Status::damaged) adopt({});
            return failWrite(problem);
        }
        if (!problem.empty()) log().error("store \"{}\": {}", identifier, problem);
        // Known before the watcher looks: this object's own keys are no external change. Other
        // keys keep what was known of them, so changes merged in from disk are still reported.
        for (const auto& [key, value] : pending) {
            const auto it = written->values.find(key);
            apply(known, key, it == written->values.end() ? PropertyList() : it->second);
        }
        pending.clear();
        adopt(std::move(*written));
        // The folder may have been made anew by this write.
        if (watcher && !watcher->isWatching() && watcher->watch(problem))
            log().info("store \"{}\": watching {} again", identifier, file.folder());
        return true;
    }

    void change(const std::string& key, const PropertyList& value) {
        std::lock_guard lock(mutex);
        std::string problem;
        auto fileLock = file.lock(problem);
        if (fileLock) refresh();
        PropertyList::Dictionary candidate = values;
        apply(candidate, key, value);
        if (!value.isAbsent()) {
            if (auto limit = exceedsLimits(candidate)) {
                log().error("store \"{}\": refused to store key \"{}\": {}", identifier, key, *limit);
                return;
            }
        }
        pending.insert_or_assign(key, value);
        values = std::move(candidate);
        if (!fileLock) {
            failWrite(problem);
            return;
        }
        writePending();
    }
};

const std::shared_ptr<UbiquitousKeyValueStore>& UbiquitousKeyValueStore::defaultStore() {
    // Never destroyed: code running while the process exits may still use it.
    static const auto* store = new std::shared_ptr<UbiquitousKeyValueStore>(make(defaultIdentifier()));
    return *store;
}

std::shared_ptr<UbiquitousKeyValueStore> UbiquitousKeyValueStore::make(std::string_view storeIdentifier) {
    if (!isValidIdentifier(storeIdentifier)) return nullptr;
    auto store = std::make_shared<UbiquitousKeyValueStore>(Private{}, std::string(storeIdentifier));
    store->startWatching();
    return store;
}

UbiquitousKeyValueStore::UbiquitousKeyValueStore(Private, std::string storeIdentifier)
    : identifier_(std::move(storeIdentifier))
    , state_(std::make_unique<State>(
          identifier_, SuiteFile(dataFolder().empty() ? std::string() : dataFolder() + "/" + identifier_,
                                 std::string(fileName)))) {}

UbiquitousKeyValueStore::~UbiquitousKeyValueStore() {
    // Stopped first: nothing reports on this object any more.
    state_->watcher.reset();
    std::lock_guard lock(state_->mutex);
    if (state_->pending.empty()) return;
    // Changes a failed write kept get one more chance before they are gone.
    std::string problem;
    auto fileLock = state_->file.lock(problem);
    if (!fileLock) {
        state_->failWrite(problem);
        return;
    }
    state_->refresh();
    state_->writePending();
}

void UbiquitousKeyValueStore::startWatching() {
    State& state = *state_;
    state.watcher = std::make_unique<FolderWatcher>(state.file.folder(), state.file.fileName(),
                                                    [weak = weakSelf<UbiquitousKeyValueStore>()] {
                                                        if (const auto store = weak.lock())
                                                            store->fileChanged();
                                                    });
    std::lock_guard lock(state.mutex);
    std::string problem;
    if (!state.file.makeFolder(problem) || !state.watcher->watch(problem))
        log().error("store \"{}\": cannot watch {}: {}; changes by others are seen only when read",
                    identifier_, state.file.folder(), problem);
    // Read once the watch is in place, so no change falls between the two.
    state.adopt(state.file.read());
    state.known = state.contents.values;
    state.watcher->start();
}

void UbiquitousKeyValueStore::fileChanged() {
    State& state = *state_;
    std::vector<std::string> keys;
    {
        std::lock_guard lock(state.mutex);
        SuiteFile::Contents read = state.file.read();
        // What it holds is unknown, so nothing is known to have changed.
        if (read.status == SuiteFile::Status::unreadable) {
            state.adopt(std::move(read));
            return;
        }
        keys = differingKeys(state.known, read.values); // a damaged file reads as empty
        state.known = read.values;
        state.adopt(std::move(read));
    }
    if (keys.empty()) return;
    PropertyList::Array names(keys.begin(), keys.end());
    NotificationCenter::defaultCenter().post(std::string(didChangeExternallyNotification),
                                             sharedSelf<UbiquitousKeyValueStore>(),
                                             {{std::string(changedKeysKey), PropertyList(std::move(names))}});
}

const std::string& UbiquitousKeyValueStore::path() const {
    return state_->file.path();
}

PropertyList UbiquitousKeyValueStore::objectForKey(std::string_view key) const {
    std::lock_guard lock(state_->mutex);
    state_->refresh();
    const auto it = state_->values.find(key);
    return it == state_->values.end() ? PropertyList() : it->second;
}

void UbiquitousKeyValueStore::setObject(const PropertyList& value, std::string_view key) {
    if (!value.isAbsent()) {
        // Checked as the file will hold it, under its key.
        const PropertyList entry = PropertyList::Dictionary{{std::string(key), value}};
        std::string problem;
        try {
            const auto bytes = PropertyListSerialization::data(entry, PropertyListFormat::binary);
            if (bytes.size() > maximumBytes)
                problem = fmt::format("it takes {} bytes, more than the store may hold ({})", bytes.size(),
                                      maximumBytes);
        } catch (const PropertyListError& error) {
            problem = error.what();
        }
        if (!problem.empty()) {
            log().error("store \"{}\": refused to store key \"{}\": {}", identifier_, key, problem);
            return;
        }
    }
    state_->change(std::string(key), value);
}

void UbiquitousKeyValueStore::removeObjectForKey(std::string_view key) {
    state_->change(std::string(key), PropertyList());
}

bool UbiquitousKeyValueStore::synchronize() {
    State& state = *state_;
    std::lock_guard lock(state.mutex);
    if (!state.pending.empty()) {
        std::string problem;
        auto fileLock = state.file.lock(problem);
        if (!fileLock) return state.failWrite(problem);
        state.refresh();
        if (!state.writePending()) return false;
    }
    state.refresh();
    return state.isReadable();
}

PropertyList::Dictionary UbiquitousKeyValueStore::dictionaryRepresentation() const {
    std::lock_guard lock(state_->mutex);
    state_->refresh();
    return state_->values;
}

} // namespace foundation
