// The single keys of Code.txt that every panel's stock lookup reads and
// writes at once: a written key reads back, a deleted one is gone, and the
// other sections stay where they are. The input is one line "section<TAB>key<TAB>value"
// followed by the file.
#include <string>
#include <vector>

#include "core/records/ini_file.h"
#include "fuzz_check.h"

using namespace tomvik;

namespace {

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool HasOuterBlank(std::string_view text) {
  return !text.empty() && (text.front() == ' ' || text.front() == '\t' || text.back() == ' ' || text.back() == '\t');
}

// The names and values the program writes: a stock code as the section, a
// key letter, a value of one line.
bool Writable(std::string_view section, std::string_view key, std::string_view value) {
  if (section.empty() || HasLineBreak(section) || HasOuterBlank(section) || section.find(']') != std::string_view::npos)
    return false;
  if (key.empty() || HasLineBreak(key) || HasOuterBlank(key) || key.find('=') != std::string_view::npos ||
      key.front() == '[' || key.front() == ';')
    return false;
  return !HasLineBreak(value);
}

// Every section other than `section`, with its lines as a reader sees them.
std::vector<std::string> OtherSections(const core::IniFile& ini, std::string_view section) {
  std::vector<std::string> names;
  for (const std::string& name : ini.sectionNames()) {
    if (!core::IniNamesEqual(name, section)) names.push_back(name);
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::Bytes(data, size);
  const auto lineEnd = input.find('\n');
  if (lineEnd == std::string_view::npos) return 0;
  std::string_view request = input.substr(0, lineEnd);
  if (request.ends_with('\r')) request.remove_suffix(1);
  const auto tab1 = request.find('\t');
  const auto tab2 = tab1 == std::string_view::npos ? tab1 : request.find('\t', tab1 + 1);
  if (tab2 == std::string_view::npos) return 0;
  const std::string_view section = request.substr(0, tab1);
  const std::string_view key = request.substr(tab1 + 1, tab2 - tab1 - 1);
  const std::string_view value = request.substr(tab2 + 1);
  if (!Writable(section, key, value)) return 0;
  const std::string_view file = input.substr(lineEnd + 1);

  core::IniFile ini = core::IniFile::Parse(file);
  const std::vector<std::string> others = OtherSections(ini, section);
  ini.writeString(section, key, value);
  const core::IniFile written = core::IniFile::Parse(ini.serialise());
  fuzz::Require(written.value(section, key) == std::string(value), "a written key reads back");
  fuzz::Require(OtherSections(written, section) == others, "writing a key leaves the other sections");

  core::IniFile removed = written;
  removed.deleteKey(section, key);
  fuzz::Require(!core::IniFile::Parse(removed.serialise()).value(section, key).has_value(), "a deleted key is gone");
  return 0;
}
