#include "platform/headless/headless_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/fatal_error.h"
#include "platform/options.h"
#include "platform/surface.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

// A mono 8-bit wave of `frames` frames at `rate`.
void WriteWave(const std::string& path, uint32_t frames, uint32_t rate) {
  std::vector<uint8_t> b;
  auto id = [&](const char* s) { b.insert(b.end(), s, s + 4); };
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto u16 = [&](uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
  };
  id("RIFF");
  u32(36 + frames + (frames & 1));
  id("WAVE");
  id("fmt ");
  u32(16);
  u16(1);
  u16(1);
  u32(rate);
  u32(rate);
  u16(1);
  u16(8);
  id("data");
  u32(frames);
  b.resize(b.size() + frames + (frames & 1), 128);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

TEST(VirtualClock, StartsAtTheGivenSecondsAndMovesOnlyByFlipsAndPauses) {
  VirtualClock clock(36000.0, 1000.0 / 60.0);
  EXPECT_EQ(clock.Seconds(), 36000.0f);
  EXPECT_EQ(clock.Seconds(), 36000.0f);  // reading does not move it
  for (int i = 0; i < 60; ++i) clock.Flip();
  double elapsed = 0;
  for (int i = 0; i < 60; ++i) elapsed += 1000.0 / 60.0;
  EXPECT_EQ(clock.ElapsedMs(), elapsed);
  EXPECT_EQ(clock.Seconds(), static_cast<float>(36000.0 + elapsed / 1000.0));
  clock.Pause(1000);
  EXPECT_EQ(clock.ElapsedMs(), elapsed + 1000.0);
  clock.Pause(-5);  // a negative wait counts as none
  clock.Pause(0);
  EXPECT_EQ(clock.ElapsedMs(), elapsed + 1000.0);
}

TEST(VirtualClock, ReadingIsTheFloatOfTheDoubleSum) {
  VirtualClock clock(0.1, 0.3);
  clock.Flip();
  EXPECT_EQ(clock.Seconds(), static_cast<float>(0.1 + 0.3 / 1000.0));
}

class Machine : public ::testing::Test {
 protected:
  std::string dir_ = MakeTempDir();
  void TearDown() override { std::filesystem::remove_all(dir_); }
};

TEST_F(Machine, PlatformIsWiredToTheMachine) {
  Options options;
  options.clock_start = 100;
  options.frame_ms = 20;
  HeadlessMachine m(options, "/some/folder");
  EXPECT_EQ(m.platform.program_folder, "/some/folder/");
  EXPECT_EQ(HeadlessMachine(options, "/x/").platform.program_folder, "/x/");
  m.platform.display.Open(640, 480);
  EXPECT_EQ(m.display.width(), 640);
  EXPECT_EQ(m.display.height(), 480);
  EXPECT_FALSE(m.platform.display.Pump());
  m.platform.display.Flip(Surface{});
  EXPECT_EQ(m.platform.clock.Seconds(), 100.02f);
  m.platform.clock.Pause(500);
  EXPECT_EQ(m.clock.ElapsedMs(), 520.0);
}

TEST_F(Machine, SoundPlaysExactlyAsLongAsItsWave) {
  Options options;
  options.frame_ms = 10;
  HeadlessMachine m(options, dir_);
  WriteWave(dir_ + "/a.wav", 441, 22050);  // 20 ms
  Audio& audio = m.platform.audio;
  ASSERT_TRUE(audio.Open());
  const int wave = audio.Load(dir_ + "/a.wav");
  EXPECT_EQ(m.audio.LengthMs(wave), 20.0);
  const int first = audio.Play(wave);
  m.clock.Flip();
  const int second = audio.Play(wave);  // same wave again, its own handle
  EXPECT_NE(first, second);
  EXPECT_TRUE(audio.IsPlaying(first));
  EXPECT_TRUE(audio.IsPlaying(second));
  m.clock.Flip();  // 20 ms since the first started: over
  EXPECT_FALSE(audio.IsPlaying(first));
  EXPECT_TRUE(audio.IsPlaying(second));
  m.clock.Pause(9);
  EXPECT_TRUE(audio.IsPlaying(second));
  m.clock.Pause(1);
  EXPECT_FALSE(audio.IsPlaying(second));
  EXPECT_FALSE(audio.IsPlaying(first));
}

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
}

TEST_F(Machine, JoysticksOpenNoMoreThanAsked) {
  Options options;
  options.joysticks = 2;
  HeadlessMachine m(options, dir_);
  EXPECT_EQ(m.platform.joysticks.Open(1), 1);
  m.held.joystick[1] = 0xFF;
  EXPECT_FALSE(m.platform.joysticks.Read(1).buttons[0]);
  EXPECT_EQ(HeadlessMachine(options, dir_).platform.joysticks.Open(2), 2);
}

TEST_F(Machine, KeyboardHoldsWhatThePassHolds) {
  HeadlessMachine m(Options{}, dir_);
  EXPECT_FALSE(m.platform.keyboard.Held(Key::Enter));
  m.held = ParseInputScript("1 Enter M\n", 0, "s").steps[0].held;
  EXPECT_TRUE(m.platform.keyboard.Held(Key::Enter));
  EXPECT_TRUE(m.platform.keyboard.Held(Key::M));
  EXPECT_FALSE(m.platform.keyboard.Held(Key::Space));
}

TEST_F(Machine, DialogLaunchesOnceWithTheAskedTicksOnTopOfThePresets) {
  Options options;
  options.joysticks = 2;
  options.joystick[1] = true;
  options.show_fps = true;
  HeadlessMachine m(options, dir_);
  SettingsDialog& dialog = m.platform.dialog;
  dialog.Place(320, 240);
  DialogControls controls;
  controls.hires_ticked = true;  // an env.ini preset
  dialog.Apply(controls);
  dialog.Show();
  std::vector<DialogEvent> events;
  dialog.Pump(controls, events, true);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0], DialogEvent::Launch);
  EXPECT_TRUE(controls.hires_ticked);
  EXPECT_TRUE(controls.fps_ticked);
  EXPECT_FALSE(controls.joystick_ticked[0]);
  EXPECT_TRUE(controls.joystick_ticked[1]);
  dialog.Pump(controls, events, false);
  EXPECT_EQ(events.size(), 1u);
  EXPECT_TRUE(m.dialog.placed());
  EXPECT_EQ(m.dialog.width(), 320);
}

TEST_F(Machine, DialogLeavesUntickedWhatNobodyAskedFor) {
  HeadlessMachine m(Options{}, dir_);
  DialogControls controls;
  controls.joystick_enabled[0] = controls.joystick_enabled[1] = false;
  std::vector<DialogEvent> events;
  m.platform.dialog.Show();
  m.platform.dialog.Pump(controls, events, true);
  EXPECT_EQ(events.size(), 1u);
  EXPECT_FALSE(controls.hires_ticked || controls.fps_ticked || controls.joystick_ticked[0] ||
               controls.joystick_ticked[1]);
}

}  // namespace

}  // namespace brawl
