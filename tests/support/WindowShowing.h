#pragma once

#include "EventPolling.h"

#include <QWidget>
#include <QWindow>

#include <cstdio>

// Shows `window` on a screen without a window manager and waits until it is exposed and has
// settled; false (with a message) if it never shows.
inline bool showAndSettle(QWidget& window) {
    window.show();
    window.activateWindow(); // no window manager hands out the focus here
    if (!pollEvents([&] { return window.windowHandle() && window.windowHandle()->isExposed(); }, 10000)) {
        std::fprintf(stderr, "the window was never shown\n");
        return false;
    }
    pollEvents([n = 0]() mutable { return ++n > 10; });
    return true;
}
