#include "core/records/ini_file.h"

#include <charconv>

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

std::vector<std::string> IniFile::sectionNames() const {
  std::vector<std::string> names;
  for (const auto& line : lines_) {
    if (const auto name = IniSectionName(line.text)) names.emplace_back(*name);
  }
  return names;
}

}  // namespace tomvik::core
