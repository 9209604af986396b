#include "ui/Form.h"

#include "ui/Color.h"
#include "ui/Divider.h"
#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Font.h"
#include "ui/Group.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/LabeledContent.h"
#include "ui/Picker.h"
#include "ui/Layout.h"
#include "ui/RoundedRectangle.h"
#include "ui/Section.h"
#include "ui/Spacer.h"
#include "ui/Stack.h"
#include "ui/ViewContext.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace ui {
namespace {

constexpr CGFloat columnGap = 8;
constexpr CGFloat rowSpacing = 8;
constexpr CGFloat sectionSpacing = 20;

const LabeledContent* labeledContent(const View& view) {
    const auto* node = view.nodeAs<detail::CustomViewNode<LabeledContent>>();
    return node ? &node->value() : nullptr;
}
// A row's label and content when it has a label of its own to put in the label column: a
// LabeledContent, or a picker (drawn without its label then).
std::optional<std::pair<View, View>> labelAndContent(const View& row) {
    if (const auto* labeled = labeledContent(row)) return std::pair(labeled->label, labeled->content);
    if (const auto* picker = detail::pickerModel(row)) return std::pair(picker->label, row.labelsHidden());
    return std::nullopt;
}
const detail::SectionNode* section(const View& view) {
    return view.nodeAs<detail::SectionNode>();
}

// A row of the columns layout: its label (empty for none) and its content.
struct ColumnRow {
    View label;
    View content;
};

// Labels right-aligned in the first column, as wide as the widest; contents left-aligned in
// the second. Each label sits on its content's first baseline when both have one, else on its top.
class FormColumnsNode final : public ViewNode {
public:
    explicit FormColumnsNode(std::vector<ColumnRow> rows)
        : rows_(std::move(rows)) {}
    std::string_view typeName() const override { return "FormColumns"; }

    void update(Element& element) const override {
        std::vector<ChildSpec> specs;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            specs.push_back({rows_[i].label, {2 * i, {}, false, 0}, {}});
            specs.push_back({rows_[i].content, {2 * i + 1, {}, false, 0}, {}});
        }
        element.reconcile(std::move(specs));
    }

    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        const auto layout = measure(element, proposal);
        return layout.size;
    }

    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        const auto layout = measure(element, proposal);
        const auto frame = element.frame();
        const bool rtl = element.environment().get<LayoutDirectionKey>() == LayoutDirection::rightToLeft;
        const auto& children = element.children();
        for (std::size_t i = 0; i < layout.rows.size(); ++i) {
            const auto& row = layout.rows[i];
            const CGFloat y = frame.origin.y + row.top;
            CGFloat labelX = layout.labelWidth - row.labelSize.width;
            CGFloat contentX = layout.contentStart;
            if (rtl) {
                labelX = frame.size.width - layout.labelWidth;
                contentX = frame.size.width - layout.contentStart - row.contentSize.width;
            }
            detail::placeContent(detail::flatten(*children[2 * i]),
                                 {{frame.origin.x + labelX, y + row.labelOffset}, row.labelSize},
                                 ProposedViewSize(row.labelSize), Alignment::topLeading);
            detail::placeContent(detail::flatten(*children[2 * i + 1]),
                                 {{frame.origin.x + contentX, y + row.contentOffset}, row.contentSize},
                                 row.contentProposal, Alignment::topLeading);
        }
    }

private:
    struct RowLayout {
        graphics::CGSize labelSize, contentSize;
        ProposedViewSize contentProposal;
        CGFloat top = 0, labelOffset = 0, contentOffset = 0;
    };
    struct Layout {
        std::vector<RowLayout> rows;
        CGFloat labelWidth = 0, contentStart = 0;
        graphics::CGSize size;
    };

    Layout measure(Element& element, const ProposedViewSize& proposal) const {
        Layout layout;
        const auto& children = element.children();
        const std::size_t count = children.size() / 2;
        layout.rows.resize(count);
        bool anyLabel = false;
        for (std::size_t i = 0; i < count; ++i) {
            auto labels = detail::flatten(*children[2 * i]);
            if (labels.empty()) continue;
            layout.rows[i].labelSize = detail::contentSize(labels, ProposedViewSize::unspecified());
            layout.labelWidth = std::max(layout.labelWidth, layout.rows[i].labelSize.width);
            anyLabel = true;
        }
        layout.contentStart = anyLabel ? layout.labelWidth + columnGap : 0;
        std::optional<CGFloat> contentWidth;
        if (proposal.width) contentWidth = std::max<CGFloat>(0, *proposal.width - layout.contentStart);
        CGFloat y = 0, widest = 0;
        for (std::size_t i = 0; i < count; ++i) {
            auto& row = layout.rows[i];
            auto contents = detail::flatten(*children[2 * i + 1]);
            row.contentProposal = ProposedViewSize(contentWidth, std::nullopt);
            row.contentSize = contents.empty() ? graphics::CGSize{} : detail::contentSize(contents, row.contentProposal);
            // Line the label's first baseline up with the content's.
            const auto* baseline = VerticalAlignment::firstTextBaseline.id;
            auto labelBaseline = row.labelSize.height > 0
                                     ? detail::contentAlignment(*children[2 * i], baseline, row.labelSize)
                                     : std::nullopt;
            auto contentBaseline = row.contentSize.height > 0
                                       ? detail::contentAlignment(*children[2 * i + 1], baseline, row.contentSize)
                                       : std::nullopt;
            if (labelBaseline && contentBaseline) {
                const CGFloat shift = *contentBaseline - *labelBaseline;
                row.labelOffset = std::max<CGFloat>(0, shift);
                row.contentOffset = std::max<CGFloat>(0, -shift);
            }
            const CGFloat height =
                std::max(row.labelOffset + row.labelSize.height, row.contentOffset + row.contentSize.height);
            if (i > 0) y += rowSpacing;
            row.top = y;
            y += height;
            widest = std::max(widest, row.contentSize.width);
        }
        layout.size = {layout.contentStart + widest, y};
        return layout;
    }

    std::vector<ColumnRow> rows_;
};

