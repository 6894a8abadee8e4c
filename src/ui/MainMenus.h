#pragma once

#include <vector>

#include <QKeySequence>

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
// stand for, and F1 and Ctrl+F1 on actions of their own; empty for every other command.
QKeySequence acceleratorOf(int id);

} // namespace kestrel
