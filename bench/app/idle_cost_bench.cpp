// What Tessaly costs while nothing happens, with the automatic save off and
// on, and with the lock on (the automatic save off): on, it reads the user's
// input every second and watches the Desktop folders, and looks at the
// desktop only after a sign.  Run under Wine in a prefix of its own:
//
//   scripts/wine-run-fresh.sh --template build/windows/wineprefix-e2e-template
//       --prefix build/windows/wineprefix-bench build/windows/bin/app_idle_bench.exe [--seconds S] [--icons N ...]
//       [--baseline OTHER\Tessaly.exe]
//
// For 100 and 1000 icons (or those given), prints the CPU time per minute of
// Tessaly, of the desktop's process and of the wineserver, which carries
// every cross-process call, over S seconds (default 30) of an idle desktop,
// and how many looks Tessaly took (the item counts the desktop was asked).
// With --baseline, another build of Tessaly.exe (with its sorrel_x64.dll
// beside it) runs each case too, right after this one, for a comparison
// within one run.  Wine reports no CPU times of other
// processes, so they are read from Linux's /proc through Wine's Z: drive.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/app/bench_tessaly.h"
#include "tests/support/test_desktop_client.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Linux processes of this Wine prefix whose command line contains `needle`
// (other prefixes may run beside this one).
std::vector<std::string> UnixPids(const std::string& needle) {
  char prefix[1024] = {};
  GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
  const std::string ownPrefix = std::string("WINEPREFIX=") + prefix + '\0';
  std::vector<std::string> pids;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return pids;
  do {
    const std::string name = entry.cFileName;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string folder = "Z:\\proc\\" + name;
    if (ReadAll(folder + "\\cmdline").find(needle) == std::string::npos) continue;
    if (ReadAll(folder + "\\environ").find(ownPrefix) == std::string::npos) continue;
    pids.push_back(name);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return pids;
}

// User plus system time of the processes, in clock ticks of 10 ms.
long long CpuTicks(const std::vector<std::string>& pids) {
  long long total = 0;
  for (const std::string& pid : pids) {
    const std::string text = ReadAll("Z:\\proc\\" + pid + "\\stat");
    // The fields after the command's closing parenthesis: utime and stime are
    // the 12th and 13th of them.
    std::istringstream fields(text.substr(text.rfind(')') + 1));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 1; i <= 13 && fields >> field; ++i) {
      if (i == 12) utime = std::atoll(field.c_str());
      if (i == 13) stime = std::atoll(field.c_str());
    }
    total += utime + stime;
  }
  return total;
}

struct Result {
  bool ok = false;
  double tessaly = 0;  // CPU ms per minute
  double desktop = 0;
  double server = 0;
  long looks = 0;
};

// What runs: nothing, the automatic save, the lock.
enum class Mode { kOff, kAutoCapture, kLock };

Result Run(const std::string& program, int iconCount, Mode mode, int seconds) {
  Result result;
  if (!bench::WriteSettings(mode == Mode::kAutoCapture, mode == Mode::kLock)) return result;
  testsupport::TestDesktop desktop;
  if (!desktop.Start(testsupport::GridIcons(iconCount, "icon", 40, 60, 10, 10))) return result;
  bench::TessalyProcess tessaly;
  if (!tessaly.Start(program)) return result;
  Sleep(3000);  // start-up and the first snapshot
  const std::vector<std::string> tessalyPids = UnixPids("Tessaly.exe");
  const std::vector<std::string> desktopPids = UnixPids("test_desktop.exe");
  const std::vector<std::string> serverPids = UnixPids("wineserver");
  if (tessalyPids.empty() || desktopPids.empty()) return result;
  desktop.ResetCounts();
  const long long t0 = CpuTicks(tessalyPids), d0 = CpuTicks(desktopPids), s0 = CpuTicks(serverPids);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  const double perMinute = 10.0 * 60.0 / seconds;  // 10 ms ticks over `seconds`, scaled to a minute
  result.tessaly = (CpuTicks(tessalyPids) - t0) * perMinute;
  result.desktop = (CpuTicks(desktopPids) - d0) * perMinute;
  result.server = (CpuTicks(serverPids) - s0) * perMinute;
  result.looks = desktop.Count("getitemcount");
  result.ok = true;
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = 30;
  std::vector<int> sizes;
  std::string baseline;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--seconds" && i + 1 < argc) seconds = std::atoi(argv[++i]);
    if (arg == "--baseline" && i + 1 < argc) baseline = argv[++i];
    if (arg == "--icons") {
      while (i + 1 < argc && argv[i + 1][0] != '-') sizes.push_back(std::atoi(argv[++i]));
    }
  }
  if (sizes.empty()) sizes = {100, 1000};
  if (seconds < 5) seconds = 5;
  std::printf("idle cost over %d s, CPU ms per minute (Tessaly / desktop / wineserver), looks at the desktop\n",
              seconds);
  std::vector<std::string> programs = {""};  // this build's
  if (!baseline.empty()) programs.push_back(baseline);
  bool ok = true;
  for (int icons : sizes) {
    for (Mode mode : {Mode::kOff, Mode::kAutoCapture, Mode::kLock}) {
      for (const std::string& program : programs) {
        Result r = Run(program, icons, mode, seconds);
        ok = ok && r.ok;
        const char* what = mode == Mode::kOff ? "all off" : mode == Mode::kAutoCapture ? "automatic save" : "lock";
        std::printf("  %-8s %5d icons, %-14s: %7.0f / %7.0f / %7.0f ms, %ld looks%s\n",
                    program.empty() ? "this" : "baseline", icons, what, r.tessaly, r.desktop, r.server,
                    r.looks, r.ok ? "" : " (run failed)");
      }
    }
  }
  return ok ? 0 : 1;
}
