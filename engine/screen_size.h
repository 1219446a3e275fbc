// The size of the primary screen, as the engine sees it.  The Windows build
// asks Windows (SM_CXSCREEN, SM_CYSCREEN); the portable build has no screen
// and reports 1024 x 768.  Tests in either build may choose the size.
#pragma once

struct ScreenSize {
  int width = 0;   // pixels
  int height = 0;  // pixels
};

// The primary screen's size, read anew on every call (width first, then
// height), or the size chosen with OverrideScreenSize.
ScreenSize GetScreenSize();

// Makes GetScreenSize report `size` until it is called again; null returns to
// the platform's answer.  For tests: the program never calls it.
void OverrideScreenSize(const ScreenSize* size);
