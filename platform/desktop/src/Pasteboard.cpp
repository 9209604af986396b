#include "desktop/Pasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace desktop {

Pasteboard& Pasteboard::general() {
    static Pasteboard pasteboard;
    return pasteboard;
}

std::int64_t Pasteboard::clearContents() {
    if (auto* clipboard = QGuiApplication::clipboard()) clipboard->clear();
    return ++changeCount_;
}

bool Pasteboard::setString(const std::string& text, PasteboardType) {
    auto* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    clipboard->setText(QString::fromStdString(text));
    ++changeCount_;
    return true;
}

std::optional<std::string> Pasteboard::string(PasteboardType) const {
    auto* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return std::nullopt;
    const QMimeData* data = clipboard->mimeData();
    if (!data || !data->hasText()) return std::nullopt;
    return clipboard->text().toStdString();
}

void copyString(Pasteboard& pasteboard, const std::string& text) {
    pasteboard.clearContents();
    pasteboard.setString(text, PasteboardType::string);
}

} // namespace desktop
