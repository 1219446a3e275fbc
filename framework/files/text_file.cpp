#include "framework/files/text_file.h"

#include <cstdarg>
#include <string>
#include <vector>

#include "framework/files/text_file_backend.h"

namespace {

// Character access for the two widths, so that the line-end conversion below
// is written once.
struct Narrow {
  using Char = char;
  using Int = int;
  static constexpr Int kEnd = EOF;
  static Int Get(FILE* f) { return std::getc(f); }
  static void Unget(Int c, FILE* f) { std::ungetc(c, f); }
  static Int Put(Char c, FILE* f) { return std::putc(c, f); }
};

struct Wide {
  using Char = wchar_t;
  using Int = std::wint_t;
  static constexpr Int kEnd = WEOF;
  static Int Get(FILE* f) { return std::getwc(f); }
  static void Unget(Int c, FILE* f) { std::ungetwc(c, f); }
  static Int Put(Char c, FILE* f) { return std::putwc(c, f); }
};

// Reads one character of a text-mode stream: CR LF gives LF, and a Ctrl-Z
// (0x1A) ends the text as the end of the file does (it is put back, so every
// later read stops there as well).
template <class T>
typename T::Int GetTextChar(FILE* f) {
  typename T::Int c = T::Get(f);
  if (c == static_cast<typename T::Int>(0x1A)) {
    T::Unget(c, f);
    return T::kEnd;
  }
  if (c == static_cast<typename T::Int>('\r')) {
    typename T::Int next = T::Get(f);
    if (next == static_cast<typename T::Int>('\n')) return next;
    if (next != T::kEnd) T::Unget(next, f);
  }
  return c;
}

template <class T>
typename T::Char* GetTextLine(FILE* f, typename T::Char* buffer, int size) {
  if (size <= 0) return nullptr;
  int count = 0;
  while (count < size - 1) {
    typename T::Int c = GetTextChar<T>(f);
    if (c == T::kEnd) break;
    buffer[count++] = static_cast<typename T::Char>(c);
    if (c == static_cast<typename T::Int>('\n')) break;
  }
  if (count == 0) return nullptr;
  buffer[count] = 0;
  return buffer;
}

// Writes `count` characters, each LF as CR LF; false on a write error.
template <class T>
bool PutText(FILE* f, const typename T::Char* text, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (text[i] == '\n' && T::Put('\r', f) == T::kEnd) return false;
    if (T::Put(text[i], f) == T::kEnd) return false;
  }
  return true;
}

// fread of a text-mode stream: bytes with CR LF read as LF, whole items only.
size_t ReadText(FILE* f, void* data, size_t size, size_t count) {
  if (size == 0 || count == 0) return 0;
  unsigned char* out = static_cast<unsigned char*>(data);
  size_t total = size * count;
  size_t got = 0;
  while (got < total) {
    int c = GetTextChar<Narrow>(f);
    if (c == EOF) break;
    out[got++] = static_cast<unsigned char>(c);
  }
  return got / size;
}

size_t WriteText(FILE* f, const void* data, size_t size, size_t count) {
  if (size == 0 || count == 0) return 0;
  const char* bytes = static_cast<const char*>(data);
  for (size_t item = 0; item < count; ++item) {
    if (!PutText<Narrow>(f, bytes + item * size, size)) return item;
  }
  return count;
}

int FormatTo(std::string& out, const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length < 0) return length;
  out.resize(static_cast<size_t>(length) + 1);
  std::vsnprintf(&out[0], out.size(), format, args);
  out.resize(static_cast<size_t>(length));
  return length;
}

int FormatTo(std::wstring& out, const wchar_t* format, va_list args) {
  // vswprintf cannot measure; grow until the text fits.
  for (size_t capacity = 256; capacity <= (1u << 24); capacity *= 4) {
    std::vector<wchar_t> buffer(capacity);
    va_list copy;
    va_copy(copy, args);
    int length = std::vswprintf(buffer.data(), capacity, format, copy);
    va_end(copy);
    if (length >= 0) {
      out.assign(buffer.data(), static_cast<size_t>(length));
      return length;
    }
  }
  return -1;
}

}  // namespace

// ---- CTextFile

FILE* CTextFile::Open(const char* name, const char* mode) {
  stream = textfile::OpenShared(name, mode);
  translate = stream != nullptr && textfile::NeedsLineEndTranslation(mode);
  return stream;
}

void CTextFile::Attach(FILE* s) {
  stream = s;
  translate = false;
}

int CTextFile::Close() {
  if (stream == nullptr) return -1;
  int result = std::fclose(stream);
  // Forgetting the stream makes a second Close harmless instead of a double
  // fclose.
  stream = nullptr;
  return result;
}

