#include "base/file_reader.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/fatal_error.h"
#include "base/i18n.h"

namespace brawl {

namespace {

// A named pipe is given this long for its writer to appear: enough for a script started just
// before the game, short enough that a forgotten pipe is reported rather than waited on.
constexpr int kWriterWaitMs = 1000;
constexpr size_t kChunkBytes = 64 * 1024;

struct Descriptor {
  int fd = -1;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

// What stands at a path that is not a regular file, as a message says it.
std::string WhatItIs(mode_t mode) {
  if (S_ISDIR(mode)) return _("is a directory");
  if (S_ISFIFO(mode)) return _("is a named pipe");
  if (S_ISCHR(mode) || S_ISBLK(mode)) return _("is a device");
  if (S_ISSOCK(mode)) return _("is a socket");
  return _("is not a regular file");
}

std::string InWords(int64_t bytes) {
  if (bytes % (1 << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
  if (bytes % (1 << 10) == 0) return std::to_string(bytes >> 10) + " KiB";
  return std::to_string(bytes) + " bytes";
}

std::string TooLarge(int64_t size, int64_t max_bytes) {
  return Fill(_("too large: {1} bytes, more than {2}"), {std::to_string(size), InWords(max_bytes)});
}

std::string CannotRead() {
  return Fill(_("cannot be read: {1}"), {std::strerror(errno)});
}

// Opens without waiting: a named pipe with no writer would block a plain open for ever.
// Fills `info` from the opened descriptor, so that what is checked is what is read.
FileFailure Open(const std::string& path, Descriptor& file, struct stat& info) {
  file.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (file.fd < 0) {
    const int error = errno;
    // A socket cannot be opened at all; say what it is rather than "no such device".
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return {WhatItIs(info.st_mode)};
    return {std::strerror(error), true};
  }
  if (::fstat(file.fd, &info) != 0) return {CannotRead()};
  return {};
}

ssize_t ReadSome(int fd, char* into, size_t size) {
  ssize_t n;
  do {
    n = ::read(fd, into, size);
  } while (n < 0 && errno == EINTR);
  return n;
}

// Waits a little for a named pipe's writer: true once there is data, or a writer that came
// and went.
bool PipeStirs(int fd) {
  pollfd wait{fd, POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&wait, 1, kWriterWaitMs);
  } while (ready < 0 && errno == EINTR);
  return ready != 0;
}

}  // namespace

FileFailure ReadWholeFile(const std::string& path, int64_t max_bytes, std::string& bytes) {
  bytes.clear();
  Descriptor file;
  struct stat info {};
  if (FileFailure failure = Open(path, file, info); !failure.reason.empty()) return failure;
  if (!S_ISREG(info.st_mode)) return {WhatItIs(info.st_mode)};
  if (info.st_size > max_bytes) return {TooLarge(info.st_size, max_bytes)};

  const size_t size = static_cast<size_t>(info.st_size);
  bytes.resize(size);
  size_t got = 0;
  while (got < size) {
    const ssize_t n = ReadSome(file.fd, bytes.data() + got, size - got);
    if (n < 0) return {CannotRead()};
    if (n == 0) {
      return {"shrank while it was read: " + std::to_string(got) + " of its " + std::to_string(size) +
              " bytes"};
    }
    got += static_cast<size_t>(n);
  }
  char extra;
  const ssize_t n = ReadSome(file.fd, &extra, 1);
  if (n < 0) return {CannotRead()};
  if (n > 0) return {"grew while it was read, past its " + std::to_string(size) + " bytes"};
  return {};
}

std::string ReadGameFile(const std::string& path, int64_t max_bytes, const std::string& what) {
  std::string bytes;
  const FileFailure failure = ReadWholeFile(path, max_bytes, bytes);
  if (!failure.reason.empty()) throw Fatal(what, path, failure.reason);
  return bytes;
}

FileFailure ReadLines(const std::string& path, size_t max_line, int64_t max_bytes,
                      const std::function<void(std::string_view line)>& on_line) {
  Descriptor file;
  int fd = STDIN_FILENO;
  mode_t info_mode = 0;
  if (path != "-") {
    struct stat info {};
    if (FileFailure failure = Open(path, file, info); !failure.reason.empty()) return failure;
    info_mode = info.st_mode;
    if (S_ISREG(info.st_mode)) {
      if (info.st_size > max_bytes) return {TooLarge(info.st_size, max_bytes)};
    } else if (!S_ISFIFO(info.st_mode) && !S_ISCHR(info.st_mode)) {
      return {WhatItIs(info.st_mode)};  // a terminal, or a device, is read like a pipe
    }
    fd = file.fd;
  }

  std::string line;
  int64_t line_number = 1;
  int64_t total = 0;
  auto take = [&](std::string_view rest) -> FileFailure {
    total += static_cast<int64_t>(rest.size());
    if (total > max_bytes) return {"more than " + InWords(max_bytes) + " of text"};
    for (;;) {
      const size_t end = rest.find('\n');
      line.append(rest.substr(0, end));
      if (line.size() > max_line) {
        return {"longer than " + std::to_string(max_line) + " characters", false, line_number};
      }
      if (end == std::string_view::npos) return {};
      on_line(line);
      line.clear();
      ++line_number;
      rest.remove_prefix(end + 1);
    }
  };

  char chunk[kChunkBytes];
  if (file.fd >= 0) {
    // Still not blocking: an empty read from a silent pipe means nobody holds its other end.
    if (S_ISFIFO(info_mode) && !PipeStirs(fd)) {
      const ssize_t n = ReadSome(fd, chunk, sizeof chunk);
      if (n == 0) return {"is a named pipe with nothing writing to it"};
      if (n > 0) {
        if (FileFailure failure = take({chunk, static_cast<size_t>(n)}); !failure.reason.empty())
          return failure;
      } else if (errno != EAGAIN) {
        return {CannotRead()};
      }
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) return {CannotRead()};
  }
  for (;;) {
    const ssize_t n = ReadSome(fd, chunk, sizeof chunk);
    if (n < 0) return {CannotRead()};
    if (n == 0) break;
    if (FileFailure failure = take({chunk, static_cast<size_t>(n)}); !failure.reason.empty()) return failure;
  }
  if (!line.empty()) on_line(line);
  return {};
}

}  // namespace brawl
