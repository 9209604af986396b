#pragma once

#include "ui/Animation.h"
#include "ui/Transaction.h"

namespace Flair {

// Replaces the transaction's animation with `animation` when it is the default one
// (ui::Animation::default_()); a transaction without animation or with any other is left alone.
void overrideDefaultAnimation(ui::Transaction& transaction, const ui::Animation& animation);

} // namespace Flair
