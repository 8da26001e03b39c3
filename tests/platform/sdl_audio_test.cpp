// The mixer back end on SDL's dummy audio driver, which plays in real time into nothing.
#include "platform/sdl/sdl_audio.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/fatal_error.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

void Put16(std::ofstream& out, uint16_t v) {
  out.put(static_cast<char>(v & 0xFF)).put(static_cast<char>(v >> 8));
}
void Put32(std::ofstream& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

// A mono 16-bit wave of `frames` frames of a square tone.
void WriteWave(const std::string& path, int rate, uint32_t frames) {
  std::ofstream out(path, std::ios::binary);
  const uint32_t bytes = frames * 2;
  out.write("RIFF", 4);
  Put32(out, 36 + bytes);
  out.write("WAVEfmt ", 8);
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, 1);
  Put32(out, static_cast<uint32_t>(rate));
  Put32(out, static_cast<uint32_t>(rate) * 2);
  Put16(out, 2);
  Put16(out, 16);
  out.write("data", 4);
  Put32(out, bytes);
  for (uint32_t i = 0; i < frames; ++i) Put16(out, (i / 40) % 2 ? 0x2000 : 0xE000);
}

// Waits, with a generous bound, until the sound reads stopped.
bool EndsWithin(SdlAudio& audio, int handle, std::chrono::seconds bound) {
  const auto give_up = std::chrono::steady_clock::now() + bound;
  while (audio.IsPlaying(handle)) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

class SdlAudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeTempDir();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  void TearDown() override {
    unsetenv("SDL_AUDIODRIVER");
    std::filesystem::remove_all(dir_);
  }
  std::string Wave(const std::string& name, int rate, uint32_t frames) {
    const std::string path = dir_ + "/" + name;
    WriteWave(path, rate, frames);
    return path;
  }
  std::string dir_;
};

TEST_F(SdlAudioTest, SoundPlaysOnceAndThenReadsStopped) {
  SdlAudio audio;
  ASSERT_TRUE(audio.Open());
  // 11025 Hz mono is converted to the device's format on load.
  const int wave = audio.Load(Wave("short.wav", 11025, 1100));
  const int handle = audio.Play(wave);
  ASSERT_GE(handle, 0);
  EXPECT_TRUE(audio.IsPlaying(handle));
  EXPECT_TRUE(EndsWithin(audio, handle, std::chrono::seconds(10)));
}

TEST_F(SdlAudioTest, EightPlayAtOnceAndANinthIsNotPlayed) {
  SdlAudio audio;
  ASSERT_TRUE(audio.Open());
  const int wave = audio.Load(Wave("long.wav", 22050, 22050 * 5));
  std::vector<int> handles;
  for (int i = 0; i < 8; ++i) {
    handles.push_back(audio.Play(wave));
    EXPECT_TRUE(audio.IsPlaying(handles.back())) << i;
  }
  const int ninth = audio.Play(wave);
  EXPECT_FALSE(audio.IsPlaying(ninth));
  for (int handle : handles) EXPECT_TRUE(audio.IsPlaying(handle));
}

TEST_F(SdlAudioTest, FinishedSoundStaysFinishedWhenItsChannelPlaysAgain) {
  SdlAudio audio;
  ASSERT_TRUE(audio.Open());
  const int blip = audio.Load(Wave("blip.wav", 22050, 200));
  const int tone = audio.Load(Wave("tone.wav", 22050, 22050 * 5));
  const int first = audio.Play(blip);
  ASSERT_TRUE(EndsWithin(audio, first, std::chrono::seconds(10)));
  const int second = audio.Play(tone);  // takes the first free channel: the same one
  EXPECT_TRUE(audio.IsPlaying(second));
  EXPECT_FALSE(audio.IsPlaying(first));
}

TEST_F(SdlAudioTest, BadWaveIsAnErrorNamingTheFile) {
  SdlAudio audio;
  ASSERT_TRUE(audio.Open());
  const std::string path = dir_ + "/broken.wav";
  std::ofstream(path) << "RIFF and nothing else";
  try {
    audio.Load(path);
    ADD_FAILURE() << "no error";
  } catch (const FatalError& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
  }
  EXPECT_THROW(audio.Load(dir_ + "/missing.wav"), FatalError);
}

TEST_F(SdlAudioTest, NoAudioDeviceRunsSilentButStillChecksTheFiles) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  SdlAudio audio;
  EXPECT_FALSE(audio.Open());
  const int wave = audio.Load(Wave("cue.wav", 22050, 22050));
  EXPECT_FALSE(audio.IsPlaying(audio.Play(wave)));
  EXPECT_THROW(audio.Load(dir_ + "/missing.wav"), FatalError);
}

}  // namespace

}  // namespace brawl
