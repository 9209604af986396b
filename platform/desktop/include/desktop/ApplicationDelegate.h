#pragma once

#include <memory>

namespace desktop {

class Application;

// What a program tells the application object about its life. Defaults keep the platform's
// behaviour.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    // Whether closing the last window ends the program. With no delegate it does: a program
    // without windows has no way back to the user on this desktop.
    virtual bool applicationShouldTerminateAfterLastWindowClosed(Application&) { return false; }
};

// A field of an application value that makes its delegate once and hands it to the
// application object. Copies of the value share the one delegate.
template <class D> class ApplicationDelegateAdaptor {
public:
    ApplicationDelegateAdaptor();
    const std::shared_ptr<D>& delegate() const { return delegate_; }

private:
    std::shared_ptr<D> delegate_;
};

} // namespace desktop
