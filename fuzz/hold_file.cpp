// Hold.txt: any bytes read without a fault, and saves of what was read
// settle at once, account line included.
#include "core/records/hold_file.h"
#include "fuzz_check.h"

using namespace tomvik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::RequireSavesSettle(fuzz::Bytes(data, size), [](std::string_view file) {
    const core::HoldingsData read = core::ParseHoldings(file);
    // Without an account line the figures shown before (at start "0") stay.
    return core::SerialiseHoldings(read.rows, read.figures.value_or(core::AccountFigures{"0", "0"}));
  });
  return 0;
}
