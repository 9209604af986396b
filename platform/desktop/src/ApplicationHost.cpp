#include "desktop/ApplicationHost.h"

#include "desktop/Application.h"
#include "desktop/ScenePhases.h"

#include "foundation/Bundle.h"
#include "foundation/UndoManager.h"
#include "ui/EnvironmentFocusedValues.h"
#include "ui/EnvironmentKeys.h"
#include "ui/EventDispatcher.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace desktop {

using foundation::ScenePhase;

// Tells the host of the window events a phase follows.
struct ApplicationHost::Watcher : QObject {
    explicit Watcher(ApplicationHost& host)
        : host(host) {}
    bool eventFilter(QObject* object, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Close:
            object->setProperty("quorilClosed", true);
            host.schedulePhases();
            break;
        case QEvent::ActivationChange:
        case QEvent::WindowStateChange:
        case QEvent::Show:
        case QEvent::Hide:
            host.schedulePhases();
            break;
        default:
            break;
        }
        return false;
    }
    ApplicationHost& host;
};

namespace {

std::string applicationName() {
    if (const std::string* name = foundation::Bundle::main()->objectForInfoDictionaryKey("CFBundleName").string())
        return *name;
    return QCoreApplication::applicationName().toStdString();
}

// Edit items act on the widget with the keyboard focus, when it has the slot.
std::function<void()> toFocus(const char* slot) {
    return [slot] {
        if (QWidget* widget = QApplication::focusWidget()) QMetaObject::invokeMethod(widget, slot);
    };
}

bool isTextEditor(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QTextEdit*>(widget);
}

ui::KeyboardShortcut command(char32_t key, ui::EventModifiers more = ui::EventModifiers::none) {
    return {key, ui::EventModifiers::command | more};
}

} // namespace

ApplicationHost::ApplicationHost(ui::View application)
    : context_(std::make_unique<QObject>())
    , watcher_(std::make_unique<Watcher>(*this))
    , graph_(std::move(application)) {
    Application::shared().setHost(this);
    // The host decides when the program ends (the delegate is asked).
    QApplication::setQuitOnLastWindowClosed(false);
    applyApplicationEnvironment();
    graph_.setNeedsUpdateHandler([this] { scheduleRefresh(); });
    menus_ = std::make_unique<CommandMenus>(applicationName());
    refresh();
}

ApplicationHost::~ApplicationHost() {
    graph_.setNeedsUpdateHandler({});
    for (SceneWindow* window : windows_) {
        window->removeEventFilter(watcher_.get());
        delete window;
    }
    if (Application::shared().host() == this) Application::shared().setHost(nullptr);
}

void ApplicationHost::scheduleRefresh() {
    if (refreshScheduled_) return;
    refreshScheduled_ = true;
    QMetaObject::invokeMethod(context_.get(), [this] { refresh(); }, Qt::QueuedConnection);
}

void ApplicationHost::schedulePhases() {
    if (phasesScheduled_ || terminated_) return;
    phasesScheduled_ = true;
    QMetaObject::invokeMethod(context_.get(), [this] { updatePhases(); }, Qt::QueuedConnection);
}

void ApplicationHost::refresh() {
    refreshScheduled_ = false;
    graph_.update();
    const auto& preferences = graph_.root().preferences();
    scenes_ = preferences.get<ui::ScenesKey>();
    phases_.resize(scenes_.size(), ScenePhase::background);
    for (SceneWindow* window : windows_) {
        if (window->sceneIndex() < scenes_.size()) window->hostingWindow().setRootView(contentOf(window->sceneIndex()));
    }
    menus_->update(standardItems(), preferences.get<ui::CommandGroupsKey>());
    const auto actions = menus_->actions();
    for (SceneWindow* window : windows_)
        for (QAction* action : actions) window->addAction(action);
}

void ApplicationHost::updateNow() {
    QCoreApplication::sendPostedEvents();
    if (refreshScheduled_ || graph_.needsUpdate()) refresh();
    if (phasesScheduled_) updatePhases();
}

ui::View ApplicationHost::contentOf(std::size_t sceneIndex) {
    return scenes_[sceneIndex]
        .windowContent()
        .environment<ui::ScenePhaseKey>(phases_[sceneIndex])
        .onPreferenceChange(ui::FocusedValuesKey{}, [this](const ui::FocusedValues&) { updateFocusedValues(); });
}

