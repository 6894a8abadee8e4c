#pragma once

#include <vector>

#include <QKeySequence>
#include <QList>

namespace kestrel {

// The main window's menu bar: each menu's title and its commands with their string-table texts,
// in menu order; an item with id kMenuSeparator is a separator line.
inline constexpr int kMenuSeparator = 0;

struct MenuItem
{
    int id;
    int textId;
};

struct MenuDef
{
    int titleId;
    std::vector<MenuItem> items;
};

const std::vector<MenuDef>& mainMenus();

// The accelerators (Ctrl+A, Delete, Ctrl+Delete, F7, Insert, Shift+F1) on the menu commands they
// stand for, the desktop's standard keys of Cut, Copy, Paste, Undo and Redo (Ctrl+X, Ctrl+C,
// Ctrl+V, Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y, and the others Qt knows for the platform), and F1 and
// Ctrl+F1 on actions of their own; empty for every other command. The first is the one the menus
// show.
QList<QKeySequence> acceleratorsOf(int id);
QKeySequence acceleratorOf(int id);

// The keys of an editor list's own commands (its ids 2053-2065): the same keys as the main
// window's commands that are forwarded as them; empty for every other command.
QList<QKeySequence> editorKeysOf(int editorCommand);

} // namespace kestrel
