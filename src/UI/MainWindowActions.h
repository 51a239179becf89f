#pragma once

#include <cstdint>

namespace Ui {

// The main window's actions as data: object name, text, shortcut, status tip, tool tip,
// initial state, and the operation id or view name the action is mapped to (0 / null when it
// is connected to a slot of the window, or to nothing).
enum class ActionKind { Plain, Checked, Unchecked, Disabled };

struct ActionSpec {
    const char *objectName;
    const char *text;
    const char *shortcut;
    const char *statusTip;
    const char *toolTip;
    ActionKind kind;
    uint32_t operationId;
    const char *view;
};

extern const ActionSpec kMainWindowActions[];
extern const int kMainWindowActionCount;

// Menus in menu-bar order; each item is an action's object name, or null for a separator.
struct MenuSpec {
    const char *objectName;
    const char *title;
    const char *const *items;
};

extern const MenuSpec kMainWindowMenus[];
extern const int kMainWindowMenuCount;

} // namespace Ui
