#pragma once

#include "ViewKit/ViewOperation.h"

#include "graphics/CGFloat.h"
#include "graphics/CGSize.h"

namespace ViewKit {

// A frame of exactly `size`, the view centred in it.
ViewOperation frame(graphics::CGSize size);
// A square frame `side` points wide and high, the view centred in it.
ViewOperation squareFrame(graphics::CGFloat side);

} // namespace ViewKit
