// Where the shell keeps its desktop icon view.  The engine and the hook
// library, which links nothing of the engine, both find it with this one
// lookup (shell_view_window_win.cpp, Windows only).
#pragma once

// The desktop icon view of the running shell (an HWND), or null: the
// "SysListView32" in the "SHELLDLL_DefView" that the "Progman" window titled
// "Program Manager" holds, or, when Progman holds none, the one in the first
// top-level "WorkerW" window that holds a "SHELLDLL_DefView" (the shell moves
// its view there for a wallpaper slideshow, and some builds always do).
void* FindShellListView();