std::vector<View> rowsOf(const View& content) {
    return content.enumerateChildren();
}

View columnsForm(const std::vector<View>& rows) {
    std::vector<ColumnRow> columns;
    auto add = [&](const View& row) {
        if (auto labeled = labelAndContent(row))
            columns.push_back({std::move(labeled->first), std::move(labeled->second)});
        else
            columns.push_back({View(), row});
    };
    bool first = true;
    for (const auto& row : rows) {
        if (const auto* s = section(row)) {
            // Sections follow each other with a gap, headed by their header in the content column.
            if (!first) columns.push_back({View(), View(Spacer(sectionSpacing - 2 * rowSpacing)).fixedSize()});
            if (s->header()) columns.push_back({View(), s->header()->font(Font::headline())});
            for (const auto& inner : s->rows())
                add(inner);
            if (s->footer())
                columns.push_back({View(), s->footer()->font(Font::footnote()).foregroundStyle(HierarchicalShapeStyle::secondary)});
        } else {
            add(row);
        }
        first = false;
    }
    return View(std::make_shared<FormColumnsNode>(std::move(columns)));
}

View groupedRow(const View& row) {
    if (auto labeled = labelAndContent(row)) return HStack({labeled->first, Spacer(), labeled->second});
    return row.frame([] { FlexibleFrame f; f.maxWidth = 1e9; f.alignment = Alignment::leading; return f; }());
}

View groupedSection(const std::optional<View>& header, const std::vector<View>& rows,
                    const std::optional<View>& footer) {
    std::vector<View> lines;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) lines.push_back(Divider());
        lines.push_back(groupedRow(rows[i]).padding(EdgeSet::vertical, 6));
    }
    std::vector<View> parts;
    if (header) parts.push_back(header->font(Font::headline()).padding(EdgeSet::leading, 4));
    parts.push_back(View(VStack(HorizontalAlignment::leading, 0, std::move(lines)))
                        .padding(EdgeSet::horizontal, 10)
                        .padding(EdgeSet::vertical, 4)
                        .background(RoundedRectangle(8).fill(Color::gray.opacity(0.08)))
                        .overlay(RoundedRectangle(8).strokeBorder(Color::gray.opacity(0.25), 1)));
    if (footer)
        parts.push_back(footer->font(Font::footnote())
                            .foregroundStyle(HierarchicalShapeStyle::secondary)
                            .padding(EdgeSet::leading, 4));
    return VStack(HorizontalAlignment::leading, 6, std::move(parts));
}

View groupedForm(const std::vector<View>& rows) {
    std::vector<View> sections;
    std::vector<View> loose; // rows outside any section form one of their own
    auto flushLoose = [&] {
        if (loose.empty()) return;
        sections.push_back(groupedSection(std::nullopt, loose, std::nullopt));
        loose.clear();
    };
    for (const auto& row : rows) {
        if (const auto* s = section(row)) {
            flushLoose();
            sections.push_back(groupedSection(s->header(), s->rows(), s->footer()));
        } else {
            loose.push_back(row);
        }
    }
    flushLoose();
    return View(VStack(HorizontalAlignment::leading, sectionSpacing, std::move(sections))).padding(20);
}

} // namespace

View Form::body(ViewContext& ctx) const {
    const auto rows = rowsOf(content);
    if (ctx.environment<FormStyleKey>() == FormStyle::grouped) return groupedForm(rows);
    return columnsForm(rows);
}

LabeledContent::LabeledContent(Text title, std::string value)
    : label(View(std::move(title)))
    , content(View(Text(std::move(value))).foregroundStyle(HierarchicalShapeStyle::secondary)) {}

View LabeledContent::body(ViewContext&) const {
    return HStack(VerticalAlignment::firstTextBaseline, std::nullopt, {label, Spacer(), content});
}

View View::formStyle(FormStyle style) const {
    return environment<FormStyleKey>(style);
}

} // namespace ui
