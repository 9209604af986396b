#include "ViewKit/PasteboardCopyString.h"

namespace ViewKit {

void copyString(desktop::Pasteboard& pasteboard, const std::string& string) {
    desktop::copyString(pasteboard, string);
}

} // namespace ViewKit
