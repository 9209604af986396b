#include "foundation/PreferredLanguages.h"

#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using foundation::preferredLanguages;

TEST(PreferredLanguagesTest, FromTheEnvironment) {
    struct Case {
        const char* language;
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, nullptr, {"en"}},
        {nullptr, nullptr, nullptr, "de_DE.UTF-8@euro", {"de_DE", "de", "en"}},
        {nullptr, "fr_CA.UTF-8", "de_DE", "it_IT", {"fr_CA", "fr", "en"}},
        {nullptr, "", "sr@latin", "it_IT", {"sr", "en"}},
        {nullptr, nullptr, nullptr, "C.UTF-8", {"en"}},
        {nullptr, nullptr, "POSIX", nullptr, {"en"}},
        {"pt_BR:fr::de_AT",
         nullptr,
         nullptr,
         "it_IT.UTF-8",
         {"pt_BR", "pt", "fr", "de_AT", "de", "it_IT", "it", "en"}},
        {"de:de_DE:de", nullptr, nullptr, "de_DE.UTF-8", {"de", "de_DE", "en"}},
        {"../../etc:de/x:fr_FR.UTF-8: :_x", nullptr, nullptr, "..", {"fr_FR", "fr", "en"}},
    };
    for (const Case& c : cases) {
        testing_support::ScopedEnvironment language("LANGUAGE", c.language), lcAll("LC_ALL", c.lcAll),
            lcMessages("LC_MESSAGES", c.lcMessages), lang("LANG", c.lang);
        EXPECT_EQ(preferredLanguages(), c.expected)
            << (c.language ? c.language : "-") << " / " << (c.lcAll ? c.lcAll : "-") << " / "
            << (c.lcMessages ? c.lcMessages : "-") << " / " << (c.lang ? c.lang : "-");
    }
}
