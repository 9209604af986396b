#include "desktop/Application.h"

#include "desktop/ApplicationHost.h"
#include "desktop/NSFont.h"

#include "foundation/Bundle.h"
#include "ui/Color.h"
#include "ui/EnvironmentActions.h"
#include "ui/HostingWindow.h"
#include "ui/Image.h"
#include "ui/Stack.h"
#include "ui/Text.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QUrl>

namespace desktop {

namespace {

std::optional<std::string> infoString(std::string_view key) {
    const std::string* value = foundation::Bundle::main()->objectForInfoDictionaryKey(key).string();
    if (!value) return std::nullopt;
    return *value;
}

QIcon bundleIcon() {
    const auto file = infoString("CFBundleIconFile");
    if (!file || file->empty()) return {};
    const auto path = foundation::Bundle::main()->bundlePath() / "Resources" / *file;
    return QIcon(QString::fromStdString(path.string()));
}

QPointer<ui::HostingWindow>& aboutWindow() {
    static QPointer<ui::HostingWindow> window;
    return window;
}

ui::View aboutContent(const AboutPanelOptions& options, const std::optional<graphics::Image>& icon) {
    const std::string name = options.applicationName.value_or(
        infoString("CFBundleName").value_or(QCoreApplication::applicationName().toStdString()));
    const auto shortVersion = options.applicationVersion ? options.applicationVersion
                                                         : infoString("CFBundleShortVersionString");
    const auto build = options.version ? options.version : infoString("CFBundleVersion");
    std::string versionLine;
    if (shortVersion && build && *build != *shortVersion)
        versionLine = "Version " + *shortVersion + " (" + *build + ")";
    else if (shortVersion || build)
        versionLine = "Version " + (shortVersion ? *shortVersion : *build);
    const auto credits = options.credits ? options.credits : infoString("NSHumanReadableCopyright");
    const auto& attributed = options.attributedCredits;

    std::vector<ui::View> parts;
    if (icon) parts.push_back(ui::Image(*icon).resizable().scaledToFit().frame(64, 64));
    parts.push_back(ui::View(ui::Text(name).font(ui::Font::headline())));
    if (!versionLine.empty()) parts.push_back(ui::View(ui::Text(versionLine).font(ui::Font::caption())));
    if (attributed)
        parts.push_back(
            ui::View(ui::Text(attributed->text).font(ui::Font::system(attributed->fontSize.value_or(
                         NSFont::systemFontSize()))))
                .foregroundStyle(attributed->foregroundColor ? ui::Color(*attributed->foregroundColor)
                                                             : ui::Color::primary));
    else if (credits)
        parts.push_back(ui::View(ui::Text(*credits).font(ui::Font::caption())).foregroundStyle(ui::Color::secondary));
    ui::FlexibleFrame width;
    width.minWidth = 260;
    return ui::VStack(ui::HorizontalAlignment::center, 8, std::move(parts)).padding(24).frame(width);
}

} // namespace

Application& Application::shared() {
    static Application application;
    return application;
}

void Application::setApplicationIconImage(std::optional<graphics::Image> image) {
    icon_ = std::move(image);
    if (icon_ && !icon_->qImage().isNull())
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon_->qImage())));
    else
        QApplication::setWindowIcon(bundleIcon());
}

void Application::orderFrontStandardAboutPanel(const AboutPanelOptions& options) {
    auto& window = aboutWindow();
    if (!window) {
        window = new ui::HostingWindow(aboutContent(options, icon_));
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(QStringLiteral("About"));
    } else {
        window->setRootView(aboutContent(options, icon_));
        window->updateNow();
    }
    window->show();
    window->raise();
    window->activateWindow();
}

QWidget* Application::aboutPanel() const {
    return aboutWindow().data();
}

bool Application::openURL(const foundation::URL& url) {
    const QUrl qurl(QString::fromStdString(url.absoluteString()), QUrl::StrictMode);
    if (!qurl.isValid() || qurl.scheme().isEmpty()) return false;
    // The layer's opener, so one replacement covers links, the environment action and this.
    return ui::OpenURLAction::openWithSystem(url);
}

void Application::terminate() {
    if (host_) {
        host_->terminate();
        return;
    }
    QCoreApplication::quit();
}

} // namespace desktop
