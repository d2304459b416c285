#include "core/records/ini_file.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <numeric>

#include "core/records/cp932.h"

namespace tomvik::core {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlankLine(std::string_view line) { return Trim(line).empty(); }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// A name as the file format compares it: ASCII letters in lower case, the
// two bytes of a double-byte character as they are.
void AppendFolded(std::string& out, std::string_view name) {
  // Folding keeps the length: write in place.
  const std::size_t at = out.size();
  out.resize(at + name.size());
  char* to = out.data() + at;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (IsCp932LeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size()) {
      to[i] = name[i];
      ++i;
      to[i] = name[i];
    } else {
      to[i] = LowerAscii(name[i]);
    }
  }
}

// The first byte after the line break at `at` (CR LF counts as one).
std::size_t AfterLineBreak(std::string_view bytes, std::size_t at) {
  if (at >= bytes.size()) return bytes.size();
  if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') return at + 2;
  return at + 1;
}

std::size_t LineBreakFrom(std::string_view bytes, std::size_t at) {
  while (at < bytes.size() && !IsLineBreak(bytes[at])) ++at;
  return at;
}

}  // namespace

bool IniNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsCp932LeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

std::optional<std::string_view> IniSectionName(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  std::string_view name = t.substr(1);
  // Up to the last "]", so that a name holding a "]" (a stock code read
  // from a short header such as "[12]" is "12]") finds the section that
  // writing it made.
  const auto close = name.rfind(']');
  if (close != std::string_view::npos) name = name.substr(0, close);
  return Trim(name);
}

std::optional<std::string_view> IniKeyName(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() == '[' || t.front() == ';') return std::nullopt;
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(0, eq));
}

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile ini;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      Line line{std::string(bytes.substr(start, i - start)), std::string()};
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
        line.ending = "\r\n";
        i += 2;
      } else {
        line.ending = std::string(1, c);
        i += 1;
      }
      ini.lines_.push_back(std::move(line));
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) ini.lines_.push_back(Line{std::string(bytes.substr(start)), std::string()});
  return ini;
}

std::string IniFile::serialise() const {
  std::string out;
  for (const auto& line : lines_) {
    out += line.text;
    out += line.ending;
  }
  return out;
}

std::optional<IniFile::Range> IniFile::findSection(std::string_view section) const {
  // Blanks around a name do not count, in the file or in the name asked
  // for: a section written for " 123" is found again as " 123".
  section = Trim(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = IniSectionName(lines_[i].text);
    if (!name || !IniNamesEqual(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !IniSectionName(lines_[end].text)) ++end;
    return Range{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> IniFile::findKey(const Range& range, std::string_view key) const {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const auto name = IniKeyName(lines_[i].text);
    if (name && IniNamesEqual(*name, key)) return i;
  }
  return std::nullopt;
}

void IniFile::insertLine(std::size_t at, std::string text) {
  // A last line without a line end gets one before anything follows it.
  if (at > 0 && at == lines_.size() && lines_.back().ending.empty()) lines_.back().ending = "\r\n";
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), "\r\n"});
}

bool IniFile::hasSection(std::string_view section) const { return findSection(section).has_value(); }

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  const auto range = findSection(section);
  if (!range) return std::nullopt;
  const auto at = findKey(*range, key);
  if (!at) return std::nullopt;
  const std::string& text = lines_[*at].text;
  return text.substr(text.find('=') + 1);
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view fallback) const {
  auto v = value(section, key);
  return v ? *v : std::string(fallback);
}

int IniFile::readInt(std::string_view section, std::string_view key, int fallback) const {
  const auto v = value(section, key);
  if (!v) return fallback;
  std::string_view t = Trim(*v);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  int result = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), result);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return fallback;
  return result;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
  return readInt(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  auto range = findSection(section);
  if (!range) {
    if (!lines_.empty() && !IsBlankLine(lines_.back().text)) insertLine(lines_.size(), std::string());
    insertLine(lines_.size(), "[" + std::string(section) + "]");
    insertLine(lines_.size(), std::string(key) + "=" + std::string(value));
    insertLine(lines_.size(), std::string());
    return;
  }
  if (const auto at = findKey(*range, key)) {
    // The key as it is spelt there, but without blanks around it: the stock
    // master's reader takes all after the key letter and the "=" as the
    // value, so "C =x" kept its blank and grew by a "=" with every save.
    std::string& text = lines_[*at].text;
    text = std::string(*IniKeyName(text)) + "=" + std::string(value);
    return;
  }
  // After the section's last line that is not blank, so that the blank line
  // that separates it from the next section stays last.
  std::size_t at = range->end;
  while (at > range->header + 1 && IsBlankLine(lines_[at - 1].text)) --at;
  insertLine(at, std::string(key) + "=" + std::string(value));
}

