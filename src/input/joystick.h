#pragma once
#include "input/joystick_state.h"
#include "platform/joystick_devices.h"

namespace brawl {

// Opens at most two joysticks and counts them.
void DiscoverJoysticks(JoystickState& joy, JoystickDevices& devices);
// Reads player's joystick into the game's terms.
void PollJoystick(JoystickState& joy, JoystickDevices& devices, int player);

}  // namespace brawl
