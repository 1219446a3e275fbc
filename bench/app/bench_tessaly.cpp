#include "bench/app/bench_tessaly.h"

#include <shlobj.h>

#include <cstdio>

namespace bench {

namespace {

bool WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  return std::fclose(f) == 0;
}

}  // namespace

std::string SettingsFolder() {
  char folder[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  std::string maker = std::string(folder) + "\\Brindle-Works";
  CreateDirectoryA(maker.c_str(), nullptr);
  CreateDirectoryA((maker + "\\Tessaly").c_str(), nullptr);
  return maker + "\\Tessaly";
}

bool WriteSettings(bool autoCapture, bool lock) {
  return WriteBytes(SettingsFolder() + "\\Tessaly.ini",
                    "[General]\r\nResolution_AutoCapture=" + std::string(autoCapture ? "true" : "false") +
                        "\r\nLock_Icons=" + (lock ? "true" : "false") + "\r\n");
}

bool WriteLayout(const std::string& path, const std::vector<testsupport::DesktopIcon>& icons) {
  std::string text = "[QVD-Fomat]\r\nVersion=0.01\r\n[QVD-Data]\r\nIconCount=" + std::to_string(icons.size()) + "\r\n";
  for (size_t i = 0; i < icons.size(); ++i) {
    std::string n = std::to_string(i);
    text += "IconName_" + n + "=" + icons[i].name + "\r\nIconPosX_" + n + "=" + std::to_string(icons[i].x) +
            "\r\nIconPosY_" + n + "=" + std::to_string(icons[i].y) + "\r\n";
  }
  return WriteBytes(path, text);
}

std::string CurrentLayoutFile() {
  return SettingsFolder() + "\\default." + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
         std::to_string(GetSystemMetrics(SM_CYSCREEN)) + ".qvd";
}

bool TessalyProcess::Start(const std::string& program) {
  std::string command = "\"" + (program.empty() ? testsupport::DeliverablePath("Tessaly.exe") : program) + "\"";
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  processId_ = pi.dwProcessId;
  for (int waited = 0; waited < 30000 && !window_; waited += 50) {
    window_ = FindWindowA("CID_TESSALY", "Pavane");
    Sleep(50);
  }
  return window_ != nullptr;
}

TessalyProcess::~TessalyProcess() {
  if (!process_) return;
  if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_, 30000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
  CloseHandle(process_);
}

}  // namespace bench
