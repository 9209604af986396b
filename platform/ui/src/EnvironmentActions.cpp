#include "ui/EnvironmentActions.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace ui {

OpenURLAction::Result OpenURLAction::operator()(const foundation::URL& url) const {
    if (handler_) {
        const auto result = handler_(url);
        if (result != Result::systemAction) return result;
    }
    const bool opened = QDesktopServices::openUrl(QUrl(QString::fromStdString(url.absoluteString())));
    return opened ? Result::handled : Result::discarded;
}

} // namespace ui
