// Starting Tessaly at log-on (Windows only): a shortcut "Tessaly.lnk" in the
// user's Startup folder to the running Tessaly.exe, with its folder as the
// working folder.  Nothing goes to the registry.  A shortcut of that name
// that leads to another Tessaly.exe (the program was moved, or another copy
// made it) is not ours to change.
#pragma once

// True when the Startup folder holds a Tessaly.lnk that leads to this
// Tessaly.exe.
bool StartsAtLogOn();

// Makes the shortcut (replacing one of that name), or, with `start` false,
// removes it when it leads to this Tessaly.exe.  True when the Startup folder
// is then as asked.
bool SetStartAtLogOn(bool start);
