#include "ui/ScrollDisabled.h"

namespace ui {

View scrollDisabled(const View& view, bool disabled) {
    return view.transformEnvironment(ScrollDisabledKey{}, [disabled](bool& off) { off = off || disabled; });
}

View View::scrollDisabled(bool disabled) const {
    return ui::scrollDisabled(*this, disabled);
}

} // namespace ui
