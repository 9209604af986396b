#include "QtPopupPresenter.h"

#include "ui/ShapeStyleEnvironment.h"
#include "ui/Transaction.h"

#include <QColorDialog>
#include <QMenu>
#include <QPalette>

namespace ui::detail {

namespace {

void fill(QMenu& menu, const std::vector<MenuItem>& items, QWidget* window) {
    for (const auto& item : items) {
        switch (item.kind) {
        case MenuItem::Kind::separator:
            menu.addSeparator();
            break;
        case MenuItem::Kind::header:
            menu.addAction(QString::fromStdString(item.title))->setEnabled(false);
            break;
        case MenuItem::Kind::submenu: {
            QMenu* sub = menu.addMenu(QString::fromStdString(item.title));
            sub->setEnabled(item.isEnabled);
            fill(*sub, item.children, window);
            break;
        }
        case MenuItem::Kind::action: {
            QAction* action = menu.addAction(QString::fromStdString(item.title));
            action->setEnabled(item.isEnabled);
            if (item.isChecked) {
                action->setCheckable(true);
                action->setChecked(true);
            }
            QObject::connect(action, &QAction::triggered, window, [window, run = item.action] {
                // After the menu has closed, as the entry's action expects.
                QMetaObject::invokeMethod(
                    window, [run] { if (run) withTransaction(Transaction(), run); }, Qt::QueuedConnection);
            });
            break;
        }
        }
    }
}

// Qt's palette follows the desktop, not the window: a menu opened from a dark view is made dark.
QPalette darkPalette(QPalette palette) {
    const QColor background(44, 44, 46);
    const QColor text(235, 235, 235);
    const QColor disabled(130, 130, 132);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, background);
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Button, background);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Highlight, QColor(10, 95, 210));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::Light, QColor(70, 70, 72));
        palette.setColor(group, QPalette::Mid, QColor(58, 58, 60));
        palette.setColor(group, QPalette::Dark, QColor(30, 30, 32));
    }
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Window, background);
    palette.setColor(QPalette::Disabled, QPalette::Base, background);
    palette.setColor(QPalette::Disabled, QPalette::Button, background);
    // Disabled entries are etched with the light colour, which must not glare.
    palette.setColor(QPalette::Disabled, QPalette::Light, background);
    return palette;
}

} // namespace

void QtPopupPresenter::presentMenu(MenuModel model, const graphics::CGRect& anchor) {
    if (!window_) return;
    auto* menu = new QMenu(window_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (model.colorScheme == ColorScheme::dark) menu->setPalette(darkPalette(menu->palette()));
    fill(*menu, model.items, window_);
    const QPoint at(int(anchor.origin.x), int(anchor.origin.y + anchor.size.height));
    menu->popup(window_->mapToGlobal(at));
}

void QtPopupPresenter::presentColorPanel(ColorPanelRequest request) {
    if (!window_) return;
    auto* dialog = new QColorDialog(window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QColorDialog::ShowAlphaChannel, request.supportsOpacity);
    dialog->setCurrentColor(request.initial.resolve(styleContext(EnvironmentValues())).toQColor());
    QObject::connect(dialog, &QColorDialog::currentColorChanged, dialog, [picked = request.picked](const QColor& c) {
        if (picked) withTransaction(Transaction(), [&] { picked(Color(c.redF(), c.greenF(), c.blueF(), c.alphaF())); });
    });
    dialog->show();
}

} // namespace ui::detail
