// The diary month file: any bytes read without a fault, and saves of what
// was read settle at once.
#include "core/records/diary_file.h"
#include "fuzz_check.h"

using namespace tomvik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::RequireSavesSettle(fuzz::Bytes(data, size), [](std::string_view file) {
    return core::SerialiseDiaryMonth(core::ParseDiaryMonth(file));
  });
  return 0;
}
