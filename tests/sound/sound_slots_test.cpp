#include <gtest/gtest.h>

#include <map>
#include <set>

#include "game/game.h"
#include "platform/fatal_error.h"
#include "sound/sound.h"
#include "support/fake_platform.h"

// An audio device whose sounds play until the test stops them.
struct ScriptedAudio : Audio {
  bool device = true;
  std::set<std::string> missing;
  std::vector<std::string> loaded;
  std::vector<int> started;  // wave of every Play, by handle
  std::set<int> stopped;
  bool Open() override { return device; }
  int Load(const std::string& path) override {
    if (missing.count(path)) throw FatalError("loading a sound: " + path + ": no such file");
    loaded.push_back(path);
    return static_cast<int>(loaded.size() - 1);
  }
  int Play(int wave) override {
    started.push_back(wave);
    return static_cast<int>(started.size() - 1);
  }
  bool IsPlaying(int handle) override { return stopped.count(handle) == 0; }
};

struct SoundTest : ::testing::Test {
  FakePlatform fake;
  ScriptedAudio audio;
  Platform platform{"/nowhere/", fake.clock, fake.keyboard, fake.display, audio, fake.joysticks, fake.dialog};
  Game game{platform};

  void SetUp() override {
    game.settings.AppPath = "/data/";
    game.sound.log_requests = true;
  }
  std::vector<int> Busy() const { return {std::begin(game.sound.SoundBusy), std::end(game.sound.SoundBusy)}; }
};

TEST_F(SoundTest, EveryWaveIsLoadedFromTheProgramFolderAtTheLaunch) {
  SetUpSound(game);
  EXPECT_EQ(
      std::set<std::string>(audio.loaded.begin(), audio.loaded.end()),
      (std::set<std::string>{"/data/readygo.wav", "/data/fire.wav", "/data/ogaa.wav", "/data/title0.wav",
                             "/data/title1.wav", "/data/title2.wav", "/data/title3.wav"}));
  // Playing does not read the file again.
  PlaySound(game, "fire.wav");
  PlaySound(game, "fire.wav");
  EXPECT_EQ(audio.loaded.size(), 7u);
  EXPECT_EQ(audio.started.size(), 2u);
  EXPECT_EQ(audio.loaded[audio.started[1]], "/data/fire.wav");
}

TEST_F(SoundTest, AMissingWaveEndsTheLaunchNamingTheFile) {
  audio.missing.insert("/data/title3.wav");
  try {
    SetUpSound(game);
    FAIL() << "no error";
  } catch (const FatalError& e) {
    EXPECT_NE(std::string(e.what()).find("/data/title3.wav"), std::string::npos);
  }
}

TEST_F(SoundTest, TheNinthSoundIsDroppedButStillLogged) {
  SetUpSound(game);
  for (int i = 0; i < 9; ++i) PlaySound(game, i == 8 ? "ogaa.wav" : "fire.wav");
  EXPECT_EQ(Busy(), std::vector<int>(8, -1));
  EXPECT_EQ(audio.started.size(), 8u);
  ASSERT_EQ(game.sound.requested.size(), 9u);
  EXPECT_EQ(game.sound.requested.back(), "ogaa.wav");
}

TEST_F(SoundTest, FinishedSlotsAreFreedByTheNextUpdateAndTheLowestIsReused) {
  SetUpSound(game);
  for (int i = 0; i < 4; ++i) PlaySound(game, "fire.wav");
  audio.stopped = {1, 2};
  EXPECT_EQ(Busy(), (std::vector<int>{-1, -1, -1, -1, 0, 0, 0, 0}));  // nothing frees itself
  UpdateSounds(game);
  EXPECT_EQ(Busy(), (std::vector<int>{-1, 0, 0, -1, 0, 0, 0, 0}));
  PlaySound(game, "ogaa.wav");
  EXPECT_EQ(Busy(), (std::vector<int>{-1, -1, 0, -1, 0, 0, 0, 0}));
  EXPECT_EQ(game.sound.handle[1], 4);
}

TEST_F(SoundTest, WithoutADeviceTheGameRunsSilentAndEverySoundEndsAtOnce) {
  audio.device = false;
  testing::internal::CaptureStderr();
  SetUpSound(game);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.rfind("brawl: warning: ", 0), 0u) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
  EXPECT_EQ(audio.loaded.size(), 7u);  // a missing wave is still found at the launch

  PlaySound(game, "readygo.wav");
  EXPECT_EQ(Busy()[0], -1);  // busy for the rest of this pass, as always
  UpdateSounds(game);
  EXPECT_EQ(Busy()[0], 0);
  EXPECT_TRUE(audio.started.empty());
  EXPECT_EQ(game.sound.requested, (std::vector<std::string>{"readygo.wav"}));
}
