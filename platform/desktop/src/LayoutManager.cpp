#include "desktop/LayoutManager.h"

#include "desktop/TextView.h"

#include <QFontMetricsF>
#include <QTextLayout>

#include <algorithm>
#include <limits>

namespace desktop {

void LayoutManager::ensureLayoutForTextContainer(TextContainer&) {
    // The text is measured afresh on every question; nothing waits to be laid out.
}

graphics::CGRect LayoutManager::usedRectForTextContainer(TextContainer& container) {
    TextView& view = container.textView();
    const QFont font = view.font();
    const double width = view.width() > 0 ? double(view.width()) : std::numeric_limits<double>::max() / 4;
    QString text = view.plainText();
    if (measured_ && measured_->width == width && measured_->text == text && measured_->font == font)
        return measured_->used;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    double height = 0;
    double widest = 0;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
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
