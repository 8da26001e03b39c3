#include "platform/sdl/sdl_pad_choice.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "base/i18n.h"

namespace brawl {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool Matches(int device, const std::string& choice) {
  if (!choice.empty() &&
      std::all_of(choice.begin(), choice.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return choice.size() < 4 && std::stoi(choice) == device + 1;
  }
  const char* name = SDL_JoystickNameForIndex(device);
  if (name != nullptr && Lower(name) == Lower(choice)) return true;
  char guid[33] = {};
  SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(device), guid, sizeof guid);
  return Lower(guid) == Lower(choice);
}

}  // namespace

std::vector<int> PadOrder(const std::array<std::string, 2>& choices) {
  const int attached = SDL_NumJoysticks();
  int chosen[2] = {-1, -1};
  for (int p = 0; p < 2; ++p) {
    if (choices[p].empty()) continue;
    for (int device = 0; device < attached && chosen[p] < 0; ++device) {
      if (device != chosen[0] && Matches(device, choices[p])) chosen[p] = device;
    }
    if (chosen[p] < 0) {
      std::fprintf(stderr, _("brawl: warning: gamepad '%s' chosen for player %d is not plugged in\n"),
                   choices[p].c_str(), p + 1);
    }
  }
  std::vector<int> order;
  int next = 0;
  auto free_device = [&] {
    while (next < attached && (next == chosen[0] || next == chosen[1])) ++next;
    return next < attached ? next++ : -1;
  };
  for (int p = 0; p < 2; ++p) {
    const int device = chosen[p] >= 0 ? chosen[p] : free_device();
    if (device >= 0) order.push_back(device);
  }
  for (int device = free_device(); device >= 0; device = free_device()) order.push_back(device);
  return order;
}

}  // namespace brawl
