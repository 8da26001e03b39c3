#pragma once
#include <chrono>
#include <string>

#include "platform/display.h"
#include "platform/sdl/sdl_handles.h"

// The game window: desktop full screen (or a resizable window), the RGB565 back buffer
// scaled into it with nearest sampling and black borders.
class SdlDisplay final : public Display {
 public:
  explicit SdlDisplay(bool windowed) : windowed_(windowed) {}
  ~SdlDisplay() override;

  void Open(int width, int height) override;
  void Flip(const Surface& back_buffer) override;
  void ShowPointer(bool shown) override;
  void Restore() override;
  bool Pump() override;

 private:
  void FitPicture();

  bool windowed_;
  int width_ = 0;
  int height_ = 0;
  SdlSubsystem video_;
  WindowHandle window_;
  RendererHandle renderer_;
  TextureHandle texture_;
  unsigned long destroy_watch_ = 0;
  bool pointer_hidden_ = false;
  std::chrono::steady_clock::time_point last_present_{};
  bool presented_ = false;
};

// "display :0", or "display" when none is named.
std::string DisplayName();
// The one-line message for a machine without a display.
std::string NoDisplayReason(const std::string& detail);
