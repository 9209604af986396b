#include "Flair/OverrideDefaultAnimation.h"

namespace Flair {

void overrideDefaultAnimation(ui::Transaction& transaction, const ui::Animation& animation) {
    if (transaction.animation && *transaction.animation == ui::Animation::default_())
        transaction.setAnimation(animation);
}

} // namespace Flair
