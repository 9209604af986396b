#pragma once

#include "desktop/ApplicationHost.h"

#include "foundation/QtRunLoopDriver.h"
#include "ui/App.h"

#include <QApplication>

namespace desktop {

// Makes SIGINT and SIGTERM end the program through Application::terminate() at the next turn
// of the event loop, so a logout or a kill delivers the background phase (and what saves at
// it) before the program ends. Needs a QApplication; installed once.
void terminateOnSignals();

// Makes the application's style read the extension buttons' icons of menu bars and tool bars
// when first drawn instead of when each bar is made (reading one loads every image plug-in).
void deferExtensionIcons();

// The program's entry: makes the Qt application and the run-loop driver, the application
// value A once, opens its first window and runs until the program ends. The desktop file name
// is the bundle identifier.
template <ui::App A> int runApp(int argc, char** argv) {
    QApplication qt(argc, argv);
    foundation::QtRunLoopDriver driver;
    terminateOnSignals();
    deferExtensionIcons();
    ApplicationHost host{A{}};
    host.start();
    return host.exec();
}

} // namespace desktop
