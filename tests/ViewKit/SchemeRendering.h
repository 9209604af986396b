// Renders a view in the light and the dark scheme, for looking at by eye.
#pragma once

#include "ui/EnvironmentKeys.h"
#include "ui/TestHost.h"

#include <QColor>
#include <QDir>
#include <QString>

#include <string>

namespace viewkit_testing {

inline constexpr QRgb darkWindow = 0xff1e1e1e;

// A host of `view` in `scheme`, on the window colour of that scheme.
inline ui::EnvironmentValues inScheme(ui::ColorScheme scheme) {
    ui::EnvironmentValues environment;
    environment.set<ui::ColorSchemeKey>(scheme);
    return environment;
}

inline QColor windowColour(ui::ColorScheme scheme) {
    return scheme == ui::ColorScheme::dark ? QColor::fromRgb(darkWindow) : QColor(Qt::white);
}

// Saves "<name>-light.png" and "<name>-dark.png" in the temporary folder, at twice the size.
inline void renderBothSchemes(const ui::View& view, graphics::CGSize size, const std::string& name) {
    for (const auto scheme : {ui::ColorScheme::light, ui::ColorScheme::dark}) {
        ui::TestHost host(view, size, inScheme(scheme));
        host.update();
        const auto suffix = scheme == ui::ColorScheme::dark ? "-dark.png" : "-light.png";
        host.renderPNG(QDir::temp().filePath(QString::fromStdString(name + suffix)), 2, windowColour(scheme));
    }
}

} // namespace viewkit_testing
