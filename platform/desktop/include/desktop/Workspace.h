#pragma once

#include "foundation/NotificationCenter.h"

#include <memory>
#include <string_view>

namespace desktop {

// Posted when a program that announces itself starts after the workspace was created, and when
// one ends, also when it was killed. The user info holds a RunningApplication under
// NSWorkspaceApplicationKey; the object is the workspace.
inline constexpr std::string_view NSWorkspaceDidLaunchApplicationNotification =
    "NSWorkspaceDidLaunchApplicationNotification";
inline constexpr std::string_view NSWorkspaceDidTerminateApplicationNotification =
    "NSWorkspaceDidTerminateApplicationNotification";
inline constexpr std::string_view NSWorkspaceApplicationKey = "NSWorkspaceApplicationKey";

// The running programs of the session, from the announcements every program built with this
// layer makes under $XDG_RUNTIME_DIR. Its notifications are posted on the main queue. Without
// $XDG_RUNTIME_DIR nothing is announced and nothing is posted.
class Workspace {
public:
    // Created on first use, when it starts watching; programs running by then get no launch.
    static Workspace& sharedWorkspace();

    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    foundation::NotificationCenter& notificationCenter() { return center_; }

    struct Watcher;

private:
    Workspace();

    foundation::NotificationCenter center_;
    // The object of the notifications: identifies this workspace, owns nothing.
    std::shared_ptr<const void> identity_;
    std::unique_ptr<Watcher> watcher_;
};

} // namespace desktop
