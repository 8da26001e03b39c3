#pragma once
#include <chrono>
#include <string>

#include "platform/display.h"
#include "platform/sdl/sdl_handles.h"
#include "platform/sdl/sdl_keyboard.h"

namespace brawl {

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
  // The window system destroyed the window under the game.
  bool Destroyed() const { return destroyed_; }

  // F11 and Alt+Enter switch between full screen and a window, whose Enter `keyboard`
  // then does not pass on; F12 saves the picture shown into `screenshot_folder`.
  void AnswerWindowKeys(SdlKeyboard& keyboard, const std::string& screenshot_folder);
  // The window shows the picture of `file` as its icon (none when empty).
  void UseIcon(const std::string& file) { icon_file_ = file; }

 private:
  void FitPicture();
  void ToggleFullScreen();
  void WindowKey(const SDL_KeyboardEvent& key);

  bool windowed_;
  int width_ = 0;
  int height_ = 0;
  SdlSubsystem video_;
  WindowHandle window_;
  RendererHandle renderer_;
  TextureHandle texture_;
  unsigned long destroy_watch_ = 0;
  bool destroyed_ = false;  // by the window system, from outside
  bool pointer_hidden_ = false;
  std::chrono::steady_clock::time_point deadline_{};  // of the last flip's present
  bool presented_ = false;
  SdlKeyboard* keyboard_ = nullptr;
  std::string screenshot_folder_;
  std::string icon_file_;
  const Surface* shown_ = nullptr;  // the back buffer of the last flip; it outlives every pump
  int screenshots_ = 0;
};

// "display :0", or "display" when none is named.
std::string DisplayName();
// The one-line message for a machine without a display.
std::string NoDisplayReason(const std::string& detail);

}  // namespace brawl
