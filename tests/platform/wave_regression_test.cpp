#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/fatal_error.h"
#include "platform/wave.h"
#include "support/run_brawl.h"

namespace brawl {

// Damaged waves found by fuzzing the reader: each must still be refused with one line of
// printable text.
namespace {

std::string RefusalOf(const std::string& bytes) {
  const std::string dir = MakeTempDir();
  const std::string path = dir + "/fire.wav";
  std::ofstream(path, std::ios::binary) << bytes;
  std::string message;
  try {
    ReadWave(path);
    ADD_FAILURE() << "accepted";
  } catch (const FatalError& e) {
    message = e.what();
  }
  std::filesystem::remove_all(dir);
  return message;
}

bool Printable(const std::string& message) {
  return std::none_of(message.begin(), message.end(), [](unsigned char c) { return c < 0x20 || c == 0x7f; });
}

TEST(WaveRegression, ChunkIdWithALineBreakIsMasked) {
  // A PCM format chunk, then a chunk whose id holds a carriage return and whose size runs
  // past the end of the file.
  const std::string bytes(
      "RIFF(\0\0\0WAVEfmt \x10\0\0\0\x01\0\0\0005\0\0\x01\0\x08\0d\x01\0\x08\0"
      "d\xf1\xf1\r\0``\0\0\0%\xe7\xe7\xe7J\xe7\0",
      53);
  const std::string message = RefusalOf(bytes);
  EXPECT_TRUE(Printable(message)) << message;
  EXPECT_NE(message.find("chunk 'd??\?' claims"), std::string::npos) << message;
}

TEST(WaveRegression, ChunkIdOfZeroBytesIsMasked) {
  const std::string bytes("RIFF\x0c\0\0\0WAVE\0\0\0\0\xff\0\0\0", 20);
  const std::string message = RefusalOf(bytes);
  EXPECT_TRUE(Printable(message)) << message;
  EXPECT_NE(message.find("chunk '??\?\?' claims 255 bytes"), std::string::npos) << message;
}

}  // namespace

}  // namespace brawl
