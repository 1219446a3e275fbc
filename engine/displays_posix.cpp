#include "engine/displays.h"

// There is no screen to ask: one monitor of a common desktop size stands in.
DisplaySetup QueryDisplaySetup() { return SingleMonitorSetup({1024, 768}); }
