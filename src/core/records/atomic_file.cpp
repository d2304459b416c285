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
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
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
    content.bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  content.status = ReadStatus::Loaded;
  return content;
}

std::optional<FileError> WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::string pattern = (folder / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
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

}  // namespace tomvik::core