void ApplicationHost::applyApplicationEnvironment() {
    ui::EnvironmentValues environment;
    environment.set<ui::ScenePhaseKey>(applicationPhase_);
    environment.set<ui::FocusedSceneValuesKey>(focusedValues_);
    graph_.setEnvironment(std::move(environment));
}

void ApplicationHost::updateFocusedValues() {
    ui::FocusedValues values;
    for (SceneWindow* window : windows_) {
        if (!window->isActiveWindow()) continue;
        values = window->hostingWindow().graph().root().preferences().get<ui::FocusedValuesKey>();
        break;
    }
    if (values == focusedValues_) return;
    focusedValues_ = std::move(values);
    applyApplicationEnvironment(); // the commands update at the next refresh
}

ScenePhase ApplicationHost::scenePhase(std::size_t sceneIndex) const {
    return sceneIndex < phases_.size() ? phases_[sceneIndex] : ScenePhase::background;
}

std::vector<SceneWindow*> ApplicationHost::windows() const {
    return windows_;
}

std::optional<std::size_t> ApplicationHost::settingsScene() const {
    for (std::size_t i = 0; i < scenes_.size(); ++i)
        if (scenes_[i].kind == ui::SceneKind::settings) return i;
    return std::nullopt;
}

SceneWindow* ApplicationHost::settingsWindow() const {
    const auto scene = settingsScene();
    if (!scene) return nullptr;
    for (SceneWindow* window : windows_)
        if (window->sceneIndex() == *scene && !window->property("quorilClosed").toBool()) return window;
    return nullptr;
}

SceneWindow* ApplicationHost::makeWindow(std::size_t sceneIndex) {
    const auto& scene = scenes_[sceneIndex];
    auto* window = new SceneWindow(sceneIndex, scene, contentOf(sceneIndex), scene.kind == ui::SceneKind::windowGroup);
    if (window->menuBar()) {
        menus_->attach(window->menuBar());
        window->fitToContent();
    }
    for (QAction* action : menus_->actions()) window->addAction(action);
    window->installEventFilter(watcher_.get());
    windows_.push_back(window);
    return window;
}

void ApplicationHost::start() {
    if (started_ || terminated_) return;
    started_ = true;
    openWindow();
}

SceneWindow* ApplicationHost::openWindow(std::optional<std::size_t> sceneIndex) {
    if (terminated_) return nullptr;
    if (!sceneIndex) {
        for (std::size_t i = 0; i < scenes_.size() && !sceneIndex; ++i)
            if (scenes_[i].kind == ui::SceneKind::windowGroup) sceneIndex = i;
    }
    if (!sceneIndex || *sceneIndex >= scenes_.size() || scenes_[*sceneIndex].kind != ui::SceneKind::windowGroup)
        return nullptr;
    SceneWindow* window = makeWindow(*sceneIndex);
    const auto position = scenes_[*sceneIndex].defaultPosition;
    if (position) window->placeOnScreen(*position);
    window->show();
    if (position) window->placeOnScreen(*position); // again, now that the frame is known
    window->activateWindow();
    schedulePhases();
    return window;
}

SceneWindow* ApplicationHost::openSettings() {
    if (terminated_) return nullptr;
    const auto scene = settingsScene();
    if (!scene) return nullptr;
    SceneWindow* window = settingsWindow();
    if (!window) {
        window = makeWindow(*scene);
        window->placeOnScreen(scenes_[*scene].defaultPosition.value_or(ui::UnitPoint::center));
    }
    window->show();
    window->raise();
    window->activateWindow();
    schedulePhases();
    return window;
}

void ApplicationHost::updatePhases() {
    phasesScheduled_ = false;
    if (terminated_) return;
    bool closedAny = false;
    std::erase_if(windows_, [&](SceneWindow* window) {
        if (!window->property("quorilClosed").toBool()) return false;
        window->removeEventFilter(watcher_.get());
        window->hide();
        window->deleteLater();
        closedAny = true;
        return true;
    });

    std::vector<ScenePhase> phases;
    for (std::size_t i = 0; i < scenes_.size(); ++i) {
        std::vector<WindowPresence> presence;
        for (SceneWindow* window : windows_) {
            if (window->sceneIndex() != i) continue;
            presence.push_back({window->isVisible(), window->isMinimized(), window->isActiveWindow()});
        }
        phases.push_back(desktop::scenePhase(presence));
    }
    if (phases != phases_) {
        const auto before = std::exchange(phases_, phases);
        for (SceneWindow* window : windows_) {
            const auto i = window->sceneIndex();
            if (i >= before.size() || before[i] == phases_[i]) continue;
            window->hostingWindow().setRootView(contentOf(i));
            window->hostingWindow().updateNow();
        }
    }
    setApplicationPhase(desktop::applicationPhase(phases_));
    updateFocusedValues();

    if (closedAny && windows_.empty()) {
        auto& application = Application::shared();
        const auto delegate = application.delegate();
        if (!delegate || delegate->applicationShouldTerminateAfterLastWindowClosed(application)) terminate();
    }
}

