#pragma once

#include "ui/View.h"

namespace ui {

// A view of any type as one type. Its content keeps its state while the erased type stays the
// same and starts afresh when it changes.
class AnyView : public View {
public:
    AnyView(View content);
};

} // namespace ui
