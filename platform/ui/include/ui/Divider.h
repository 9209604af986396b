#pragma once

#include "ui/View.h"

namespace ui {

// A one-point line in the separator colour: across the enclosing stack's axis (a horizontal
// rule in a VStack, a vertical one in an HStack), as long as it is offered. Outside a stack it
// is horizontal.
class Divider : public View {
public:
    Divider();
};

} // namespace ui
