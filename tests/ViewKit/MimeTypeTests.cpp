#include "ViewKit/CsvParser.h"
#include "ViewKit/MimeType.h"
#include "ViewKit/ResourceBundleAccessor.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <unordered_set>
#include <vector>

using ViewKit::MimeType;

namespace {

// Every MimeType of every kind, in table order.
std::vector<MimeType> everyType() {
    std::vector<MimeType> all;
    for (const auto type : MimeType::allCases<MimeType::Application>())
        all.push_back(MimeType::application(type));
    for (const auto type : MimeType::allCases<MimeType::Audio>())
        all.push_back(MimeType::audio(type));
    for (const auto type : MimeType::allCases<MimeType::Image>())
        all.push_back(MimeType::image(type));
    for (const auto type : MimeType::allCases<MimeType::Text>())
        all.push_back(MimeType::text(type));
    for (const auto type : MimeType::allCases<MimeType::Video>())
        all.push_back(MimeType::video(type));
    return all;
}

template <class Case> void expectRawValuesRoundTrip() {
    for (const Case type : MimeType::allCases<Case>()) {
        const std::string raw = foundation::rawValue(type);
        EXPECT_EQ(foundation::RawRepresentation<Case>::fromRawValue(raw), type) << raw;
    }
}

} // namespace

TEST(MimeTypeTest, TablesHoldTheirCasesInOrder) {
    EXPECT_EQ(MimeType::allCases<MimeType::Application>().size(), 57u);
    EXPECT_EQ(MimeType::allCases<MimeType::Audio>().size(), 6u);
    EXPECT_EQ(MimeType::allCases<MimeType::Image>().size(), 10u);
    EXPECT_EQ(MimeType::allCases<MimeType::Text>().size(), 8u);
    EXPECT_EQ(MimeType::allCases<MimeType::Video>().size(), 13u);
    EXPECT_EQ(MimeType::allCases<MimeType::Text>().front(), MimeType::Text::plain);
    EXPECT_EQ(MimeType::allCases<MimeType::Text>().back(), MimeType::Text::wml);

    // The bundle's copy of the table, kind, case and subtype a row, agrees row by row.
    const auto rows = ViewKit::CsvParser().parseCsvFile("MimeTypes", "csv", ViewKit::moduleBundle(), ",");
    const auto all = everyType();
    ASSERT_EQ(rows.size(), all.size() + 1);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const auto& row = rows[i + 1];
        ASSERT_EQ(row.size(), 3u);
        EXPECT_EQ(all[i].id(), row[0] + "/" + row[2]) << row[1];
        std::visit(
            [&](auto type) {
                if constexpr (!std::is_same_v<decltype(type), MimeType::Application>)
                    EXPECT_EQ(foundation::rawValue(type), row[1]);
            },
            all[i].value());
    }
}

TEST(MimeTypeTest, IdsAreLowerCaseAndEqualityFollowsTheCase) {
    EXPECT_EQ(MimeType::image(MimeType::Image::png).id(), "image/png");
    EXPECT_EQ(MimeType::application(MimeType::Application::docx).id(),
              "application/vnd.openxmlformats-officedocument.wordprocessingml.document");
    EXPECT_EQ(MimeType::video(MimeType::Video::video3gpp).id(), "video/3gpp");
    EXPECT_EQ(MimeType::application(MimeType::Application::x7z).id(), "application/x-7z-compressed");
    EXPECT_EQ(ViewKit::id(MimeType::Audio::mp3), "mpeg");

    const auto all = everyType();
    std::unordered_set<MimeType> distinct(all.begin(), all.end());
    EXPECT_EQ(distinct.size(), 94u); // equal ids, yet every case its own value and hash
    for (const auto& type : all) {
        const std::string id = type.id();
        const auto slash = id.find('/');
        ASSERT_NE(slash, std::string::npos) << id;
        EXPECT_GT(id.size(), slash + 1) << id;
        for (const char c : id)
            EXPECT_FALSE(std::isupper(static_cast<unsigned char>(c))) << id;
    }

    using A = MimeType::Application;
    const std::vector<std::vector<MimeType>> shared = {
        {MimeType::application(A::bin), MimeType::application(A::deb), MimeType::application(A::dll),
         MimeType::application(A::dmg), MimeType::application(A::exe), MimeType::application(A::img),
         MimeType::application(A::iso), MimeType::application(A::msi), MimeType::application(A::msm),
         MimeType::application(A::msp)},
        {MimeType::application(A::crt), MimeType::application(A::der), MimeType::application(A::pem)},
        {MimeType::application(A::ear), MimeType::application(A::jar), MimeType::application(A::war)},
        {MimeType::application(A::ai), MimeType::application(A::eps), MimeType::application(A::ps)},
        {MimeType::application(A::pdb), MimeType::application(A::prc)},
        {MimeType::application(A::pl), MimeType::application(A::pm)},
        {MimeType::audio(MimeType::Audio::kar), MimeType::audio(MimeType::Audio::midi)},
        {MimeType::video(MimeType::Video::asf), MimeType::video(MimeType::Video::asx)},
    };
    for (const auto& group : shared)
        for (std::size_t i = 1; i < group.size(); ++i) {
            EXPECT_EQ(group[i].id(), group[0].id());
            EXPECT_NE(group[i], group[0]) << group[i].id();
        }
    // Same position, different kind: not equal.
    EXPECT_NE(MimeType::audio(MimeType::Audio::kar), MimeType::image(MimeType::Image::bmp));
}

TEST(MimeTypeTest, RawValuesAreCaseNames) {
    expectRawValuesRoundTrip<MimeType::Audio>();
    expectRawValuesRoundTrip<MimeType::Image>();
    expectRawValuesRoundTrip<MimeType::Text>();
    expectRawValuesRoundTrip<MimeType::Video>();
    using AudioRaw = foundation::RawRepresentation<MimeType::Audio>;
    EXPECT_EQ(AudioRaw::fromRawValue("mp3"), MimeType::Audio::mp3);
    EXPECT_EQ(AudioRaw::fromRawValue("mpeg"), std::nullopt); // a subtype is no raw value
    EXPECT_EQ(foundation::rawValue(MimeType::Video::video3gpp), "video3gpp");
    EXPECT_FALSE(foundation::RawRepresentable<MimeType::Application>);
}
