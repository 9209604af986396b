#include "App/PreferenceKeys.h"

#include "Prefs/ValueAccess.h"

#include "foundation/Clock.h"
#include "foundation/Date.h"
#include "foundation/PropertyList.h"
#include "foundation/UserDefaults.h"

#include <gtest/gtest.h>

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
    foundation::ScopedManualClock clock(Date(800000000));
    clock->advance(3600);
    const auto& key = quoril::lastAutoBurnDate();
    clock->advance(86400);
    EXPECT_EQ(Prefs::get(key), Date(800003600));
    EXPECT_EQ(foundation::UserDefaults::standard()->objectForKey("lastAutoBurnDate"),
              PropertyList(Date(800003600)));
    Prefs::set(key, Date::now());
    EXPECT_EQ(Prefs::get(key), Date(800090000));
    key->reset();
    EXPECT_EQ(Prefs::get(key), Date(800003600));
}
