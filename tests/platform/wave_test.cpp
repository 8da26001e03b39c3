#include "platform/wave.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/fatal_error.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void PutId(Bytes& b, const char* id) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(id[i]));
}

struct WaveLayout {
  uint16_t tag = 1;
  uint16_t channels = 1;
  uint32_t rate = 22050;
  uint16_t bits = 16;
  uint32_t data_bytes = 0;
  uint32_t claimed_data_bytes = UINT32_MAX;  // UINT32_MAX: the real size
  bool extra_chunk = false;
};

Bytes MakeWave(const WaveLayout& w) {
  Bytes body;
  PutId(body, "WAVE");
  if (w.extra_chunk) {  // an odd-sized chunk the reader must step over, pad byte included
    PutId(body, "LIST");
    Put32(body, 3);
    for (char c : {'a', 'b', 'c', '\0'}) body.push_back(static_cast<uint8_t>(c));
  }
  PutId(body, "fmt ");
  Put32(body, 16);
  Put16(body, w.tag);
  Put16(body, w.channels);
  Put32(body, w.rate);
  const uint16_t align = static_cast<uint16_t>(w.channels * w.bits / 8);
  Put32(body, w.rate * align);
  Put16(body, align);
  Put16(body, w.bits);
  PutId(body, "data");
  Put32(body, w.claimed_data_bytes == UINT32_MAX ? w.data_bytes : w.claimed_data_bytes);
  for (uint32_t i = 0; i < w.data_bytes; ++i) body.push_back(static_cast<uint8_t>(i * 7));
  Bytes file;
  PutId(file, "RIFF");
  Put32(file, static_cast<uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

class WaveFile : public ::testing::Test {
 protected:
  std::string dir_ = MakeTempDir();
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Write(const Bytes& bytes, const std::string& name = "t.wav") {
    const std::string path = dir_ + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  // The message of the refusal; fails when the wave was accepted.
  std::string Refusal(const Bytes& bytes) {
    const std::string path = Write(bytes);
    try {
      ReadWave(path);
    } catch (const FatalError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find(path), std::string::npos) << message;
      EXPECT_EQ(message.find('\n'), std::string::npos) << message;
      return message;
    }
    ADD_FAILURE() << "accepted";
    return "";
  }
};

TEST_F(WaveFile, GoodWaveGivesItsFormatAndLength) {
  WaveLayout layout;
  layout.channels = 2;
  layout.rate = 8000;
  layout.data_bytes = 4 * 1000;  // 1000 stereo 16-bit frames
  layout.extra_chunk = true;
  const Wave wave = ReadWave(Write(MakeWave(layout)));
  EXPECT_EQ(wave.channels, 2);
  EXPECT_EQ(wave.sample_rate, 8000);
  EXPECT_EQ(wave.bits_per_sample, 16);
  EXPECT_EQ(wave.frames, 1000);
  EXPECT_EQ(wave.samples.size(), 4000u);
  EXPECT_EQ(wave.samples[1], 7);
  EXPECT_DOUBLE_EQ(WaveMilliseconds(wave), 125.0);
}

TEST_F(WaveFile, LengthIsFramesTimesThousandOverRate) {
  WaveLayout layout;
  layout.bits = 8;
  layout.rate = 22050;
  layout.data_bytes = 2205;
  const Wave wave = ReadWave(Write(MakeWave(layout)));
  EXPECT_EQ(wave.frames, 2205);
  EXPECT_EQ(WaveMilliseconds(wave), 2205 * 1000.0 / 22050);
}

TEST_F(WaveFile, EmptyDataIsASilentWave) {
  const Wave wave = ReadWave(Write(MakeWave(WaveLayout{})));
  EXPECT_EQ(wave.frames, 0);
  EXPECT_EQ(WaveMilliseconds(wave), 0.0);
}

TEST_F(WaveFile, TruncatedDataChunkIsRefused) {
  WaveLayout layout;
  layout.data_bytes = 100;
  Bytes bytes = MakeWave(layout);
  bytes.resize(bytes.size() - 10);
  EXPECT_NE(Refusal(bytes).find("claims"), std::string::npos);
}

TEST_F(WaveFile, DataChunkClaimingTooMuchIsRefused) {
  WaveLayout layout;
  layout.data_bytes = 100;
  layout.claimed_data_bytes = 0xFFFFFFF0u;  // would wrap a 32-bit offset
  EXPECT_NE(Refusal(MakeWave(layout)).find("data"), std::string::npos);
}

TEST_F(WaveFile, NonPcmIsRefused) {
  WaveLayout layout;
  layout.tag = 3;  // IEEE float
  layout.bits = 32;
  layout.data_bytes = 8;
  EXPECT_NE(Refusal(MakeWave(layout)).find("PCM"), std::string::npos);
}

TEST_F(WaveFile, UnsupportedBitsAreRefused) {
  WaveLayout layout;
  layout.bits = 24;
  layout.data_bytes = 6;
  EXPECT_NE(Refusal(MakeWave(layout)).find("24"), std::string::npos);
}

TEST_F(WaveFile, OtherBrokenFilesAreRefused) {
  Refusal({});
  Refusal({'R', 'I', 'F', 'F'});
  Bytes not_riff = MakeWave(WaveLayout{});
  not_riff[0] = 'X';
  Refusal(not_riff);
  Bytes long_header = MakeWave(WaveLayout{});
  long_header[4] = 0xFF;  // the RIFF size claims more than the file
  EXPECT_NE(Refusal(long_header).find("claims"), std::string::npos);
  Bytes no_data;
  PutId(no_data, "RIFF");
  Put32(no_data, 4);
  PutId(no_data, "WAVE");
  EXPECT_NE(Refusal(no_data).find("chunk"), std::string::npos);
  WaveLayout no_channels;
  no_channels.channels = 0;
  Refusal(MakeWave(no_channels));
  WaveLayout no_rate;
  no_rate.rate = 0;
  Refusal(MakeWave(no_rate));
}

TEST_F(WaveFile, EveryCutOfAGoodWaveIsRefused) {
  WaveLayout layout;
  layout.data_bytes = 64;
  layout.extra_chunk = true;
  const Bytes whole = MakeWave(layout);
  for (size_t size = 0; size < whole.size(); ++size) {
    const std::string path = Write(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)));
    EXPECT_THROW(ReadWave(path), FatalError) << "cut at " << size;
  }
}

}  // namespace

}  // namespace brawl
