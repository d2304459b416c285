// Helpers shared by the core tests: CP932 texts typed as UTF-8, the golden
// files under tests/data, fresh temporary folders, and byte comparisons that
// leave the actual bytes behind for inspection when they fail.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/records/cp932.h"

namespace tomvik::core::test {

// The CP932 bytes of a UTF-8 text; a character CP932 lacks fails the test.
inline std::string Sjis(std::string_view utf8) {
  Converted converted = Utf8ToCp932(utf8);
  EXPECT_FALSE(converted.replaced) << "not in CP932: " << utf8;
  return std::move(converted.text);
}

// The UTF-8 form of CP932 bytes, so that failures print readable texts.
inline std::string Utf8(std::string_view cp932) { return Cp932ToUtf8(cp932).text; }

// A row's cells as UTF-8, to compare with cells typed in the test.
inline std::vector<std::string> Utf8Cells(const std::vector<std::string>& cells) {
  std::vector<std::string> out;
  for (const std::string& cell : cells) out.push_back(Utf8(cell));
  return out;
}

// Bytes that are not CP932 text at all, the same for every run.
inline std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 engine(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(byte(engine));
  return bytes;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::filesystem::path DataPath(std::string_view name) {
  return std::filesystem::path(TOMVIK_TEST_DATA_DIR) / "records" / std::string(name);
}

// A golden file of tests/data/records; an empty or missing one fails the test.
inline std::string Fixture(std::string_view name) {
  std::string bytes = ReadBytes(DataPath(name));
  EXPECT_FALSE(bytes.empty()) << "missing fixture " << DataPath(name);
  return bytes;
}

// Passes when the bytes are equal; otherwise writes `<name>.actual` into the
// test output folder and names the first differing byte.
inline ::testing::AssertionResult SameBytes(std::string_view name, const std::string& expected,
                                            const std::string& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  const std::filesystem::path out = std::filesystem::path(TOMVIK_TEST_OUTPUT_DIR) / (std::string(name) + ".actual");
  WriteBytes(out, actual);
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  return ::testing::AssertionFailure() << name << ": " << actual.size() << " bytes instead of " << expected.size()
                                       << ", first difference at byte " << at << "; actual bytes in " << out;
}

// A fresh empty folder for one test, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "tomvik-core-";
    if (info != nullptr) name += std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / std::string(name); }

  // The names of the folder's entries, sorted.
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

// Makes every write of this process beyond `bytes` fail as on a full disk,
// until it goes out of scope.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previous_)(int) = SIG_DFL;
};

}  // namespace tomvik::core::test
