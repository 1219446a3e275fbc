// A text file over a buffered stream of the standard library.
//
// Text mode (a mode without "b", such as "r" and "w") behaves as on Windows
// in both builds: CR LF on disk reads as LF and LF writes as CR LF; a CR not
// followed by LF stays as it is, and a Ctrl-Z (0x1A) ends what a read sees.  The Windows C library does this itself; on
// other systems CTextFile does it for the streams it opened, so that both
// builds give the program the same lines.  A stream given to Attach is taken
// as binary on those systems.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cwchar>
#include <string>

class CTextFile {
 public:
  CTextFile() = default;
  // Does not close the stream: the owner calls Close.
  ~CTextFile() = default;
  CTextFile(const CTextFile&) = delete;
  CTextFile& operator=(const CTextFile&) = delete;

  // Opens the file with no sharing restriction (mode as for fopen); stores and
  // returns the stream, null on failure.
  FILE* Open(const char* name, const char* mode);
  // Stores a stream opened elsewhere; the caller keeps the choice of closing it.
  void Attach(FILE* stream);
  // fclose; -1 without a stream.  Afterwards no stream is held.
  int Close();
  // Reads up to and including the next line end, at most size - 1 bytes, and
  // terminates; a longer line arrives in several pieces.  Null at end of file
  // when nothing was read, and without a stream.
  char* GetLine(char* buffer, int size);
  // fputs; -1 without a stream.
  int PutString(const char* text);
  void Rewind();
  // vfprintf: the number of characters formatted, negative on failure, 0
  // without a stream.
  int Printf(const char* format, ...);
  // fseek: 0 done; -1 on failure and without a stream.
  int Seek(long offset, int origin);
  // ftell; -1 without a stream.
  long Tell();
  // fwrite / fread: the number of whole items; 0 without a stream.
  size_t Write(const void* data, size_t size, size_t count);
  size_t Read(void* data, size_t size, size_t count);
  // The stream, or null; CTextFile keeps it.
  FILE* GetHandle() const { return stream; }

 private:
  FILE* stream = nullptr;
  bool translate = false;  // this object converts line ends of a text mode
};

// Reads the whole file at `path` as it is stored (binary), straight into a
// string of the file's length.  False when it cannot be opened or a read
// fails; `bytes` then holds nothing to rely on.
bool ReadWholeFile(const char* path, std::string& bytes);

// CTextFile with wide-character names, modes and text in memory.
class CTextFileW {
 public:
  CTextFileW() = default;
  ~CTextFileW() = default;
  CTextFileW(const CTextFileW&) = delete;
  CTextFileW& operator=(const CTextFileW&) = delete;

  FILE* Open(const wchar_t* name, const wchar_t* mode);
  void Attach(FILE* stream);
  int Close();
  wchar_t* GetLine(wchar_t* buffer, int size);
  int PutString(const wchar_t* text);
  void Rewind();
  int Printf(const wchar_t* format, ...);
  int Seek(long offset, int origin);
  long Tell();
  size_t Write(const void* data, size_t size, size_t count);
  size_t Read(void* data, size_t size, size_t count);
  FILE* GetHandle() const { return stream; }

 private:
  FILE* stream = nullptr;
  bool translate = false;
};
