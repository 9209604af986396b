#include "Prefs/PrefsObservation.h"

#include "Prefs/WithoutPropagation.h"

#include "Lock.h"

#include "foundation/Logger.h"

#include <exception>
#include <mutex>
#include <utility>

namespace Prefs {

namespace {

// Only its address is used: it marks the registrations made here, so notifications registered
// by others on the same object go to the base class.
char observationContext;

const foundation::Logger& log() {
    static const foundation::Logger logger("Prefs", "Observation");
    return logger;
}

} // namespace

PrefsObservation::PrefsObservation(const std::shared_ptr<foundation::UserDefaults>& suite, std::string name,
                                   Callback callback)
    : lock_(Lock::create())
    , suite_(suite)
    , name_(std::move(name))
    , callback_(std::move(callback))
    , pair_(suite, name_) {}

PrefsObservation::~PrefsObservation() {
    stopObserving();
}

void PrefsObservation::beginObserving(ObservationOptions options) {
    // A callback may release the last other reference during the initial delivery.
    const auto self = sharedSelf<PrefsObservation>();
    std::shared_ptr<foundation::UserDefaults> registered;
    {
        std::lock_guard guard(*lock_);
        if (isObserving_) return;
        if ((registered = suite_.lock())) {
            auto platformOptions = keyValueObservingOptions(options);
            // The initial value is delivered below, outside the lock, so that its callback may
            // stop or release this observation.
            platformOptions = foundation::KeyValueObservingOptions(
                platformOptions.rawValue() & ~unsigned(foundation::KeyValueObservingOption::initial));
            registered->addObserver(*this, name_, platformOptions, &observationContext);
        }
        isObserving_ = true;
    }
    if (!registered || !options.contains(ObservationOption::initial)) return;
    foundation::KeyValueChange initial;
    initial.newValue = registered->objectForKey(name_);
    deliver(registered.get(), initial);
}

void PrefsObservation::stopObserving() {
    std::lock_guard guard(*lock_);
    if (!isObserving_) return;
    if (auto suite = suite_.lock()) suite->removeObserver(*this, name_, &observationContext);
    isObserving_ = false;
    suite_.reset();
}

bool PrefsObservation::isObserving() const {
    std::lock_guard guard(*lock_);
    return isObserving_;
}

std::shared_ptr<foundation::UserDefaults> PrefsObservation::suite() const {
    std::lock_guard guard(*lock_);
    return suite_.lock();
}

void PrefsObservation::observeValue(std::string_view keyPath, foundation::Object* object,
                                    const foundation::KeyValueChange& change, void* context) {
    if (context != &observationContext) {
        KeyValueObserver::observeValue(keyPath, object, change, context);
        return;
    }
    deliver(object, change);
}

void PrefsObservation::deliver(foundation::Object* object, const foundation::KeyValueChange& change) {
    std::shared_ptr<foundation::UserDefaults> suite;
    {
        std::lock_guard guard(*lock_);
        // Stopped meanwhile, perhaps on another thread: never call back.
        if (!isObserving_) return;
        suite = suite_.lock();
    }
    if (!suite) {
        stopObserving();
        return;
    }
    if (!object || !object->isEqual(*suite)) return;
    if (detail::isPropagationSuppressed()) return;
    if (!callback_) return;
    // The callback runs inside the writer's call: an exception would reach the writer after the
    // value is stored and keep the key's other observers from hearing of the change.
    try {
        callback_(pair_, BaseChange(change));
    } catch (const std::exception& error) {
        log().error("a handler of \"{}\" threw: {}", name_, error.what());
    } catch (...) {
        log().error("a handler of \"{}\" threw", name_);
    }
}

} // namespace Prefs
