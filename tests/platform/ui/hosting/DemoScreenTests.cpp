#include "DemoScreen.h"

#include "ui/TestHost.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::filesystem::path referenceFolder = UI_REFERENCE_FOLDER;

TEST(DemoScreenTest, RendersAsTheReferenceImage) {
    ui::TestHost host(uitest::demoScreen(), {260, 200});
    const QImage rendered = host.render();
    const auto written = std::filesystem::path(testing::TempDir()) / "demo-screen.png";
    ASSERT_TRUE(host.renderPNG(QString::fromStdString(written.string())));

    const QImage reference(QString::fromStdString((referenceFolder / "demo-screen.png").string()));
    ASSERT_FALSE(reference.isNull()) << "no reference image; this run's is " << written;
    ASSERT_EQ(reference.size(), rendered.size());
    EXPECT_LT(uitest::differingShare(rendered, reference), 0.005) << "compare " << written << " with the reference";
}

} // namespace
