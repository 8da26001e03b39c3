// Joysticks through SDL's virtual devices: the real discovery and polling code, with pads
// that the test plugs in and out.
#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>

#include "input/joystick.h"
#include "platform/sdl/sdl_joysticks.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

// A pad that the test holds: its own handle to set what the game should read.
struct VirtualPad {
  int device = -1;
  SDL_Joystick* handle = nullptr;
};

class SdlJoystickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    ASSERT_EQ(SDL_Init(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    if (SDL_NumJoysticks() != 0) GTEST_SKIP() << "real joysticks attached; these tests need none";
  }
  void TearDown() override {
    for (VirtualPad& pad : pads_) {
      if (pad.handle != nullptr) SDL_JoystickClose(pad.handle);
    }
    devices_.reset();
    SDL_Quit();
  }

  // A plain joystick with `axes` axes and `buttons` buttons, or a pad SDL knows.
  VirtualPad& Attach(bool controller, int axes = 2, int buttons = 4) {
    VirtualPad pad;
    pad.device = controller ? SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                                        SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0)
                            : SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, axes, buttons, 0);
    EXPECT_GE(pad.device, 0) << SDL_GetError();
    pad.handle = SDL_JoystickOpen(pad.device);
    EXPECT_NE(pad.handle, nullptr) << SDL_GetError();
    pads_.push_back(pad);
    return pads_.back();
  }

  void Detach(VirtualPad& pad) {
    const SDL_JoystickID id = SDL_JoystickInstanceID(pad.handle);
    for (int device = 0; device < SDL_NumJoysticks(); ++device) {
      if (SDL_JoystickGetDeviceInstanceID(device) == id) {
        ASSERT_EQ(SDL_JoystickDetachVirtual(device), 0);
      }
    }
    SDL_JoystickClose(pad.handle);
    pad.handle = nullptr;
  }

  // Opens SDL's joysticks as the game's discovery does.
  void Discover() {
    devices_ = std::make_unique<SdlJoystickDevices>();
    DiscoverJoysticks(joy_, *devices_);
  }
  void Poll(int player) { PollJoystick(joy_, *devices_, player); }
  // Player `player`'s four buttons as the game reads them.
  std::array<int32_t, 4> Buttons(int player) const {
    return {joy_.JoyButton[player][0], joy_.JoyButton[player][1], joy_.JoyButton[player][2],
            joy_.JoyButton[player][3]};
  }

  JoystickState joy_;
  std::unique_ptr<SdlJoystickDevices> devices_;
  std::deque<VirtualPad> pads_;  // references stay valid as pads are added
};

TEST_F(SdlJoystickTest, NoPadCountsNoneAndOnePadServesPlayerOneOnly) {
  Discover();
  EXPECT_EQ(joy_.JoystickCount, 0);
  EXPECT_FALSE(joy_.JoystickPresent);
  joy_.JoyX[0] = joy_.JoyButton[0][2] = 1;
  Poll(0);  // no pad: polling changes nothing
  EXPECT_EQ(joy_.JoyX[0], 1);
  EXPECT_EQ(joy_.JoyButton[0][2], 1);

  // Fewer than four buttons: the missing ones read up. How the axes read is ConditionAxis's
  // test; that polling conditions them, the unplugging test's.
  VirtualPad& pad = Attach(false, 2, 2);
  Discover();
  EXPECT_EQ(joy_.JoystickCount, 1);
  EXPECT_TRUE(joy_.JoystickPresent);
  SDL_JoystickSetVirtualButton(pad.handle, 1, SDL_PRESSED);
  Poll(0);
  EXPECT_EQ(Buttons(0), (std::array<int32_t, 4>{0, 1, 0, 0}));

  // Player 2 has no pad: nothing of player 1's reaches them.
  SDL_JoystickSetVirtualAxis(pad.handle, 0, 32767);
  Poll(1);
  EXPECT_EQ(joy_.JoyX[1], 0);
  EXPECT_EQ(joy_.JoyButton[1][1], 0);
}

TEST_F(SdlJoystickTest, EachPlayerTakesThePadTheControlsFileChose) {
  // Pad k holds button k down, so a player's held button says which pad they read. Of three
  // pads two are counted, the first two in SDL's order unless the controls file chose.
  for (int k = 0; k < 3; ++k) SDL_JoystickSetVirtualButton(Attach(false).handle, k, SDL_PRESSED);
  const struct {
    std::array<std::string, 2> choices;
    int pads[2];
  } cases[] = {
      {{"", ""}, {0, 1}},
      {{"3", "1"}, {2, 0}},
      {{"", "1"}, {1, 0}},
      {{"virtual joystick", ""}, {0, 1}},  // by name, case ignored: the first of that name
      {{"9", "2"}, {0, 1}},                // not plugged in: warned about, the pads go in order
  };
  for (const auto& c : cases) {
    devices_ = std::make_unique<SdlJoystickDevices>();
    devices_->ChoosePads(c.choices);
    joy_ = JoystickState{};
    DiscoverJoysticks(joy_, *devices_);
    ASSERT_EQ(joy_.JoystickCount, 2);
    for (int player = 0; player < 2; ++player) {
      Poll(player);
      for (int b = 0; b < 3; ++b)
        EXPECT_EQ(joy_.JoyButton[player][b], b == c.pads[player] ? 1 : 0)
            << c.choices[0] << "/" << c.choices[1] << ", player " << player + 1 << ", button " << b;
    }
  }
}

