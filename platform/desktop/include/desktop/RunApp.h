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

// The program's entry: makes the Qt application and the run-loop driver, the application
// value A once, opens its first window and runs until the program ends. The desktop file name
// is the bundle identifier.
template <ui::App A> int runApp(int argc, char** argv) {
    QApplication qt(argc, argv);
    foundation::QtRunLoopDriver driver;
    terminateOnSignals();
    ApplicationHost host{A{}};
    host.start();
    return host.exec();
}

} // namespace desktop
