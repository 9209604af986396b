#pragma once

#include "ui/Text.h"
#include "ui/View.h"

#include <functional>
#include <string>

namespace ViewKit {

// A string in which every occurrence of `target` is drawn as the builder's text, the whole one
// paragraph that wraps as a unit. Built once: the builder is called once per piece between
// occurrences (the last call's result unused). An empty target is no occurrence.
class TextReplacement {
public:
    TextReplacement(const std::string& string, const std::string& target,
                    const std::function<ui::Text(const std::string&)>& builder);

    const ui::Text& content() const { return content_; }
    ui::View body(ui::ViewContext&) const { return ui::View(content_); }

private:
    ui::Text content_;
};

} // namespace ViewKit