void IniFile::writeInt(std::string_view section, std::string_view key, int value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

bool IniFile::deleteKey(std::string_view section, std::string_view key) {
  const auto range = findSection(section);
  if (!range) return false;
  bool removed = false;
  for (std::size_t i = range->end; i > range->header + 1; --i) {
    const auto name = IniKeyName(lines_[i - 1].text);
    if (name && IniNamesEqual(*name, key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i - 1));
      removed = true;
    }
  }
  return removed;
}

void IniFile::eraseSection(std::string_view section) {
  while (const auto range = findSection(section)) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
  }
}

IniIndex::IniIndex(std::string bytes) : bytes_(std::move(bytes)) {
  const std::string_view data = bytes_;
  // About one section in every 64 bytes, as in a stock master: few regrowths.
  headers_.reserve(data.size() / 64 + 4);
  names_.reserve(headers_.capacity() * 6);
  std::size_t from = 0;
  while (from < data.size()) {
    const void* hit = std::memchr(data.data() + from, '[', data.size() - from);
    if (!hit) break;
    const auto bracket = static_cast<std::size_t>(static_cast<const char*>(hit) - data.data());
    from = bracket + 1;
    // A header's "[" follows nothing but blanks on its line.
    std::size_t start = bracket;
    while (start > 0 && IsBlank(data[start - 1])) --start;
    if (start > 0 && !IsLineBreak(data[start - 1])) continue;
    const std::size_t end = LineBreakFrom(data, bracket + 1);
    std::string_view name = data.substr(bracket + 1, end - bracket - 1);
    if (const auto close = name.find(']'); close != std::string_view::npos) name = name.substr(0, close);
    name = Trim(name);
    headers_.push_back(Header{start, bracket, end, names_.size(), name.size()});
    AppendFolded(names_, name);
    from = end;
  }

  // Files the program writes are in code order; only what breaks the order
  // (sections added since, edits by hand) needs sorting.
  byName_.resize(headers_.size());
  std::iota(byName_.begin(), byName_.end(), std::size_t{0});
  const auto less = [this](std::size_t a, std::size_t b) { return nameOf(headers_[a]) < nameOf(headers_[b]); };
  const auto unordered = std::is_sorted_until(byName_.begin(), byName_.end(), less);
  if (unordered != byName_.end()) {
    std::stable_sort(unordered, byName_.end(), less);
    std::inplace_merge(byName_.begin(), unordered, byName_.end(), less);
  }
}

std::optional<std::size_t> IniIndex::findSection(std::string_view section) const {
  std::string folded;
  AppendFolded(folded, section);
  const auto at = std::lower_bound(byName_.begin(), byName_.end(), folded, [this](std::size_t h, const std::string& n) {
    return nameOf(headers_[h]) < std::string_view(n);
  });
  if (at == byName_.end() || nameOf(headers_[*at]) != folded) return std::nullopt;
  return *at;
}

std::size_t IniIndex::sectionEnd(std::size_t header) const {
  return header + 1 < headers_.size() ? headers_[header + 1].lineStart : bytes_.size();
}

bool IniIndex::hasSection(std::string_view section) const { return findSection(section).has_value(); }

std::optional<std::string_view> IniIndex::value(std::string_view section, std::string_view key) const {
  const auto header = findSection(section);
  if (!header) return std::nullopt;
  const std::string_view data = bytes_;
  const std::size_t end = sectionEnd(*header);
  for (std::size_t at = AfterLineBreak(data, headers_[*header].lineEnd); at < end;) {
    const std::size_t lineEnd = LineBreakFrom(data, at);
    const std::string_view line = data.substr(at, lineEnd - at);
    const auto name = IniKeyName(line);
    if (name && IniNamesEqual(*name, key)) return line.substr(line.find('=') + 1);
    at = AfterLineBreak(data, lineEnd);
  }
  return std::nullopt;
}

std::vector<std::string> IniFile::sectionNames() const {
  std::vector<std::string> names;
  for (const auto& line : lines_) {
    if (const auto name = IniSectionName(line.text)) names.emplace_back(*name);
  }
  return names;
}

}  // namespace tomvik::core
