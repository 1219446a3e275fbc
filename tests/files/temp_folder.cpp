#include "tests/files/temp_folder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "framework/files/strings.h"

namespace testfiles {

namespace {

namespace fs = std::filesystem;

// The program writes paths with backslashes; outside Windows the system
// wants slashes.  Test paths are ASCII, so no two-byte rule is needed here.
constexpr bool kSlashSystem = fs::path::preferred_separator == '/';

// Two-byte characters whose second byte is 0x5C keep it (strings.h).
std::string ToNative(std::string path) {
  if (kSlashSystem) ReplaceChar(&path[0], '\\', '/');
  return path;
}

std::string ToProgram(std::string path) {
  if (kSlashSystem)
    for (char& c : path)
      if (c == '/') c = '\\';
  return path;
}

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::ostringstream name;
  name << "tessaly-test-" << stamp << "-" << counter++;
  fs::path folder = fs::temp_directory_path() / name.str();
  fs::create_directories(folder);
  nativePath = folder.string();
  path = ToProgram(nativePath);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(nativePath, ignored);
}

std::string TempFolder::operator/(const std::string& name) const { return path + "\\" + name; }

std::string TempFolder::NativePath(const std::string& p) { return ToNative(p); }

std::string ReadBytes(const std::string& path) {
  std::ifstream in(ToNative(path), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(ToNative(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool Exists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(ToNative(path), ignored);
}

void RemoveFile(const std::string& path) {
  std::error_code ignored;
  fs::remove(ToNative(path), ignored);
}

}  // namespace testfiles
