#include "desktop/SceneWindow.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QPalette>
#include <QScreen>
#include <QVBoxLayout>

namespace desktop {

SceneWindow::SceneWindow(std::size_t sceneIndex, const ui::SceneConfiguration& configuration, ui::View content,
                         bool withMenuBar)
    : sceneIndex_(sceneIndex) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (withMenuBar) {
        menuBar_ = new QMenuBar(this);
        layout->setMenuBar(menuBar_);
    }
    hosting_ = new ui::HostingWindow(std::move(content), {}, this);
    hosting_->setToolbarStyle(configuration.toolbarStyle);
    hosting_->setDefaultSize(configuration.defaultSize);
    layout->addWidget(hosting_);
    // The menu bar takes the appearance the content asks its window for.
    if (menuBar_ && hosting_->colorScheme() == ui::ColorScheme::dark) {
        QPalette dark = menuBar_->palette();
        const QColor bar(44, 44, 46), text(235, 235, 240), highlight(70, 70, 75);
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            dark.setColor(group, QPalette::Window, bar);
            dark.setColor(group, QPalette::Button, bar);
            dark.setColor(group, QPalette::Base, bar);
            dark.setColor(group, QPalette::WindowText, text);
            dark.setColor(group, QPalette::ButtonText, text);
            dark.setColor(group, QPalette::Text, text);
            dark.setColor(group, QPalette::Highlight, highlight);
            dark.setColor(group, QPalette::HighlightedText, text);
        }
        dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(130, 130, 135));
        dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(130, 130, 135));
        dark.setColor(QPalette::Disabled, QPalette::Text, QColor(130, 130, 135));
        // Disabled menu entries are etched with the light colour, which must not glare.
        dark.setColor(QPalette::Disabled, QPalette::Light, bar);
        menuBar_->setPalette(dark);
        menuBar_->setAutoFillBackground(true);
    }

    auto resizability = configuration.resizability;
    if (resizability == ui::WindowResizability::automatic)
        resizability = configuration.kind == ui::SceneKind::settings ? ui::WindowResizability::contentSize
                                                                     : ui::WindowResizability::contentMinSize;
    layout->setSizeConstraint(resizability == ui::WindowResizability::contentSize ? QLayout::SetMinAndMaxSize
                                                                                  : QLayout::SetMinimumSize);
    if (!configuration.title.empty()) setWindowTitle(QString::fromStdString(configuration.title));
    fitToContent();
}

void SceneWindow::fitToContent() {
    layout()->invalidate();
    layout()->activate();
    resize(sizeHint());
}

void SceneWindow::placeOnScreen(const ui::UnitPoint& position) {
    QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shown) return;
    const QRect area = shown->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + int((area.width() - outer.width()) * position.x),
         area.y() + int((area.height() - outer.height()) * position.y));
}

} // namespace desktop
