#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <vector>

#include "engine/displays.h"

namespace {

// GetDpiForMonitor of shcore.dll (Windows 8.1 and later), looked up once.
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

GetDpiForMonitorFunction DpiForMonitor() {
  static const GetDpiForMonitorFunction function = [] {
    HMODULE shcore = LoadLibraryA("shcore.dll");
    return shcore ? reinterpret_cast<GetDpiForMonitorFunction>(
                        reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  return function;
}

// The system's scale, which the primary monitor has: where the system cannot
// tell a monitor's own.
int SystemDpi() {
  int dpi = kPlainDpi;
  if (HDC screen = GetDC(nullptr)) {
    const int asked = GetDeviceCaps(screen, LOGPIXELSX);
    if (asked > 0) dpi = asked;
    ReleaseDC(nullptr, screen);
  }
  return dpi;
}

std::string Utf8Of(const wchar_t* text) {
  char bytes[512];
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  return length > 0 ? std::string(bytes) : std::string();
}

// Who each monitor is, by the GDI name of the display that shows it
// ("\\.\DISPLAY1"): the target of its path in the display configuration.
struct Identity {
  std::string device;  // "\\.\DISPLAY1"
  std::string id;
};

std::vector<Identity> MonitorIdentities() {
  std::vector<Identity> identities;
  UINT32 pathCount = 0;
  UINT32 modeCount = 0;
  std::vector<DISPLAYCONFIG_PATH_INFO> paths;
  std::vector<DISPLAYCONFIG_MODE_INFO> modes;
  LONG result = ERROR_INSUFFICIENT_BUFFER;
  // The configuration may change between the two calls: ask again.
  for (int attempt = 0; attempt < 3 && result == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
    if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS) return identities;
    paths.resize(pathCount);
    modes.resize(modeCount);
    result = QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount, modes.data(), nullptr);
  }
  if (result != ERROR_SUCCESS) return identities;
  for (UINT32 i = 0; i < pathCount; ++i) {
    DISPLAYCONFIG_SOURCE_DEVICE_NAME source = {};
    source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
    source.header.size = sizeof source;
    source.header.adapterId = paths[i].sourceInfo.adapterId;
    source.header.id = paths[i].sourceInfo.id;
    DISPLAYCONFIG_TARGET_DEVICE_NAME target = {};
    target.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME;
    target.header.size = sizeof target;
    target.header.adapterId = paths[i].targetInfo.adapterId;
    target.header.id = paths[i].targetInfo.id;
    if (DisplayConfigGetDeviceInfo(&source.header) != ERROR_SUCCESS ||
        DisplayConfigGetDeviceInfo(&target.header) != ERROR_SUCCESS || target.monitorDevicePath[0] == L'\0') {
      continue;
    }
    std::string id = Utf8Of(target.monitorDevicePath);
    if (target.flags.edidIdsValid) {
      char edid[32];
      std::snprintf(edid, sizeof edid, " EDID %04X:%04X", target.edidManufactureId, target.edidProductCodeId);
      id += edid;
    }
    identities.push_back({Utf8Of(source.viewGdiDeviceName), id});
  }
  return identities;
}

struct Enumeration {
  std::vector<Monitor> monitors;
};

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM context) {
  auto* enumeration = reinterpret_cast<Enumeration*>(context);
  MONITORINFOEXA info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(handle, &info)) return TRUE;
  Monitor monitor;
  monitor.id = info.szDevice;  // until the configuration names it
  monitor.left = info.rcMonitor.left;
  monitor.top = info.rcMonitor.top;
  monitor.width = info.rcMonitor.right - info.rcMonitor.left;
  monitor.height = info.rcMonitor.bottom - info.rcMonitor.top;
  monitor.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
  UINT dpiX = 0;
  UINT dpiY = 0;
  const GetDpiForMonitorFunction dpiFor = DpiForMonitor();
  monitor.dpi = dpiFor && SUCCEEDED(dpiFor(handle, kEffectiveDpi, &dpiX, &dpiY)) && dpiX > 0
                    ? static_cast<int>(dpiX)
                    : SystemDpi();
  enumeration->monitors.push_back(monitor);
  return TRUE;
}

}  // namespace

// In physical pixels: the program's manifest declares it DPI-aware.
DisplaySetup QueryDisplaySetup() {
  Enumeration enumeration;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&enumeration));
  DisplaySetup setup;
  if (enumeration.monitors.empty()) {
    // No monitor to enumerate (a session without one): the screen's metrics.
    return SingleMonitorSetup({GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), SystemDpi()});
  }
  const std::vector<Identity> identities = MonitorIdentities();
  int left = INT_MAX;
  int top = INT_MAX;
  for (const Monitor& monitor : enumeration.monitors) {
    left = std::min(left, monitor.left);
    top = std::min(top, monitor.top);
  }
  for (Monitor& monitor : enumeration.monitors) {
    for (const Identity& identity : identities) {
      if (identity.device == monitor.id) monitor.id = identity.id;
    }
    // The desktop's coordinates start at the top-left corner of all monitors.
    monitor.left -= left;
    monitor.top -= top;
  }
  setup.monitors = std::move(enumeration.monitors);
  std::sort(setup.monitors.begin(), setup.monitors.end(), [](const Monitor& a, const Monitor& b) {
    return a.left != b.left ? a.left < b.left : a.top < b.top;
  });
  return setup;
}
