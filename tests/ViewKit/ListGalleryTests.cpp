// The list building blocks together, rendered in both schemes to be looked at.
#include "ListGallery.h"
#include "SchemeRendering.h"

#include <gtest/gtest.h>

TEST(ListGalleryTest, RendersTheBuildingBlocksInBothSchemes) {
    viewkit_testing::renderBothSchemes(viewkit_testing::gallery(), {400, 560}, "viewkit-list-gallery");
}
