#include "App/PreferenceKeys.h"

#include "Prefs/ValueAccess.h"

#include "foundation/Clock.h"
#include "foundation/Date.h"
#include "foundation/PropertyList.h"
#include "foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include <cstdlib>

using foundation::Date;
using foundation::PropertyList;

TEST(PreferenceKeysTest, TheBooleanKeysLiveOnTheStandardSuiteWithTheirDefaults) {
    const auto& standard = foundation::UserDefaults::standard();
    EXPECT_EQ(quoril::burnOnQuit()->name(), "burnOnQuit");
    EXPECT_EQ(quoril::burnAtEndOfDay()->name(), "burnAtEndOfDay");
    EXPECT_EQ(quoril::accentColorMatchesDockIcon()->name(), "accentColorMatchesDockIcon");
    EXPECT_EQ(quoril::burnOnQuit()->suite(), standard);
    EXPECT_EQ(quoril::burnOnQuit(), quoril::burnOnQuit()) << "one key per process";

    EXPECT_FALSE(Prefs::get(quoril::burnOnQuit()));
    EXPECT_FALSE(Prefs::get(quoril::burnAtEndOfDay()));
    EXPECT_TRUE(Prefs::get(quoril::accentColorMatchesDockIcon()));
    EXPECT_EQ(standard->objectForKey("accentColorMatchesDockIcon"), PropertyList(true));

    Prefs::set(quoril::burnOnQuit(), true);
    EXPECT_EQ(standard->objectForKey("burnOnQuit"), PropertyList(true));
    quoril::burnOnQuit()->reset();
}

TEST(PreferenceKeysTest, LastAutoBurnDateDefaultsToTheMomentOfFirstUse) {
    // The default is fixed at the key's first use in the process, and other tests use it too:
    // so this runs in a process of its own.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto firstUse = [] {
        foundation::ScopedManualClock clock(Date(800000000));
        clock->advance(3600);
        const auto& key = quoril::lastAutoBurnDate();
        clock->advance(86400);
        bool ok = Prefs::get(key) == Date(800003600) &&
                  foundation::UserDefaults::standard()->objectForKey("lastAutoBurnDate") ==
                      PropertyList(Date(800003600));
        Prefs::set(key, Date::now());
        ok = ok && Prefs::get(key) == Date(800090000);
        key->reset();
        ok = ok && Prefs::get(key) == Date(800003600);
        std::exit(ok ? 0 : 1);
    };
    EXPECT_EXIT(firstUse(), testing::ExitedWithCode(0), "");
}
