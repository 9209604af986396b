#include "desktop/LayoutManager.h"

#include "desktop/TextView.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <limits>

namespace desktop {

void LayoutManager::ensureLayoutForTextContainer(TextContainer&) {
    // The text is measured afresh on every question; nothing waits to be laid out.
}

graphics::CGRect LayoutManager::usedRectForTextContainer(TextContainer& container) {
    TextView& view = container.textView();
    const QTextDocument& document = *view.document();
    const QFont font = document.defaultFont();
    const double width = view.width() > 0 ? double(view.width()) : std::numeric_limits<double>::max() / 4;
    QString text = document.toPlainText();
    if (measured_ && measured_->width == width && measured_->text == text && measured_->font == font)
        return measured_->used;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    double height = 0;
    double widest = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextLayout layout(block.text(), font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition({0, height});
            height += line.height();
            widest = std::max(widest, line.naturalTextWidth());
        }
        layout.endLayout();
    }
    if (height == 0) height = QFontMetricsF(font).height(); // the empty line the caret stands on
    measured_ = Measured{std::move(text), font, width, {{0, 0}, {widest, height}}};
    return measured_->used;
}

} // namespace desktop
