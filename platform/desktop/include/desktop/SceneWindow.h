#pragma once

#include "ui/HostingWindow.h"
#include "ui/Scene.h"

#include <QWidget>

#include <cstddef>

class QMenuBar;

namespace desktop {

// A window of a scene: an optional menu bar over a hosting window with the scene's content.
// Its size follows the content as the scene's resizability says, and its first size is the
// scene's default size for the content.
class SceneWindow : public QWidget {
public:
    SceneWindow(std::size_t sceneIndex, const ui::SceneConfiguration& configuration, ui::View content,
                bool withMenuBar);

    std::size_t sceneIndex() const { return sceneIndex_; }
    ui::HostingWindow& hostingWindow() { return *hosting_; }
    QMenuBar* menuBar() const { return menuBar_; }
    // Takes the size the content and the menu bar ask for (when not yet shown).
    void fitToContent();
    // Puts the window where the scene's default position says on its screen.
    void placeOnScreen(const ui::UnitPoint& position);

private:
    std::size_t sceneIndex_;
    ui::HostingWindow* hosting_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
};

} // namespace desktop
