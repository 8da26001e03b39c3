#include "platform/headless/headless_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/fatal_error.h"
#include "support/data_files.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

// The committed scripted runs pin the machine and its input scripts as the game drives them;
// these are the edges a run does not reach.
TEST(VirtualClock, ReadingIsTheFloatOfTheDoubleSumAndNegativePausesCountAsNone) {
  VirtualClock clock(0.1, 0.3);
  clock.Flip();
  EXPECT_EQ(clock.Seconds(), static_cast<float>(0.1 + 0.3 / 1000.0));
  clock.Pause(-5);
  clock.Pause(0);
  EXPECT_EQ(clock.ElapsedMs(), 0.3);
}

TEST(Machine, EmptyWaveEndsAtOnceAndBadWaveIsFatal) {
  HeadlessMachine m(HeadlessSetup{});
  const std::string dir = MakeTempDir();
  WriteWave(dir + "/empty.wav", 0, 8000);
  EXPECT_FALSE(m.audio.IsPlaying(m.audio.Play(m.audio.Load(dir + "/empty.wav"))));
  EXPECT_THROW(m.audio.Load(dir + "/absent.wav"), FatalError);
  EXPECT_THROW(m.audio.Play(7), FatalError);
  std::filesystem::remove_all(dir);
}

// The scripted runs drive the joysticks; here what a script holds that they do not: both ways
// of an axis at once, and a joystick that is not attached.
TEST(Machine, JoysticksReadBothWaysCentredAndNothingWhenNotAttached) {
  HeadlessSetup setup;
  setup.joysticks = 1;
  HeadlessMachine m(setup);
  EXPECT_EQ(m.platform.joysticks.Open(2), 1);
  m.held = ParseInputScript("1 J1.Left J1.Right J1.Up J1.B3\n", 1, "s").steps[0].held;
  const RawJoystick r = m.platform.joysticks.Read(0);
  EXPECT_EQ(r.x, 0);
  EXPECT_EQ(r.y, -32768);
  EXPECT_TRUE(r.buttons[3] && !r.buttons[0]);
  m.held.joystick[1] = 0xFF;
  EXPECT_FALSE(m.platform.joysticks.Read(1).buttons[0]);
}

// The committed scripted runs read scripts of every ordinary kind (counts, keys, joysticks,
// comments, a count alone); here what they do not reach. Bad lines are corpus files of the
// damaged-input test (fuzz/corpus/input_script/refused_*).
TEST(InputScript, EveryKeyNameAndTheLongestCountsAreTaken) {
  const InputScript all = ParseInputScript(
      "1 Up Down Left Right Num1 Num2 Num3 Num4 S X C Z N B M Enter Space Escape F3\n", 0, "s");
  EXPECT_EQ(all.steps[0].held.keys, (1u << static_cast<int>(Key::Count)) - 1);
  EXPECT_EQ(ParseInputScript("0000000000000000000000000001 Up\n", 0, "s").passes, 1);
  // A billion-pass hold is one step, the last count accepted; the cursor walks past it.
  const InputScript billion = ParseInputScript("1000000000 Up\n1000000000 Down\n", 0, "s");
  EXPECT_EQ(billion.steps.size(), 2u);
  EXPECT_EQ(billion.passes, 2000000000);
  ScriptCursor late{0, 999999999};
  EXPECT_TRUE(NextHeld(billion, late).Holds(Key::Up));
  EXPECT_TRUE(NextHeld(billion, late).Holds(Key::Down));
}

}  // namespace

}  // namespace brawl
