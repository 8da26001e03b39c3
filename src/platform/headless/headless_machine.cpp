#include "platform/headless/headless_machine.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/fatal_error.h"
#include "platform/options.h"

namespace {

DialogChoices ChoicesOf(const Options& options) {
  DialogChoices choices;
  choices.hires = options.hires;
  choices.show_fps = options.show_fps;
  choices.joystick[0] = options.joystick[0];
  choices.joystick[1] = options.joystick[1];
  return choices;
}

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

HeadlessMachine::HeadlessMachine(const Options& options, const std::string& program_folder)
    : clock(options.clock_start, options.frame_ms),
      display(clock),
      keyboard(held),
      joysticks(options.joysticks, held),
      audio(clock),
      dialog(ChoicesOf(options)),
      platform{WithSlash(program_folder), clock, keyboard, display, audio, joysticks, dialog} {}

std::string ExecutableFolder() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) throw Fatal("cannot find the program folder", "/proc/self/exe", std::strerror(errno));
    if (static_cast<size_t>(n) < buffer.size()) {
      std::string path(buffer.data(), static_cast<size_t>(n));
      return path.substr(0, path.rfind('/') + 1);
    }
    buffer.resize(buffer.size() * 2);
  }
}
