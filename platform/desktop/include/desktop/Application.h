#pragma once

#include "desktop/AboutPanelOptions.h"
#include "desktop/ApplicationDelegate.h"

#include "foundation/URL.h"
#include "graphics/Image.h"

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace desktop {

class ApplicationHost;

// The running program as one object: its icon, its about panel, opening URLs, its delegate,
// and ending it. Needs a QApplication; main thread only.
class Application {
public:
    static Application& shared();

    // The icon of every window of the program. None restores the bundle's own icon (the
    // Info.plist's CFBundleIconFile among its resources), or no icon without one.
    std::optional<graphics::Image> applicationIconImage() const { return icon_; }
    void setApplicationIconImage(std::optional<graphics::Image> image);

    // Shows the standard about panel (one for the program, brought to the front when shown).
    void orderFrontStandardAboutPanel(const AboutPanelOptions& options = {});
    QWidget* aboutPanel() const;

    // Hands the URL to the system's opener (ui::OpenURLAction::openWithSystem, the desktop's
    // handler for its scheme unless replaced); false when it is malformed or none took it.
    bool openURL(const foundation::URL& url);

    std::shared_ptr<ApplicationDelegate> delegate() const { return delegate_.lock(); }
    // Held weakly: its owner (the application value's adaptor) keeps it.
    void setDelegate(const std::shared_ptr<ApplicationDelegate>& delegate) { delegate_ = delegate; }

    // Ends the program: through its host when one runs (scenes go to the background first),
    // else by ending Qt's event loop.
    void terminate();
    // For the host.
    void setHost(ApplicationHost* host) { host_ = host; }
    ApplicationHost* host() const { return host_; }

private:
    Application() = default;
    std::optional<graphics::Image> icon_;
    std::weak_ptr<ApplicationDelegate> delegate_;
    ApplicationHost* host_ = nullptr;
};

template <class D>
ApplicationDelegateAdaptor<D>::ApplicationDelegateAdaptor()
    : delegate_(std::make_shared<D>()) {
    Application::shared().setDelegate(delegate_);
}

} // namespace desktop
