#include "desktop/Window.h"

#include "desktop/TextView.h"
#include "ui/HostedFocus.h"

namespace desktop {

QWidget* Window::firstResponder() const {
    QWidget* window = window_.data();
    if (!window) return nullptr;
    // A hosted editor keeps the focus while it is painted for a moment and Qt's is elsewhere.
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (ui::hasHostedFocus(*child)) return child;
    }
    QWidget* focused = window->focusWidget();
    if (focused && ui::isHostedWidget(*focused)) return nullptr; // Qt's focus trails the views'
    return focused;
}

bool Window::makeFirstResponder(QWidget* responder) {
    QWidget* window = window_.data();
    if (!window) return false;
    if (!responder) {
        QWidget* current = firstResponder();
        if (auto* textView = dynamic_cast<TextView*>(current))
            textView->resignFirstResponder();
        else if (current && ui::isHostedWidget(*current))
            ui::resignHostedFocus(*current);
        else if (current && current != window)
            current->clearFocus();
        return true;
    }
    if (responder != window && !window->isAncestorOf(responder)) return false;
    if (ui::isHostedWidget(*responder)) return ui::takeHostedFocus(*responder);
    responder->setFocus(Qt::OtherFocusReason);
    return true;
}

} // namespace desktop
