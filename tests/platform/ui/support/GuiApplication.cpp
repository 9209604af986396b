// Painting text and images needs a QGuiApplication, and hosted widgets a QApplication; the ui
// tests share one for the process.
#include "ui/EnvironmentActions.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class GuiApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "ui_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        // No test opens a real browser; tests that follow links install their own opener.
        ui::OpenURLAction::setSystemOpener([](const foundation::URL&) { return false; });
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

const auto* registered = testing::AddGlobalTestEnvironment(new GuiApplicationEnvironment);

} // namespace
