#include "ui/ScrollDisabled.h"

namespace ui {

View scrollDisabled(const View& view, bool disabled) {
    return view.transformEnvironment(ScrollDisabledKey{}, [disabled](bool& off) { off = off || disabled; });
}

} // namespace ui
