#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace brawl {

// Every file the game reads comes through here, so that a folder, a named pipe, an endless
// device or a huge file is refused at once with its reason, never waited on for ever or read
// until the memory runs out.

// Why a read failed, in words that end a one-line message. An empty reason: no failure.
struct FileFailure {
  std::string reason;
  bool at_open = false;  // the reason is the system's, from opening the path
  int64_t line = 0;      // reading lines: the line that was refused; 0 for the file as a whole
};

// Reads a whole regular file of at most max_bytes into `bytes`. The memory is taken only once
// the size is known to fit; a file that shrinks or grows while it is read is refused.
FileFailure ReadWholeFile(const std::string& path, int64_t max_bytes, std::string& bytes);
// The same, throwing FatalError "<what>: <path>: <reason>".
std::string ReadGameFile(const std::string& path, int64_t max_bytes, const std::string& what);

// Reads text as it arrives, a line at a time, from a regular file, a pipe or a terminal ("-"
// is standard input), handing each line to on_line without its line end. A line longer than
// max_line, or more than max_bytes in all, is refused; so is a named pipe nobody writes to.
FileFailure ReadLines(const std::string& path, size_t max_line, int64_t max_bytes,
                      const std::function<void(std::string_view line)>& on_line);

}  // namespace brawl
