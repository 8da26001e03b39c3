#include "platform/headless/headless_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/fatal_error.h"
#include "platform/options.h"
#include "support/data_files.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

// The committed scripted runs pin the machine as the game drives it; these are the edges
// a run does not reach.
TEST(VirtualClock, ReadingIsTheFloatOfTheDoubleSumAndNegativePausesCountAsNone) {
  VirtualClock clock(0.1, 0.3);
  clock.Flip();
  EXPECT_EQ(clock.Seconds(), static_cast<float>(0.1 + 0.3 / 1000.0));
  clock.Pause(-5);
  clock.Pause(0);
  EXPECT_EQ(clock.ElapsedMs(), 0.3);
}

class Machine : public ::testing::Test {
 protected:
  std::string dir_ = MakeTempDir();
  void TearDown() override { std::filesystem::remove_all(dir_); }
};

TEST_F(Machine, EmptyWaveEndsAtOnceAndBadWaveIsFatal) {
  HeadlessMachine m(Options{}, dir_);
  WriteWave(dir_ + "/empty.wav", 0, 8000);
  EXPECT_FALSE(m.audio.IsPlaying(m.audio.Play(m.audio.Load(dir_ + "/empty.wav"))));
  EXPECT_THROW(m.audio.Load(dir_ + "/absent.wav"), FatalError);
  EXPECT_THROW(m.audio.Play(7), FatalError);
}

TEST_F(Machine, JoysticksAttachAndReadTheHeldControls) {
  Options options;
  options.joysticks = 1;
  HeadlessMachine m(options, dir_);
  EXPECT_EQ(m.platform.joysticks.Open(2), 1);
  m.held = ParseInputScript("1 J1.Left J1.Down J1.B1 J1.B3\n", 1, "s").steps[0].held;
  RawJoystick r = m.platform.joysticks.Read(0);
  EXPECT_EQ(r.x, -32768);
  EXPECT_EQ(r.y, 32767);
  EXPECT_FALSE(r.buttons[0]);
  EXPECT_TRUE(r.buttons[1]);
  EXPECT_FALSE(r.buttons[2]);
  EXPECT_TRUE(r.buttons[3]);
  m.held = ParseInputScript("1 J1.Left J1.Right J1.Up\n", 1, "s").steps[0].held;
  r = m.platform.joysticks.Read(0);
  EXPECT_EQ(r.x, 0);  // both ways at once: centred
  EXPECT_EQ(r.y, -32768);
  // Joystick 2 is not attached: it reads centred whatever is held.
  m.held.joystick[1] = 0xFF;
  r = m.platform.joysticks.Read(1);
  EXPECT_EQ(r.x, 0);
  EXPECT_FALSE(r.buttons[0]);
  // Two attached open no more than asked.
  options.joysticks = 2;
  HeadlessMachine two(options, dir_);
  EXPECT_EQ(two.platform.joysticks.Open(1), 1);
  two.held.joystick[1] = 0xFF;
  EXPECT_FALSE(two.platform.joysticks.Read(1).buttons[0]);
  EXPECT_EQ(HeadlessMachine(options, dir_).platform.joysticks.Open(2), 2);
}

}  // namespace

}  // namespace brawl
