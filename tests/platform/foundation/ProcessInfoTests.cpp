#include "foundation/ProcessInfo.h"

#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

TEST(ProcessInfoTest, TheRunningProcessFollowsItsEnvironmentAndAGivenOneStaysAsGiven) {
    const auto& running = foundation::ProcessInfo::processInfo();
    {
        testing_support::ScopedEnvironment set("QUORIL_PROCESS_INFO_TEST", "a=b");
        const auto environment = running.environment();
        ASSERT_TRUE(environment.contains("QUORIL_PROCESS_INFO_TEST"));
        EXPECT_EQ(environment.at("QUORIL_PROCESS_INFO_TEST"), "a=b"); // split at the first '='
        testing_support::ScopedEnvironment empty("QUORIL_PROCESS_INFO_EMPTY", "");
        EXPECT_EQ(running.environment().at("QUORIL_PROCESS_INFO_EMPTY"), "");
    }
    EXPECT_FALSE(running.environment().contains("QUORIL_PROCESS_INFO_TEST"));
    EXPECT_EQ(&foundation::ProcessInfo::processInfo(), &running);

    const foundation::ProcessInfo given(foundation::ProcessInfo::Environment{{"HOME", "/nowhere"}});
    EXPECT_EQ(given.environment(), (foundation::ProcessInfo::Environment{{"HOME", "/nowhere"}}));
    EXPECT_TRUE(foundation::ProcessInfo(foundation::ProcessInfo::Environment{}).environment().empty());
}
