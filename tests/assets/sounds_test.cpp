#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "data_files.h"
#include "platform/wave.h"

namespace brawl {

namespace {

const char* const kSounds[] = {"readygo.wav", "fire.wav",   "ogaa.wav",  "title0.wav",
                               "title1.wav",  "title2.wav", "title3.wav"};

std::vector<double> Samples(const Wave& wave) {
  std::vector<double> out;
  for (size_t i = 0; i + 1 < wave.samples.size(); i += 2)
    out.push_back(static_cast<int16_t>(wave.samples[i] | (wave.samples[i + 1] << 8)) / 32768.0);
  return out;
}

// The RMS of the loudest 50 ms.
double Loudness(const std::vector<double>& s, int rate) {
  const size_t window = static_cast<size_t>(rate / 20);
  double sum = 0, loudest = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    sum += s[i] * s[i];
    if (i >= window) sum -= s[i - window] * s[i - window];
    loudest = std::max(loudest, std::sqrt(std::max(0.0, sum) / window));
  }
  return loudest;
}

TEST(Sounds, AreShortSixteenBitMonoPcm) {
  for (const char* name : kSounds) {
    SCOPED_TRACE(name);
    const Wave wave = ReadWave(DataFile(name));
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.bits_per_sample, 16);
    EXPECT_TRUE(wave.sample_rate == 22050 || wave.sample_rate == 44100);
    const double ms = WaveMilliseconds(wave);
    EXPECT_GT(ms, 50.0);
    EXPECT_LT(ms, 2000.0);
  }
  EXPECT_NEAR(WaveMilliseconds(ReadWave(DataFile("readygo.wav"))), 1000.0, 300.0);
  EXPECT_LT(WaveMilliseconds(ReadWave(DataFile("fire.wav"))), 200.0);
  EXPECT_LT(WaveMilliseconds(ReadWave(DataFile("ogaa.wav"))), 400.0);
}

// No click at either end, no offset, no clipping, and all about as loud as each other.
TEST(Sounds, StartAndEndSilentAndShareOneLoudness) {
  std::vector<double> loudness;
  for (const char* name : kSounds) {
    SCOPED_TRACE(name);
    const Wave wave = ReadWave(DataFile(name));
    const std::vector<double> s = Samples(wave);
    ASSERT_GT(s.size(), 100u);
    EXPECT_LT(std::fabs(s.front()), 0.002);
    EXPECT_LT(std::fabs(s.back()), 0.002);
    for (size_t i = 0; i < 10; ++i) {
      EXPECT_LT(std::fabs(s[i]), 0.05) << "sample " << i;
      EXPECT_LT(std::fabs(s[s.size() - 1 - i]), 0.05) << "sample " << i << " from the end";
    }
    double sum = 0, peak = 0;
    for (double v : s) sum += v, peak = std::max(peak, std::fabs(v));
    EXPECT_LT(std::fabs(sum / s.size()), 0.005);
    EXPECT_GT(peak, 0.3);
    EXPECT_LT(peak, 0.95);
    loudness.push_back(Loudness(s, wave.sample_rate));
  }
  const auto [quietest, loudest] = std::minmax_element(loudness.begin(), loudness.end());
  EXPECT_LT(20 * std::log10(*loudest / *quietest), 3.0);
}

TEST(Sounds, TitleSoundsAreFourDifferentOnes) {
  std::vector<std::vector<uint8_t>> seen;
  for (const char* name : {"title0.wav", "title1.wav", "title2.wav", "title3.wav"}) {
    const Wave wave = ReadWave(DataFile(name));
    for (const auto& other : seen) EXPECT_NE(wave.samples, other) << name;
    seen.push_back(wave.samples);
  }
}

// The game pauses for env.ini's first number while the start cue plays: the two agree.
TEST(Sounds, SettingsFileWaitsJustAsLongAsTheStartCue) {
  std::ifstream in(DataFile("env.ini"), std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  ASSERT_EQ(lines.size(), 3u);
  for (const std::string& line : lines) {
    const size_t comma = line.find(',');
    ASSERT_NE(comma, std::string::npos) << line;
    EXPECT_EQ(line[comma + 1], '"') << line;
    EXPECT_EQ(line.back(), '"') << line;
  }
  const int wait = std::atoi(lines[0].c_str());
  EXPECT_EQ(wait, std::lround(WaveMilliseconds(ReadWave(DataFile("readygo.wav")))));
  EXPECT_EQ(lines[1].substr(0, 2), "0,");
  EXPECT_EQ(lines[2].substr(0, 2), "0,");
}

}  // namespace

}  // namespace brawl
