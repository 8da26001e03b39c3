// The mixer back end on SDL's dummy audio driver, which plays in real time into nothing.
#include "platform/sdl/sdl_audio.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "base/fatal_error.h"
#include "support/data_files.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

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
    WriteWave(path, frames, static_cast<uint32_t>(rate));
    return path;
  }
  std::string dir_;
};

TEST_F(SdlAudioTest, EightPlayAtOnceANinthIsNotAndAFinishedSoundStaysFinished) {
  {
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
  // 11025 Hz mono is converted to the device's format on load.
  SdlAudio fresh;
  ASSERT_TRUE(fresh.Open());
  const int blip = fresh.Load(Wave("blip.wav", 11025, 1100));
  const int first = fresh.Play(blip);
  ASSERT_GE(first, 0);
  EXPECT_TRUE(fresh.IsPlaying(first));
  ASSERT_TRUE(Until([&] { return !fresh.IsPlaying(first); }, std::chrono::seconds(10)));
  const int second = fresh.Play(fresh.Load(Wave("tone.wav", 22050, 22050 * 5)));  // on the same channel
  EXPECT_TRUE(fresh.IsPlaying(second));
  EXPECT_FALSE(fresh.IsPlaying(first));
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
