#pragma once

#include <QIcon>

// Small pictures for the standard toolbar, drawn by the program so they look
// the same on every desktop, themed or not.
namespace ToolbarIcons {
QIcon print();
QIcon cut();
QIcon copy();
QIcon paste();
QIcon contextHelp();
QIcon dataExplorer();
} // namespace ToolbarIcons
