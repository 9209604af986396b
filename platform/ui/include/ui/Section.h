#pragma once

#include "ui/Text.h"
#include "ui/View.h"

#include <concepts>
#include <optional>
#include <vector>

namespace ui {

// A titled group of rows, with an optional header and footer. A List shows its header as a row
// above its rows; a Form heads the rows with the header and ends them with the footer; on its
// own it stacks header, rows and footer vertically.
class Section : public View {
public:
    explicit Section(std::vector<View> content);
    Section(View header, std::vector<View> content);
    template <std::derived_from<View> V>
    explicit Section(V content)
        : Section(std::vector<View>{View(std::move(content))}) {}
    Section(Text header, View content)
        : Section(View(std::move(header)), std::vector<View>{std::move(content)}) {}
    Section(const char* header, View content)
        : Section(Text(header), std::move(content)) {}
    Section(View content, std::optional<View> header, std::optional<View> footer);
};

namespace detail {

// What a Section holds, for the containers that lay its rows out themselves.
class SectionNode final : public ViewNode {
public:
    SectionNode(std::optional<View> header, std::vector<View> content, std::optional<View> footer);
    std::string_view typeName() const override { return "Section"; }
    void update(Element& element) const override;

    const std::optional<View>& header() const { return header_; }
    const std::vector<View>& content() const { return content_; }
    const std::optional<View>& footer() const { return footer_; }
    // The rows: each content view's children (a group's or ForEach's), in order.
    std::vector<View> rows() const;

private:
    std::optional<View> header_;
    std::vector<View> content_;
    std::optional<View> footer_;
};

} // namespace detail

} // namespace ui
