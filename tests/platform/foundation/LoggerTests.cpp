#include "foundation/Logger.h"

#include <QLoggingCategory>

#include <gtest/gtest.h>

#include <string>

using foundation::Logger;

namespace {

// Counts how often it is formatted, to show that disabled levels format nothing.
struct Costly {
    int* formatted;
};

struct LoggerTest : ::testing::Test {
    void TearDown() override { QLoggingCategory::setFilterRules(QString()); }
};

} // namespace

template <> struct fmt::formatter<Costly> : fmt::formatter<int> {
    auto format(const Costly& costly, fmt::format_context& ctx) const {
        ++*costly.formatted;
        return fmt::formatter<int>::format(42, ctx);
    }
};

TEST_F(LoggerTest, DebugIsOffByDefaultAndBuildsNothing) {
    Logger log("test.quoril", "quiet");
    EXPECT_FALSE(log.isDebugEnabled());
    int built = 0;
    testing::internal::CaptureStderr();
    log.debug([&] {
        ++built;
        return std::string("never");
    });
    log.debug("value {}", Costly{&built});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(built, 0);
}

TEST_F(LoggerTest, ARuleEnablesDebugForItsCategoryOnly) {
    Logger log("test.quoril", "chatty");
    Logger neighbour("test.quoril", "other");
    QLoggingCategory::setFilterRules("test.quoril.chatty.debug=true");
    EXPECT_TRUE(log.isDebugEnabled());
    EXPECT_FALSE(neighbour.isDebugEnabled());
    EXPECT_TRUE(Logger("test.quoril", "chatty").isDebugEnabled()) << "same category, same rules";

    int built = 0;
    testing::internal::CaptureStderr();
    log.debug([&] {
        ++built;
        return std::string("built once");
    });
    log.debug("value {}", Costly{&built});
    neighbour.debug("hidden {}", Costly{&built});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "debug test.quoril[chatty] built once\n"
                                                      "debug test.quoril[chatty] value 42\n");
    EXPECT_EQ(built, 2);
}

TEST_F(LoggerTest, OtherLevelsShowUnlessARuleTurnsThemOff) {
    Logger log("test.quoril", "levels");
    testing::internal::CaptureStderr();
    log.info("i");
    log.notice("n");
    log.error("e {}", 1);
    log.fault([] { return "two\nlines"; });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "info test.quoril[levels] i\n"
                                                      "notice test.quoril[levels] n\n"
                                                      "error test.quoril[levels] e 1\n"
                                                      "fault test.quoril[levels] two\\nlines\n");

    QLoggingCategory::setFilterRules("test.quoril.levels.info=false\ntest.quoril.levels.critical=false");
    testing::internal::CaptureStderr();
    log.info("i");
    log.error("e");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(LoggerTest, TheDefaultLogWritesTheBareMessageUnderTheDefaultCategory) {
    const Logger log = Logger::defaultLog();
    EXPECT_EQ(log.subsystem(), "");
    EXPECT_EQ(log.category(), "");
    EXPECT_FALSE(log.isDebugEnabled());
    QLoggingCategory::setFilterRules("default.debug=true");
    EXPECT_TRUE(Logger::defaultLog().isDebugEnabled());
    EXPECT_FALSE(Logger("test.quoril", "default").isDebugEnabled());

    testing::internal::CaptureStderr();
    log.debug("[Tag] {}", "message");
    log.info("plain");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "debug [Tag] message\ninfo plain\n");
}
