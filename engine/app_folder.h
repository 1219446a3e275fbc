// The program's folder under the per-user application-data folder,
// <app data>\Brindle-Works\Tessaly: it holds the settings file Tessaly.ini
// and the per-resolution layout files.  Stored files are found by these
// names: changing one loses every user's settings and layouts.
#pragma once

inline constexpr const char kMakerFolder[] = "Brindle-Works";
inline constexpr const char kProductFolder[] = "Tessaly";
