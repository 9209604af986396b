#pragma once

#include "ViewKit/ViewOperation.h"

#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/LocalizedStringKey.h"

#include <memory>

namespace foundation {
class Bundle;
}

namespace ViewKit {

// A label titled `key` (looked up in `bundle`, the main bundle when null) whose icon is the view.
ViewOperation label(ui::LocalizedStringKey key, std::shared_ptr<const foundation::Bundle> bundle = nullptr);

// A label of the text `key` from the main bundle and `image` as its icon.
ui::Label label(ui::LocalizedStringKey key, ui::Image image);
// The same with the text looked up in `bundle`.
ui::Label label(ui::LocalizedStringKey key, std::shared_ptr<const foundation::Bundle> bundle, ui::Image image);

} // namespace ViewKit
