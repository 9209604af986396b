#pragma once

#include <QProxyStyle>

namespace desktop {

// The application's style with the extension buttons' icons of menu bars and tool bars read
// when first drawn, not when the bar is made: each bar makes its hidden button at once, and
// reading the icon loads every image-format plug-in, which cost a start-up several
// milliseconds for a button that shows only when the bar is too narrow. Draws as the style it
// wraps.
class DeferredIconStyle final : public QProxyStyle {
public:
    // Wraps a new instance of the style named `baseStyle` (the application's default when empty).
    explicit DeferredIconStyle(const QString& baseStyle = {});

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace desktop
