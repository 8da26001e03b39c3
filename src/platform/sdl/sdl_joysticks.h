#pragma once
#include <array>
#include <string>

#include "platform/joystick_devices.h"
#include "platform/sdl/sdl_handles.h"

namespace brawl {

// Joysticks through SDL. A pad that SDL knows as a game controller is read through its
// mapping (left stick or d-pad; the face buttons A, B, X, Y as buttons 0 to 3); any other
// joystick through its first two axes and first four buttons. The joystick and game
// controller subsystems must be running.
class SdlJoystickDevices final : public JoystickDevices {
 public:
  SdlJoystickDevices();
  ~SdlJoystickDevices() override;
  SdlJoystickDevices(const SdlJoystickDevices&) = delete;
  SdlJoystickDevices& operator=(const SdlJoystickDevices&) = delete;

  int Open(int max) override;
  RawJoystick Read(int index) override;
  // Which pad each player takes (see PadOrder); the next Open follows it.
  void ChoosePads(const std::array<std::string, 2>& choices) { pad_choices_ = choices; }

 private:
  struct Slot {
    ControllerHandle controller;
    JoystickHandle joystick;  // when SDL has no mapping for it
    SDL_JoystickGUID guid{};
    bool used = false;  // a device was counted here; it may have gone away since
  };
  bool OpenDevice(int device_index, Slot& slot);
  bool Attached(const Slot& slot) const;
  SDL_JoystickID InstanceOf(const Slot& slot) const;
  void Reconnect(int index);

  Slot slots_[2];
  std::array<std::string, 2> pad_choices_;
};

// Starts `flags` (SDL's joystick and game controller layers) into `input` and reads the
// player's pad mappings. A layer that cannot start is one warning on stderr, and the game
// runs with the keyboard: returns false.
bool StartJoystickInput(SdlSubsystem& input, Uint32 flags = SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);

// Reads the user's extra pad mappings, if there are any: the file named by
// SDL_GAMECONTROLLERCONFIG_FILE is read by SDL itself; this adds
// $XDG_CONFIG_HOME/billboard-brawl/gamecontrollerdb.txt (or ~/.config/...). The file is
// the player's own and the game needs it not: when it exists but cannot be read, one
// warning on stderr names it and the game goes on without it.
void LoadPadMappings();

}  // namespace brawl