char* CTextFile::GetLine(char* buffer, int size) {
  if (stream == nullptr) return nullptr;
  if (translate) return GetTextLine<Narrow>(stream, buffer, size);
  return std::fgets(buffer, size, stream);
}

int CTextFile::PutString(const char* text) {
  if (stream == nullptr) return -1;
  if (translate) return PutText<Narrow>(stream, text, std::char_traits<char>::length(text)) ? 0 : EOF;
  return std::fputs(text, stream);
}

void CTextFile::Rewind() {
  if (stream != nullptr) std::rewind(stream);
}

int CTextFile::Printf(const char* format, ...) {
  if (stream == nullptr) return 0;
  va_list args;
  va_start(args, format);
  int result;
  if (translate) {
    std::string text;
    result = FormatTo(text, format, args);
    if (result >= 0 && !PutText<Narrow>(stream, text.data(), text.size())) result = -1;
  } else {
    result = std::vfprintf(stream, format, args);
  }
  va_end(args);
  return result;
}

int CTextFile::Seek(long offset, int origin) { return stream == nullptr ? -1 : std::fseek(stream, offset, origin); }

long CTextFile::Tell() { return stream == nullptr ? -1 : std::ftell(stream); }

size_t CTextFile::Write(const void* data, size_t size, size_t count) {
  if (stream == nullptr) return 0;
  return translate ? WriteText(stream, data, size, count) : std::fwrite(data, size, count, stream);
}

size_t CTextFile::Read(void* data, size_t size, size_t count) {
  if (stream == nullptr) return 0;
  return translate ? ReadText(stream, data, size, count) : std::fread(data, size, count, stream);
}

// ---- CTextFileW

FILE* CTextFileW::Open(const wchar_t* name, const wchar_t* mode) {
  stream = textfile::OpenSharedW(name, mode);
  translate = stream != nullptr && textfile::NeedsLineEndTranslationW(mode);
  return stream;
}

void CTextFileW::Attach(FILE* s) {
  stream = s;
  translate = false;
}

int CTextFileW::Close() {
  if (stream == nullptr) return -1;
  int result = std::fclose(stream);
  stream = nullptr;
  return result;
}

wchar_t* CTextFileW::GetLine(wchar_t* buffer, int size) {
  if (stream == nullptr) return nullptr;
  if (translate) return GetTextLine<Wide>(stream, buffer, size);
  return std::fgetws(buffer, size, stream);
}

int CTextFileW::PutString(const wchar_t* text) {
  if (stream == nullptr) return -1;
  if (translate) return PutText<Wide>(stream, text, std::char_traits<wchar_t>::length(text)) ? 0 : EOF;
  return std::fputws(text, stream);
}

void CTextFileW::Rewind() {
  if (stream != nullptr) std::rewind(stream);
}

int CTextFileW::Printf(const wchar_t* format, ...) {
  if (stream == nullptr) return 0;
  va_list args;
  va_start(args, format);
  int result;
  if (translate) {
    std::wstring text;
    result = FormatTo(text, format, args);
    if (result >= 0 && !PutText<Wide>(stream, text.data(), text.size())) result = -1;
  } else {
    result = std::vfwprintf(stream, format, args);
  }
  va_end(args);
  return result;
}

int CTextFileW::Seek(long offset, int origin) { return stream == nullptr ? -1 : std::fseek(stream, offset, origin); }

long CTextFileW::Tell() { return stream == nullptr ? -1 : std::ftell(stream); }

size_t CTextFileW::Write(const void* data, size_t size, size_t count) {
  if (stream == nullptr) return 0;
  return translate ? WriteText(stream, data, size, count) : std::fwrite(data, size, count, stream);
}

size_t CTextFileW::Read(void* data, size_t size, size_t count) {
  if (stream == nullptr) return 0;
  return translate ? ReadText(stream, data, size, count) : std::fread(data, size, count, stream);
}

bool ReadWholeFile(const char* path, std::string& bytes) {
  bytes.clear();
  CTextFile file;
  if (file.Open(path, "rb") == nullptr) return false;
  // A file that grows meanwhile is read to its end all the same.
  size_t filled = 0;
  if (file.Seek(0, SEEK_END) == 0) {
    const long length = file.Tell();
    if (length > 0) bytes.resize(static_cast<size_t>(length) + 1);
    file.Seek(0, SEEK_SET);
  }
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() + 65536);
    const size_t got = file.Read(bytes.data() + filled, 1, bytes.size() - filled);
    if (got == 0) break;
    filled += got;
  }
  bytes.resize(filled);
  const bool failed = std::ferror(file.GetHandle()) != 0;
  file.Close();
  return !failed;
}
