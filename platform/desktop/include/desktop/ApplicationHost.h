#pragma once

#include "desktop/CommandMenus.h"
#include "desktop/SceneWindow.h"

#include "foundation/ScenePhase.h"
#include "ui/App.h"
#include "ui/Graph.h"
#include "ui/View.h"

#include <QObject>

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace desktop {

// Runs an application value: its body is evaluated in a graph of its own (showing nothing),
// whose scenes become windows and whose commands become the menus. Phases: each scene's
// follows its windows (ScenePhases.h) and is in the environment of its windows' content; the
// program's is in the environment of the application value. Phase changes are worked out at
// the next turn of the event loop after a window event, so moving the focus from one window
// of the program to another does not leave the active phase; ending the program delivers the
// background phase at once. The commands see the focused values of the active window
// (ViewContext::focusedValue). Needs a QApplication; main thread only.
class ApplicationHost {
public:
    template <ui::App A> explicit ApplicationHost(A app)
        : ApplicationHost(ui::appView(std::move(app))) {}
    explicit ApplicationHost(ui::View application);
    ~ApplicationHost();
    ApplicationHost(const ApplicationHost&) = delete;
    ApplicationHost& operator=(const ApplicationHost&) = delete;

    // Opens the first window of the first window group.
    void start();
    // Runs Qt's event loop until the program ends; returns its exit code.
    int exec();
    // Editing in the windows ends (the views' focus is cleared), scenes go to the background
    // (delivered before this returns), the windows close and the event loop ends. Once only.
    void terminate();
    bool isTerminated() const { return terminated_; }

    // A new window of the window group at `sceneIndex` (the first when empty).
    SceneWindow* openWindow(std::optional<std::size_t> sceneIndex = std::nullopt);
    // Shows the settings window, making it when it is not open.
    SceneWindow* openSettings();

    // Runs the pending update of the application and the pending phase changes now.
    void updateNow();

    foundation::ScenePhase scenePhase() const { return applicationPhase_; }
    foundation::ScenePhase scenePhase(std::size_t sceneIndex) const;
    std::vector<SceneWindow*> windows() const;
    SceneWindow* settingsWindow() const;
    const std::vector<ui::SceneConfiguration>& scenes() const { return scenes_; }
    CommandMenus& menus() { return *menus_; }
    ui::Graph& graph() { return graph_; }

    struct Watcher;

private:
    void refresh();
    void scheduleRefresh();
    void schedulePhases();
    void updatePhases();
    void setApplicationPhase(foundation::ScenePhase phase);
    ui::View contentOf(std::size_t sceneIndex);
    // The application value's environment: the program's phase and the active window's
    // focused values.
    void applyApplicationEnvironment();
    void updateFocusedValues();
    SceneWindow* makeWindow(std::size_t sceneIndex);
    CommandMenus::StandardItems standardItems();
    std::optional<std::size_t> settingsScene() const;
    void windowClosed();

    std::unique_ptr<QObject> context_;
    std::unique_ptr<Watcher> watcher_;
    ui::Graph graph_;
    std::vector<ui::SceneConfiguration> scenes_;
    std::vector<foundation::ScenePhase> phases_;
    foundation::ScenePhase applicationPhase_ = foundation::ScenePhase::background;
    ui::FocusedValues focusedValues_;
    std::unique_ptr<CommandMenus> menus_;
    std::vector<SceneWindow*> windows_;
    bool refreshScheduled_ = false;
    bool phasesScheduled_ = false;
    bool terminated_ = false;
    bool started_ = false;
};

} // namespace desktop
