// Painting text and images needs a QGuiApplication; the ui tests share one for the process.
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class GuiApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "ui_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QGuiApplication> app_;
};

const auto* registered = testing::AddGlobalTestEnvironment(new GuiApplicationEnvironment);

} // namespace
