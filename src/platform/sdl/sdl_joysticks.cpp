#include "platform/sdl/sdl_joysticks.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "base/fatal_error.h"
#include "base/file_reader.h"
#include "base/i18n.h"
#include "base/printable.h"
#include "platform/sdl/sdl_pad_choice.h"

namespace brawl {

namespace {

// The community's list of every known pad is under a megabyte.
constexpr int64_t kMaxMappingFileBytes = int64_t{4} << 20;

std::string PadMappingFile() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/')
    return std::string(config) + "/billboard-brawl/gamecontrollerdb.txt";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return {};
  return std::string(home) + "/.config/billboard-brawl/gamecontrollerdb.txt";
}

bool SameGuid(const SDL_JoystickGUID& a, const SDL_JoystickGUID& b) {
  return std::memcmp(a.data, b.data, sizeof a.data) == 0;
}

void WarnUnreadMappings(const std::string& path, const std::string& why) {
  std::fprintf(stderr,
               _("brawl: warning: cannot read joystick mappings: %s: %s; the game goes on without them\n"),
               path.c_str(), why.c_str());
}

}  // namespace

bool StartJoystickInput(SdlSubsystem& input, Uint32 flags) {
  if (!input.Start(flags)) {
    std::fprintf(stderr, _("brawl: warning: no joysticks: %s; the game runs with the keyboard\n"),
                 SDL_GetError());
    return false;
  }
  LoadPadMappings();
  return true;
}

void LoadPadMappings() {
  const std::string path = PadMappingFile();
  if (path.empty()) return;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno != ENOENT && errno != ENOTDIR) WarnUnreadMappings(path, std::strerror(errno));
    return;
  }
  // Optional: one that cannot be read is said, and the game goes on without it.
  std::string text;
  try {
    text = ReadGameFile(path, kMaxMappingFileBytes, _("cannot read joystick mappings"));
  } catch (const FatalError& e) {
    std::fprintf(stderr, _("brawl: warning: %s; the game goes on without them\n"), e.what());
    return;
  }
  // Line by line, so that a line SDL cannot take is named rather than passed over in silence;
  // lines for other systems are SDL's to skip, as in the community's file.
  std::istringstream lines(text);
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const size_t platform = line.find("platform:");
    if (platform != std::string::npos && line.compare(platform, 15, "platform:Linux,") != 0 &&
        line.compare(platform, 14, "platform:Linux") != 0)
      continue;
    const std::string why = platform == std::string::npos ? _("it has no platform:Linux, field")
                            : SDL_GameControllerAddMapping(line.c_str()) < 0 ? std::string(SDL_GetError())
                                                                             : std::string();
    if (!why.empty()) {
      std::fprintf(stderr, _("brawl: warning: joystick mappings: %s:%d: %s; the line is left out\n"),
                   path.c_str(), number, Printable(why, 80).c_str());
    }
  }
}

SdlJoystickDevices::SdlJoystickDevices() = default;

SdlJoystickDevices::~SdlJoystickDevices() = default;

bool SdlJoystickDevices::OpenDevice(int device_index, Slot& slot) {
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0 && SDL_IsGameController(device_index)) {
    slot.controller.reset(SDL_GameControllerOpen(device_index));
    if (slot.controller) {
      slot.guid = SDL_JoystickGetGUID(SDL_GameControllerGetJoystick(slot.controller.get()));
      return true;
    }
  }
  slot.joystick.reset(SDL_JoystickOpen(device_index));
  if (!slot.joystick) return false;
  slot.guid = SDL_JoystickGetGUID(slot.joystick.get());
  return true;
}

