#include "ui/Section.h"

#include "ui/Element.h"
#include "ui/Font.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/Stack.h"

namespace ui {

Section::Section(std::vector<View> content)
    : View(std::make_shared<detail::SectionNode>(std::nullopt, std::move(content), std::nullopt)) {}

Section::Section(View header, std::vector<View> content)
    : View(std::make_shared<detail::SectionNode>(std::move(header), std::move(content), std::nullopt)) {}

Section::Section(View content, std::optional<View> header, std::optional<View> footer)
    : View(std::make_shared<detail::SectionNode>(std::move(header), std::vector<View>{std::move(content)},
                                                 std::move(footer))) {}

namespace detail {

SectionNode::SectionNode(std::optional<View> header, std::vector<View> content, std::optional<View> footer)
    : header_(std::move(header))
    , content_(std::move(content))
    , footer_(std::move(footer)) {}

std::vector<View> SectionNode::rows() const {
    std::vector<View> rows;
    for (const auto& view : content_)
        for (auto& row : view.enumerateChildren())
            rows.push_back(std::move(row));
    return rows;
}

void SectionNode::update(Element& element) const {
    std::vector<View> parts;
    if (header_) parts.push_back(header_->font(Font::headline()));
    for (const auto& view : content_)
        parts.push_back(view);
    if (footer_) parts.push_back(footer_->font(Font::footnote()).foregroundStyle(HierarchicalShapeStyle::secondary));
    element.reconcile({{VStack(HorizontalAlignment::leading, std::nullopt, std::move(parts)), {0, {}, false, 0}, {}}});
}

} // namespace detail

} // namespace ui
