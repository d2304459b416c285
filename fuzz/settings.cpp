// TMVK.ini: any bytes read without a fault; a second close writes the bytes
// of the first; and the keys that the options dialog and a close write read
// back as they were written.
#include "core/records/settings.h"
#include "core/records/ini_file.h"
#include "fuzz_check.h"

using namespace tomvik;

namespace {

// A run that reads the file at start and writes its keys at close.
std::string Close(std::string_view file) {
  core::IniFile ini = core::IniFile::Parse(file);
  core::WriteShutdownSettings(ini, core::ReadSettings(ini));
  return ini.serialise();
}

// Every key the options dialog and a close write, in a file of their own.
std::string Written(const core::Settings& settings) {
  core::IniFile ini;
  core::WriteOptionSettings(ini, settings);
  core::WriteShutdownSettings(ini, settings);
  return ini.serialise();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::Bytes(data, size);
  const std::string first = Close(input);
  fuzz::Require(Close(first) == first, "a second close writes the bytes of the first");

  // The options dialog's OK, then a close.
  core::IniFile ini = core::IniFile::Parse(input);
  const core::Settings settings = core::ReadSettings(ini);
  core::WriteOptionSettings(ini, settings);
  core::WriteShutdownSettings(ini, settings);
  const core::Settings back = core::ReadSettings(core::IniFile::Parse(ini.serialise()));
  fuzz::Require(Written(back) == Written(settings), "the settings written read back as they were");
  return 0;
}
