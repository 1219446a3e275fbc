// The "default" layout of the display setup in force.  Every setup has a file
// of its own (SetupTag); one seen for the first time is served by what the
// program kept for others:
//
//  1. the setup's own "default" file;
//  2. with several monitors, the file that earlier versions kept for the
//     whole desktop's size alone ("default.2944x1080.qvd");
//  3. of the other "default" files beside it, the one whose monitors the
//     setup shares most of (ties: the one that shares most monitors of the
//     same size, then the one of fewest monitors): the icons of the shared
//     monitors.
//
// A file that holds no layout (HoldsNoLayout) serves no setup.  The layout
// comes placed on the setup (PlaceOnMonitors).
#pragma once

#include <string>

#include "app/app_host.h"
#include "engine/icon_layout.h"

// The setup's layout, placed on it; false when no file serves it.  `path`,
// when given, receives the file's path.
bool LoadDefaultLayout(AppHost& host, IconLayout& layout, std::string* path = nullptr);