int SdlJoystickDevices::Open(int max) {
  if (max > 2) max = 2;
  for (Slot& slot : slots_) slot = Slot{};
  if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) return 0;
  // The game polls the state itself once a pass; queued joystick events would only pile up.
  SDL_JoystickEventState(SDL_IGNORE);
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0) SDL_GameControllerEventState(SDL_IGNORE);
  SDL_JoystickUpdate();
  int count = 0;
  for (int device : PadOrder(pad_choices_)) {
    if (count >= max) break;
    // A device that cannot be opened is not counted: it would leave a player with nothing.
    if (OpenDevice(device, slots_[count])) {
      slots_[count].used = true;
      ++count;
    }
  }
  return count;
}

bool SdlJoystickDevices::Attached(const Slot& slot) const {
  if (slot.controller) return SDL_GameControllerGetAttached(slot.controller.get()) == SDL_TRUE;
  if (slot.joystick) return SDL_JoystickGetAttached(slot.joystick.get()) == SDL_TRUE;
  return false;
}

SDL_JoystickID SdlJoystickDevices::InstanceOf(const Slot& slot) const {
  if (slot.controller) return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(slot.controller.get()));
  if (slot.joystick) return SDL_JoystickInstanceID(slot.joystick.get());
  return -1;
}

// A pad that went away comes back as a new device of the same kind (GUID); the other
// player's pad, which may be of the same kind, is left alone.
void SdlJoystickDevices::Reconnect(int index) {
  Slot& slot = slots_[index];
  slot.controller.reset();
  slot.joystick.reset();
  const SDL_JoystickID other = InstanceOf(slots_[1 - index]);
  const int attached = SDL_NumJoysticks();
  for (int device = 0; device < attached; ++device) {
    if (!SameGuid(SDL_JoystickGetDeviceGUID(device), slot.guid)) continue;
    if (SDL_JoystickGetDeviceInstanceID(device) == other) continue;
    const SDL_JoystickGUID guid = slot.guid;
    if (OpenDevice(device, slot)) return;
    slot.guid = guid;
  }
}

RawJoystick SdlJoystickDevices::Read(int index) {
  RawJoystick raw;
  if (index < 0 || index > 1 || !slots_[index].used) return raw;
  SDL_JoystickUpdate();
  Slot& slot = slots_[index];
  if (!Attached(slot)) {
    Reconnect(index);
    if (!Attached(slot)) return raw;  // gone: centred, nothing held
  }

  if (slot.controller) {
    SDL_GameController* pad = slot.controller.get();
    auto held = [pad](SDL_GameControllerButton button) {
      return SDL_GameControllerGetButton(pad, button) != 0;
    };
    raw.x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    raw.y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    // The d-pad, when pressed, wins over the stick.
    if (held(SDL_CONTROLLER_BUTTON_DPAD_LEFT) != held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) {
      raw.x = held(SDL_CONTROLLER_BUTTON_DPAD_LEFT) ? -32768 : 32767;
    }
    if (held(SDL_CONTROLLER_BUTTON_DPAD_UP) != held(SDL_CONTROLLER_BUTTON_DPAD_DOWN)) {
      raw.y = held(SDL_CONTROLLER_BUTTON_DPAD_UP) ? -32768 : 32767;
    }
    raw.buttons[0] = held(SDL_CONTROLLER_BUTTON_A);
    raw.buttons[1] = held(SDL_CONTROLLER_BUTTON_B);
    raw.buttons[2] = held(SDL_CONTROLLER_BUTTON_X);
    raw.buttons[3] = held(SDL_CONTROLLER_BUTTON_Y);
    return raw;
  }

  SDL_Joystick* stick = slot.joystick.get();
  if (SDL_JoystickNumAxes(stick) > 0) raw.x = SDL_JoystickGetAxis(stick, 0);
  if (SDL_JoystickNumAxes(stick) > 1) raw.y = SDL_JoystickGetAxis(stick, 1);
  const int buttons = SDL_JoystickNumButtons(stick);
  for (int b = 0; b < 4; ++b) raw.buttons[b] = b < buttons && SDL_JoystickGetButton(stick, b) != 0;
  return raw;
}

}  // namespace brawl
