#pragma once

#include "desktop/ApplicationHost.h"

#include "foundation/QtRunLoopDriver.h"
#include "ui/App.h"

#include <QApplication>

namespace desktop {

// The program's entry: makes the Qt application and the run-loop driver, the application
// value A once, opens its first window and runs until the program ends.
template <ui::App A> int runApp(int argc, char** argv) {
    QApplication qt(argc, argv);
    foundation::QtRunLoopDriver driver;
    ApplicationHost host{A{}};
    host.start();
    return host.exec();
}

} // namespace desktop
