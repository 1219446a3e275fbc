// Any file name in history\ read as a kept layout: a name is taken only in
// the form the writer gives it (reading it and forming it again gives the
// same name), and every name the writer forms is read back to its time.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/layout_history.h"

#define CHECK(condition) \
  do {                   \
    if (!(condition)) std::abort(); \
  } while (0)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  // The first byte splits the rest into the layout file's name and a name
  // found in the folder; seven more make a moment to form a name from.
  const std::string rest(reinterpret_cast<const char*>(data + 8), size - 8);
  const size_t cut = data[0] % (rest.size() + 1);
  const std::string fileName = rest.substr(0, cut);
  const std::string found = rest.substr(cut);

  KeptLayoutStamp stamp;
  if (ReadKeptLayoutName(found, fileName, stamp)) {
    CHECK(KeptLayoutName(fileName, stamp.time, stamp.sequence) == found);
  }

  const LocalTime time = {(data[1] << 8 | data[2]) % 10000, data[3] % 12 + 1, data[4] % 31 + 1,
                          data[5] % 24,                     data[6] % 60,     data[7] % 61};
  const int sequence = data[0] % 99 + 1;
  const std::string kept = KeptLayoutName(fileName, time, sequence);
  KeptLayoutStamp read;
  CHECK(ReadKeptLayoutName(kept, fileName, read));
  CHECK(read.sequence == sequence && read.time.year == time.year && read.time.month == time.month &&
        read.time.day == time.day && read.time.hour == time.hour && read.time.minute == time.minute &&
        read.time.second == time.second);
  return 0;
}