TEST_F(SdlJoystickTest, KnownPadIsReadThroughItsMappingStickDpadAndFaceButtons) {
  VirtualPad& pad = Attach(true);
  ASSERT_TRUE(SDL_IsGameController(pad.device));
  Discover();
  ASSERT_EQ(joy_.JoystickCount, 1);

  // The face buttons A, B, X, Y are the game's buttons 0 to 3.
  const SDL_GameControllerButton face[4] = {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B,
                                            SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y};
  for (int b = 0; b < 4; ++b) {
    for (int other = 0; other < 4; ++other) {
      SDL_JoystickSetVirtualButton(pad.handle, face[other], other == b ? SDL_PRESSED : SDL_RELEASED);
    }
    Poll(0);
    std::array<int32_t, 4> pressed{};
    pressed[static_cast<size_t>(b)] = 1;
    EXPECT_EQ(Buttons(0), pressed) << b;
  }

  SDL_JoystickSetVirtualAxis(pad.handle, SDL_CONTROLLER_AXIS_LEFTX, 32767);
  SDL_JoystickSetVirtualAxis(pad.handle, SDL_CONTROLLER_AXIS_LEFTY, -32768);
  Poll(0);
  EXPECT_EQ(joy_.JoyX[0], 1);
  EXPECT_EQ(joy_.JoyY[0], -1);

  // The right stick steers nothing; the d-pad does, and wins over the left stick.
  SDL_JoystickSetVirtualAxis(pad.handle, SDL_CONTROLLER_AXIS_LEFTX, 0);
  SDL_JoystickSetVirtualAxis(pad.handle, SDL_CONTROLLER_AXIS_LEFTY, 0);
  SDL_JoystickSetVirtualAxis(pad.handle, SDL_CONTROLLER_AXIS_RIGHTX, 32767);
  Poll(0);
  EXPECT_EQ(joy_.JoyX[0], 0);
  SDL_JoystickSetVirtualAxis(pad.handle, SDL_CONTROLLER_AXIS_LEFTX, 32767);
  SDL_JoystickSetVirtualButton(pad.handle, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(pad.handle, SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_PRESSED);
  Poll(0);
  EXPECT_EQ(joy_.JoyX[0], -1);
  EXPECT_EQ(joy_.JoyY[0], 1);
}

// Player 1's pad unplugged reads centred with no button held, while player 2's pad of the same
// kind reads on; plugged in again it is player 1's again, not player 2's.
TEST_F(SdlJoystickTest, PadUnpluggedReadsCentredAndComesBackAsItsPlayersOwn) {
  VirtualPad* one = &Attach(false);
  VirtualPad& two = Attach(false);
  Discover();
  ASSERT_EQ(joy_.JoystickCount, 2);
  SDL_JoystickSetVirtualAxis(one->handle, 0, 32767);
  SDL_JoystickSetVirtualButton(one->handle, 2, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(two.handle, 0, SDL_PRESSED);
  Poll(0);
  EXPECT_EQ(joy_.JoyX[0], 1);
  EXPECT_EQ(joy_.JoyButton[0][2], 1);

  Detach(*one);
  for (int pass = 0; pass < 3; ++pass) {
    Poll(0);
    Poll(1);
    EXPECT_EQ(joy_.JoyX[0], 0);
    EXPECT_EQ(Buttons(0), (std::array<int32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(Buttons(1), (std::array<int32_t, 4>{1, 0, 0, 0}));
  }

  one = &Attach(false);
  SDL_JoystickSetVirtualAxis(one->handle, 1, -32768);
  SDL_JoystickSetVirtualButton(one->handle, 3, SDL_PRESSED);
  Poll(0);
  Poll(1);
  EXPECT_EQ(joy_.JoyY[0], -1);
  EXPECT_EQ(Buttons(0), (std::array<int32_t, 4>{0, 0, 0, 1}));
  EXPECT_EQ(Buttons(1), (std::array<int32_t, 4>{1, 0, 0, 0}));
  EXPECT_EQ(joy_.JoystickCount, 2);
}

// The GUID of a plain virtual joystick with two axes and four buttons, written as mapping
// databases write it: without the checksum of the pad's name.
std::string PlainPadGuid() {
  const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);
  SDL_JoystickGUID id = SDL_JoystickGetDeviceGUID(device);
  id.data[2] = id.data[3] = 0;
  char guid[64];
  SDL_JoystickGetGUIDString(id, guid, sizeof guid);
  SDL_JoystickDetachVirtual(device);
  return guid;
}

// A mapping that swaps the stick's axes and turns the buttons round.
std::string SwappedMapping(const std::string& guid) {
  return guid + ",Swapped Test Pad,a:b3,b:b2,x:b1,y:b0,leftx:a1,lefty:a0,platform:Linux,\n";
}

void ExpectSwappedReading(JoystickState& joy, JoystickDevices& devices, SDL_Joystick* handle) {
  SDL_JoystickSetVirtualAxis(handle, 0, 32767);          // read as Y
  SDL_JoystickSetVirtualButton(handle, 3, SDL_PRESSED);  // read as A, button 0
  PollJoystick(joy, devices, 0);
  EXPECT_EQ(joy.JoyX[0], 0);
  EXPECT_EQ(joy.JoyY[0], 1);
  EXPECT_EQ(joy.JoyButton[0][0], 1);
  EXPECT_EQ(joy.JoyButton[0][3], 0);
}

// The player's mapping file in the config folder, or one named in the environment for SDL.
// Each line of the player's file that SDL cannot take is one warning naming it, and the rest
// are used; another system's lines are not ours.
TEST_F(SdlJoystickTest, MappingFilesOfTheConfigFolderAndTheEnvironmentAreUsed) {
  for (const bool environment : {false, true}) {
    const std::string home = MakeTempDir();
    const std::string file =
        environment ? home + "/pads.txt" : home + "/billboard-brawl/gamecontrollerdb.txt";
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::ofstream(file) << "# my pads\n"
                        << SwappedMapping(PlainPadGuid())
                        << (environment
                                ? ""
                                : PlainPadGuid() + ",No Platform,a:b0,\nno commas at all platform:Linux\n" +
                                      PlainPadGuid() + ",Elsewhere,a:b0,platform:Windows,\n");
    if (environment) {
      devices_.reset();
      SDL_Quit();
      setenv("SDL_GAMECONTROLLERCONFIG_FILE", file.c_str(), 1);
      ASSERT_EQ(SDL_Init(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0);
      unsetenv("SDL_GAMECONTROLLERCONFIG_FILE");
    } else {
      setenv("XDG_CONFIG_HOME", home.c_str(), 1);
      testing::internal::CaptureStderr();
      LoadPadMappings();
      const std::string err = testing::internal::GetCapturedStderr();
      unsetenv("XDG_CONFIG_HOME");
      EXPECT_NE(
          err.find("brawl: warning: joystick mappings: " + file + ":3: it has no platform:Linux, field"),
          std::string::npos)
          << err;
      EXPECT_NE(err.find(file + ":4: "), std::string::npos) << err;
      EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
    }
    VirtualPad& pad = Attach(false);
    ASSERT_TRUE(SDL_IsGameController(pad.device)) << environment;
    Discover();
    ExpectSwappedReading(joy_, *devices_, pad.handle);
    Detach(pad);
    std::filesystem::remove_all(home);
  }
}

// The mappings are the player's own and the game runs without them: a file that cannot be
// read is one warning naming it, no file is no word at all.
TEST_F(SdlJoystickTest, MappingFileThatCannotBeReadIsAOneLineWarningNamingItAndTheGameGoesOn) {
  const std::string home = MakeTempDir();
  const std::string file = home + "/billboard-brawl/gamecontrollerdb.txt";
  setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  for (const bool there : {false, true}) {
    if (there) std::filesystem::create_directories(file);  // a folder where the file should be
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(LoadPadMappings());
    const std::string err = testing::internal::GetCapturedStderr();
    if (!there) {
      EXPECT_EQ(err, "");
      continue;
    }
    EXPECT_EQ(err.rfind("brawl: warning: cannot read joystick mappings: " + file + ": ", 0), 0u) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
  }
  unsetenv("XDG_CONFIG_HOME");
  std::filesystem::remove_all(home);
}

TEST_F(SdlJoystickTest, LayerThatCannotStartIsAOneLineWarningAndNoJoystick) {
  // SDL's joystick layer does not fail on demand; a video layer with no driver to start
  // stands in for it.
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  SdlSubsystem input;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(StartJoystickInput(input, SDL_INIT_VIDEO));
  const std::string err = testing::internal::GetCapturedStderr();
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  EXPECT_FALSE(input.started());
  EXPECT_EQ(err.rfind("brawl: warning: no joysticks: ", 0), 0u) << err;
  EXPECT_NE(err.find("the game runs with the keyboard"), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
}

}  // namespace

}  // namespace brawl
