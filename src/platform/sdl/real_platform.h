#pragma once
#include <memory>
#include <string>

#include "platform/platform.h"

namespace brawl {

struct Controls;

// This machine's display, keyboard, joysticks, audio and settings window, started in the
// one order SDL and GTK can share a process in: joysticks first, then GTK. Everything is
// given back when it goes, also when a fatal error unwinds past it.
class RealPlatform {
 public:
  // Throws FatalError when there is no display to show the settings window on. F12 saves
  // its pictures into `screenshot_folder`.
  RealPlatform(bool windowed, const Controls& controls, const std::string& screenshot_folder);
  ~RealPlatform();
  RealPlatform(const RealPlatform&) = delete;
  RealPlatform& operator=(const RealPlatform&) = delete;

  Platform& platform();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace brawl
