#pragma once
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace brawl {

// A refused input must still give the player one line of text to read: no line breaks, no
// control characters from the file.
inline void CheckOneLine(const char* message) {
  const std::string text(message);
  if (text.empty() ||
      std::any_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x20 || c == 0x7f; })) {
    std::fprintf(stderr, "error message is not one printable line: [%s]\n", message);
    std::abort();
  }
}

inline void Require(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
  }
}

// The readers that take a path get the input through this one file, rewritten for every run
// and removed when the fuzzer ends.
struct InputFile {
  std::string path;
  explicit InputFile(const char* suffix) {
    const char* dir = std::getenv("TMPDIR");
    path = std::string(dir && *dir ? dir : "/tmp") + "/brawl-fuzz-" + std::to_string(::getpid()) + suffix;
  }
  ~InputFile() { ::unlink(path.c_str()); }
};

inline const std::string& WriteInputFile(const uint8_t* data, size_t size, const char* suffix) {
  static const InputFile file(suffix);
  std::ofstream out(file.path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  Require(out.good(), "the fuzz input file can be written");
  return file.path;
}

}  // namespace brawl
