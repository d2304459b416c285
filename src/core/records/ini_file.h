// An initialisation file: "[section]" lines and "key=value" lines.
//
// Section and key names compare without regard to ASCII letter case (the
// bytes of double-byte characters compare exactly). Values are bytes, taken
// as they stand after the first "=". Every line is kept as it was read, line
// ends included, and an edit touches only the lines it concerns, so a file
// written back without edits is byte-for-byte the file that was read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tomvik::core {

class IniFile {
 public:
  IniFile() = default;
  static IniFile Parse(std::string_view bytes);
  std::string serialise() const;

  bool hasSection(std::string_view section) const;
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  std::string readString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // A value that is not a whole number in the int range reads as the fallback.
  int readInt(std::string_view section, std::string_view key, int fallback) const;
  // True for a non-zero whole number; the fallback for anything unreadable.
  bool readBool(std::string_view section, std::string_view key, bool fallback) const;

  // Replaces the key where it stands, or adds it at the end of its section,
  // or adds the section at the end of the file.
  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInt(std::string_view section, std::string_view key, int value);
  void writeBool(std::string_view section, std::string_view key, bool value);
  // Removes every line of the key in the section; true when one was there.
  bool deleteKey(std::string_view section, std::string_view key);
  // Removes the section with all its lines.
  void eraseSection(std::string_view section);

  // The sections in file order, with their key/value pairs in order.
  std::vector<std::string> sectionNames() const;

 private:
  struct Line {
    std::string text;
    std::string ending;  // "\r\n", "\n", "\r", or "" for a last line without one
  };
  struct Range {
    std::size_t header;  // index of the "[section]" line
    std::size_t end;     // one past the section's last line
  };

  std::optional<Range> findSection(std::string_view section) const;
  std::optional<std::size_t> findKey(const Range& range, std::string_view key) const;
  void insertLine(std::size_t at, std::string text);

  std::vector<Line> lines_;
};

// The name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> IniSectionName(std::string_view line);
// The key of a "key=value" line, or nothing for any other line.
std::optional<std::string_view> IniKeyName(std::string_view line);
// Names compared as the file format does.
bool IniNamesEqual(std::string_view a, std::string_view b);

}  // namespace tomvik::core
