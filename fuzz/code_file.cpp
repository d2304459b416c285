// Code.txt read and saved the two ways the stock master tab does: the whole
// file with the filter off, and in place (only the shown entries' sections)
// with the filter on. Any bytes read without a fault, and saves of what was
// read settle, at the latest by the fifth save.
//
// A hand-edited Code.txt may take more saves to settle, as the rules of the
// list have it: a header shorter than its four characters gives a code
// that takes in the "]" ("[12]" reads "12]"), which is written with a "]"
// after it, so the code grows by a "]" with each save until it is four
// characters long (a bare "[" takes five saves); and in place, an entry whose code is not its section's
// whole name ("[123456]" reads "1234") gets a section of its own.
#include "core/records/code_file.h"
#include "core/records/ini_file.h"
#include "fuzz_check.h"

using namespace tomvik;

namespace {

std::string SaveWhole(std::string_view file) {
  return core::SerialiseStockMasterKeeping(core::ParseStockMaster(file, false), file, {});
}

std::string SaveInPlace(std::string_view file) {
  core::IniFile ini = core::IniFile::Parse(file);
  core::ApplyStockMasterInPlace(ini, core::ParseStockMaster(file, true));
  return ini.serialise();
}

// The saves of what was read reach a file that saves to itself.
template <typename Save>
void RequireSettles(std::string_view input, Save save, const char* property) {
  std::string file = save(input);
  for (int i = 0; i < 4; ++i) file = save(file);
  fuzz::Require(save(file) == file, property);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::Bytes(data, size);
  RequireSettles(input, SaveWhole, "the whole stock master settles by the fifth save");
  RequireSettles(input, SaveInPlace, "the filtered stock master saved in place settles by the fifth save");
  return 0;
}
