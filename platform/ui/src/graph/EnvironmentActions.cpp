#include "ui/EnvironmentActions.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace ui {

namespace {

bool openWithDesktop(const foundation::URL& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url.absoluteString())));
}

OpenURLAction::SystemOpener& systemOpener() {
    static OpenURLAction::SystemOpener opener = openWithDesktop;
    return opener;
}

} // namespace

OpenURLAction::SystemOpener OpenURLAction::setSystemOpener(SystemOpener opener) {
    auto previous = std::move(systemOpener());
    systemOpener() = opener ? std::move(opener) : SystemOpener(openWithDesktop);
    return previous;
}

bool OpenURLAction::openWithSystem(const foundation::URL& url) {
    return systemOpener()(url);
}

OpenURLAction::Result OpenURLAction::operator()(const foundation::URL& url) const {
    if (handler_) {
        const auto result = handler_(url);
        if (result != Result::systemAction) return result;
    }
    return openWithSystem(url) ? Result::handled : Result::discarded;
}

} // namespace ui
