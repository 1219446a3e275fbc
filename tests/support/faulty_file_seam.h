// A file seam for tests that passes every step to the real one, except that
// the n-th call (counted from 1) of the chosen step fails without doing
// anything.  Hand it to the code under test in place of GetRealFileSeam().
#pragma once

#include "framework/files/file_seam.h"

class FaultyFileSeam : public FileSeam {
 public:
  enum Step { kCreate, kWrite, kClose, kFlush, kReplace, kStepCount };

  FaultyFileSeam(Step failingStep, int failingCall = 1) : step(failingStep), call(failingCall) {}

  File* Create(const char* path) override;
  bool Write(File* file, const void* data, size_t size) override;

  bool Close(File* file) override;
  bool Flush(const char* path) override;
  bool Replace(const char* source, const char* target) override;
  bool Remove(const char* path) override;

  /// True once the injected failure has happened.
  bool Failed() const { return failed; }

 private:
  bool FailNow(Step s);

  Step step;
  int call;
  int calls[kStepCount] = {};
  bool failed = false;
};
