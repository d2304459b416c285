// An initialisation file: "[section]" lines and "key=value" lines.
//
// Section and key names compare without regard to ASCII letter case (the
// bytes of double-byte characters compare exactly). Values are bytes, taken
// as they stand after the first "=". Every line is kept as it was read, line
// ends included, and an edit touches only the lines it concerns, so a file
// written back without edits is byte-for-byte the file that was read.
#pragma once

#include <cstddef>
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

// The same reading of an initialisation file's bytes as IniFile's, for
// looking up many values without changing any: the bytes are kept as they
// are and only the section headers are indexed, so that building the index
// costs about a pass over the bytes and a lookup costs a binary search and
// the lines of one section.
class IniIndex {
 public:
  IniIndex() = default;
  explicit IniIndex(std::string bytes);

  const std::string& bytes() const { return bytes_; }
  bool hasSection(std::string_view section) const;
  // Exactly what IniFile::Parse(bytes()).value(section, key) gives.
  std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

  // A line of the file that starts a section (a "[" after nothing but blanks).
  struct Header {
    std::size_t lineStart;  // the line's first byte
    std::size_t bracket;    // its "["
    std::size_t lineEnd;    // its line break (or the end of the file)
    std::size_t name;       // the name with its letter case folded, in names_
    std::size_t nameLength;
  };
  // Every section header in file order; a section runs up to the next one.
  const std::vector<Header>& headers() const { return headers_; }

 private:
  std::string_view nameOf(const Header& header) const { return {names_.data() + header.name, header.nameLength}; }
  std::optional<std::size_t> findSection(std::string_view section) const;
  std::size_t sectionEnd(std::size_t header) const;

  std::string bytes_;
  std::vector<Header> headers_;
  std::string names_;  // the headers' names, letter case folded
  // Header numbers ordered by name, equal names in file order.
  std::vector<std::size_t> byName_;
};

// The name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> IniSectionName(std::string_view line);
// The key of a "key=value" line, or nothing for any other line.
std::optional<std::string_view> IniKeyName(std::string_view line);
// Names compared as the file format does.
bool IniNamesEqual(std::string_view a, std::string_view b);

}  // namespace tomvik::core