void ApplicationHost::setApplicationPhase(ScenePhase phase) {
    if (phase == applicationPhase_) return;
    applicationPhase_ = phase;
    applyApplicationEnvironment();
    // At once: handlers of the phase run before anything else happens.
    refresh();
}

void ApplicationHost::terminate() {
    if (terminated_) return;
    terminated_ = true;
    // Editing ends first, so what is being typed reaches its owner before the background phase
    // (and whatever saves at it) comes.
    for (SceneWindow* window : windows_)
        ui::EventDispatcher(window->hostingWindow().graph()).focus(nullptr);
    std::fill(phases_.begin(), phases_.end(), ScenePhase::background);
    setApplicationPhase(ScenePhase::background);
    for (SceneWindow* window : windows_) {
        window->removeEventFilter(watcher_.get());
        window->close();
        window->deleteLater();
    }
    windows_.clear();
    QCoreApplication::quit();
}

int ApplicationHost::exec() {
    int code = 0;
    if (!terminated_) code = QApplication::exec();
    terminate();
    return code;
}

CommandMenus::StandardItems ApplicationHost::standardItems() {
    using P = ui::CommandGroupPlacement;
    const std::string name = applicationName();
    CommandMenus::StandardItems items;
    items[P::appInfo] = {{"About " + name, std::nullopt, true, [] {
                              Application::shared().orderFrontStandardAboutPanel();
                          }}};
    if (settingsScene()) items[P::appSettings] = {{"Settings…", command(U','), true, [this] { openSettings(); }}};
    items[P::appTermination] = {{"Quit " + name, command(U'q'), true, [this] { terminate(); }}};
    items[P::newItem] = {{"New Window", command(U'n'), true, [this] { openWindow(); }}};
    // A text editor with the focus undoes its typing; elsewhere the window's undo manager acts.
    auto undoRedo = [this](bool redo) {
        return [this, redo] {
            if (QWidget* focus = QApplication::focusWidget(); focus && isTextEditor(focus)) {
                QMetaObject::invokeMethod(focus, redo ? "redo" : "undo");
                return;
            }
            SceneWindow* target = windows_.empty() ? nullptr : windows_.front();
            for (SceneWindow* window : windows_) {
                if (window->isActiveWindow()) target = window;
            }
            if (!target) return;
            if (auto manager = target->hostingWindow().undoManager()) redo ? manager->redo() : manager->undo();
        };
    };
    items[P::undoRedo] = {{"Undo", command(U'z'), true, undoRedo(false)},
                          {"Redo", command(U'z', ui::EventModifiers::shift), true, undoRedo(true)}};
    items[P::pasteboard] = {{"Cut", command(U'x'), true, toFocus("cut")},
                            {"Copy", command(U'c'), true, toFocus("copy")},
                            {"Paste", command(U'v'), true, toFocus("paste")},
                            {"Delete", std::nullopt, true, toFocus("del")},
                            {"Select All", command(U'a'), true, toFocus("selectAll")}};
    auto activeWindow = [this]() -> SceneWindow* {
        for (SceneWindow* window : windows_)
            if (window->isActiveWindow()) return window;
        return nullptr;
    };
    items[P::windowSize] = {{"Minimize", command(U'm'), true,
                             [activeWindow] {
                                 if (auto* window = activeWindow()) window->showMinimized();
                             }},
                            {"Zoom", std::nullopt, true, [activeWindow] {
                                 auto* window = activeWindow();
                                 if (!window) return;
                                 window->isMaximized() ? window->showNormal() : window->showMaximized();
                             }}};
    items[P::windowArrangement] = {{"Bring All to Front", std::nullopt, true, [this] {
                                        for (SceneWindow* window : windows_) window->raise();
                                    }}};
    return items;
}

} // namespace desktop
