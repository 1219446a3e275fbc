#include "tests/support/test_desktop_client.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace testsupport {

bool operator==(const DesktopIcon& a, const DesktopIcon& b) {
  return a.name == b.name && a.x == b.x && a.y == b.y;
}

std::string ToString(const std::vector<DesktopIcon>& icons) {
  std::ostringstream out;
  for (const DesktopIcon& icon : icons) out << "  " << icon.name << " @ (" << icon.x << ", " << icon.y << ")\n";
  return out.str();
}

std::vector<DesktopIcon> GridIcons(int count, const std::string& prefix, int perRow, int step, int left, int top) {
  std::vector<DesktopIcon> icons;
  for (int i = 0; i < count; ++i) {
    icons.push_back({prefix + std::to_string(i), left + (i % perRow) * step, top + (i / perRow) * step});
  }
  return icons;
}

std::string ProgramBesideMe(const char* fileName) {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  size_t slash = dir.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : dir.substr(0, slash + 1)) + fileName;
}

std::string DeliverablePath(const char* fileName) {
  return ProgramBesideMe("..\\Tessaly\\") + fileName;
}

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  std::fclose(f);
  return bytes;
}

std::string TempFileName(const char* tag) {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  char name[MAX_PATH] = {};
  GetTempFileNameA(dir, tag, 0, name);
  return name;
}

namespace {

struct FindControl {
  DWORD processId;
  const char* className;
  HWND found;
};

BOOL CALLBACK FindControlOfProcess(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<FindControl*>(lParam);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search->processId && lstrcmpA(cls, search->className) == 0) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

DesktopProcess::~DesktopProcess() { Quit(); }

bool DesktopProcess::Launch(const std::string& arguments) {
  Quit();
  std::string command = "\"" + ProgramBesideMe(program_) + "\"" + (arguments.empty() ? "" : " ") + arguments;
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  processId_ = pi.dwProcessId;

  for (int waited = 0; waited < 30000; waited += 20) {
    FindControl search = {processId_, controlClass_, nullptr};
    EnumWindows(FindControlOfProcess, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      control_ = search.found;
      return true;
    }
    if (WaitForSingleObject(process_, 20) == WAIT_OBJECT_0) break;
  }
  Kill();
  return false;
}

bool DesktopProcess::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

void DesktopProcess::Quit() {
  if (!process_) return;
  if (Running() && control_) Command("quit");
  if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 10000);
  CloseHandle(process_);
  process_ = nullptr;
  processId_ = 0;
  control_ = nullptr;
}

void DesktopProcess::Kill() {
  if (process_) TerminateProcess(process_, 1);
  Quit();
}

HWND DesktopProcess::FindView() {
  HWND progman = FindWindowA("Progman", "Program Manager");
  HWND defView = FindWindowExA(progman, nullptr, "SHELLDLL_DefView", nullptr);
  return FindWindowExA(defView, nullptr, "SysListView32", nullptr);
}

HWND TestDesktop::View() {
  std::string reply;
  if (!Command("view", &reply)) return nullptr;
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(reply.c_str(), nullptr, 10)));
}

bool DesktopProcess::Command(const std::string& line, std::string* reply) {
  if (!control_) return false;
  std::string replyFile = reply ? TempFileName("tdr") : std::string();
  std::string text = replyFile + "\n" + line;
  COPYDATASTRUCT data = {};
  data.dwData = 1;
  data.cbData = static_cast<DWORD>(text.size() + 1);
  data.lpData = &text[0];
  DWORD_PTR result = 0;
  bool sent = SendMessageTimeoutA(control_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 20000,
                                  &result) != 0;
  if (reply) {
    *reply = ReadBytes(replyFile);
    DeleteFileA(replyFile.c_str());
  }
  return sent && result == 1;
}

TestDesktop::~TestDesktop() { Quit(); }

bool TestDesktop::Start(const std::vector<DesktopIcon>& icons, DesktopHost host) {
  Quit();
  iconFile_ = TempFileName("tdi");
  FILE* f = std::fopen(iconFile_.c_str(), "wb");
  if (!f) return false;
  for (const DesktopIcon& icon : icons) std::fprintf(f, "%s\t%d\t%d\n", icon.name.c_str(), icon.x, icon.y);
  std::fclose(f);
  return Launch("--icons \"" + iconFile_ + "\"" + (host == DesktopHost::kWorkerW ? " --host workerw" : ""));
}

void TestDesktop::Quit() {
  DesktopProcess::Quit();
  if (!iconFile_.empty()) DeleteFileA(iconFile_.c_str());
  iconFile_.clear();
}

void TestDesktop::Kill() {
  DesktopProcess::Kill();
  Quit();
}

std::vector<DesktopIcon> DesktopProcess::Icons() {
  std::vector<DesktopIcon> icons;
  std::string reply;
  if (!Command("dump", &reply)) return icons;
  std::istringstream in(reply);
  std::string line;
  std::getline(in, line);  // "count N"
  while (std::getline(in, line)) {
    size_t t1 = line.find('\t');
    size_t t2 = line.find('\t', t1 + 1);
    size_t t3 = line.rfind('\t');
    if (t1 == std::string::npos || t2 == std::string::npos || t3 <= t2) continue;
    // The name may itself hold no TAB: it lies between the first and the second-to-last TAB.
    size_t nameEnd = line.rfind('\t', t3 - 1);
    icons.push_back({line.substr(t1 + 1, nameEnd - t1 - 1), std::atoi(line.c_str() + nameEnd + 1),
                     std::atoi(line.c_str() + t3 + 1)});
  }
  return icons;
}

bool DesktopProcess::Move(int index, int x, int y) {
  return Command("move " + std::to_string(index) + " " + std::to_string(x) + " " + std::to_string(y));
}

bool TestDesktop::Add(const std::string& name, int x, int y) {
  return Command("add " + std::to_string(x) + " " + std::to_string(y) + " " + name);
}

bool TestDesktop::Remove(int index) { return Command("remove " + std::to_string(index)); }

bool TestDesktop::Rename(int index, const std::string& name) {
  return Command("rename " + std::to_string(index) + " " + name);
}

long TestDesktop::Count(const std::string& what) {
  std::string reply;
  if (!Command("count " + what, &reply)) return -1;
  return std::atol(reply.c_str());
}

bool TestDesktop::ResetCounts() { return Command("resetcounts"); }

void WaitForQuietDesktop(TestDesktop& desktop, int quietMs, int timeoutMs) {
  auto total = [&] {
    return desktop.Count("getitemcount") + desktop.Count("getitemtext") + desktop.Count("getitemposition") +
           desktop.Count("setitemposition");
  };
  long last = total();
  int quietFor = 0;
  for (int waited = 0; waited < timeoutMs && quietFor < quietMs; waited += 100) {
    Sleep(100);
    long now = total();
    quietFor = now == last ? quietFor + 100 : 0;
    last = now;
  }
}

bool ChangeResolution(int width, int height) {
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = width;
  mode.dmPelsHeight = height;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  return ChangeDisplaySettingsA(&mode, 0) == DISP_CHANGE_SUCCESSFUL;
}

}  // namespace testsupport
