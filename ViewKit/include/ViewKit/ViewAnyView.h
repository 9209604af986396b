#pragma once

#include "ui/AnyView.h"
#include "ui/View.h"

namespace ViewKit {

// The view as one type, so views of different types can stand where one type is expected.
ui::AnyView eraseToAnyView(const ui::View& view);

} // namespace ViewKit
