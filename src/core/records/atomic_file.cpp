#include "core/records/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace tomvik::core {
namespace {

FileError ErrorFor(const std::filesystem::path& path, int code) { return FileError{path, std::strerror(code)}; }

// A temporary name is "." + the file's name + this + mkstemp's six letters
// or digits.
constexpr std::string_view kTemporaryInfix = ".tmp-";
constexpr std::size_t kTemporaryRandomLength = 6;

bool IsAsciiAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The permissions a replaced file keeps: the old file's, or the usual ones
// for a new file.
mode_t ModeFor(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool FileHoldsExactly(const std::filesystem::path& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[65536];
  std::size_t matched = 0;
  bool same = true;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      same = false;
      break;
    }
    if (n == 0) break;
    const auto got = static_cast<std::size_t>(n);
    if (got > bytes.size() - matched || std::memcmp(buffer, bytes.data() + matched, got) != 0) {
      same = false;
      break;
    }
    matched += got;
  }
  ::close(fd);
  return same && matched == bytes.size();
}

FileContent ReadWholeFile(const std::filesystem::path& path) {
  FileContent content;
  // Plain system calls: a read error (a folder in the file's place, a bad
  // disk) must come back as a status, never as an exception.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int code = errno;
    content.status = (code == ENOENT || code == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Failed;
    if (content.status == ReadStatus::Failed) content.error = ErrorFor(path, code);
    return content;
  }
  // Read straight into a string of the file's size, growing it only if the
  // file grows while it is read.
  struct stat st {};
  std::size_t capacity = 65536;
  if (::fstat(fd, &st) == 0 && st.st_size > 0) capacity = static_cast<std::size_t>(st.st_size) + 1;
  std::string& bytes = content.bytes;
  bytes.resize(capacity);
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int code = errno;
      ::close(fd);
      content.status = ReadStatus::Failed;
      content.error = ErrorFor(path, code);
      content.bytes.clear();
      return content;
    }
    filled += static_cast<std::size_t>(n);
  }
  bytes.resize(filled);
  ::close(fd);
  content.status = ReadStatus::Loaded;
  return content;
}

std::optional<FileError> WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::string pattern = (folder / ("." + path.filename().string() + std::string(kTemporaryInfix) + "XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return ErrorFor(path, errno);

  auto fail = [&](int code) {
    ::close(fd);
    ::unlink(pattern.c_str());
    return std::optional<FileError>(ErrorFor(path, code));
  };

  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  if (::fchmod(fd, ModeFor(path)) != 0) return fail(errno);
  if (::fsync(fd) != 0) return fail(errno);
  if (::close(fd) != 0) {
    const int code = errno;
    ::unlink(pattern.c_str());
    return ErrorFor(path, code);
  }
  if (::rename(pattern.c_str(), path.c_str()) != 0) {
    const int code = errno;
    ::unlink(pattern.c_str());
    return ErrorFor(path, code);
  }
  return std::nullopt;
}

std::optional<FileError> RemoveFileIfExists(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  if (ec) return FileError{path, ec.message()};
  return std::nullopt;
}

std::optional<std::string_view> TemporaryFileTarget(std::string_view name) {
  const std::size_t minimum = 1 + 1 + kTemporaryInfix.size() + kTemporaryRandomLength;
  if (name.size() < minimum || name.front() != '.') return std::nullopt;
  const std::string_view random = name.substr(name.size() - kTemporaryRandomLength);
  for (char c : random) {
    if (!IsAsciiAlnum(c)) return std::nullopt;
  }
  const std::string_view rest = name.substr(0, name.size() - kTemporaryRandomLength);
  if (!rest.ends_with(kTemporaryInfix)) return std::nullopt;
  return rest.substr(1, rest.size() - 1 - kTemporaryInfix.size());
}

StaleCleanup RemoveStaleTemporaryFiles(const std::filesystem::path& folder,
                                       const std::function<bool(std::string_view target)>& ours) {
  StaleCleanup cleanup;
  std::error_code ec;
  // The error_code forms throughout: a folder that cannot be listed has no
  // leftovers to remove, and start-up goes on.
  std::filesystem::directory_iterator it(folder, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::filesystem::directory_entry& entry = *it;
    const std::string name = entry.path().filename().string();
    const auto target = TemporaryFileTarget(name);
    if (!target || !ours(*target)) continue;
    // A link or a folder of that name is not one of ours.
    struct stat st {};
    if (::lstat(entry.path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (::unlink(entry.path().c_str()) != 0) {
      cleanup.errors.push_back(ErrorFor(entry.path(), errno));
      continue;
    }
    cleanup.removed.push_back(entry.path());
    cleanup.bytes += static_cast<std::uintmax_t>(st.st_size);
  }
  return cleanup;
}

}  // namespace tomvik::core
