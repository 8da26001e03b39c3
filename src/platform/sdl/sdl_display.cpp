#include "platform/sdl/sdl_display.h"

#include <cstdlib>
#include <string>
#include <thread>

#include "base/fatal_error.h"
#include "base/i18n.h"
#include "base/pace.h"
#include "base/timing_trace.h"
#include "gfx/surface.h"
#include "platform/sdl/sdl_screenshot.h"
#include "platform/sdl/sdl_window_destroy.h"
#include "platform/sdl/sdl_window_icon.h"

namespace brawl {

namespace {

constexpr auto kShortestFlip = std::chrono::duration<double>(1.0 / kPassesPerSecond);

}  // namespace

std::string DisplayName() {
  const char* name = std::getenv("DISPLAY");
  if (name != nullptr && *name != '\0') return Fill(_("display {1}"), {name});
  name = std::getenv("WAYLAND_DISPLAY");
  if (name != nullptr && *name != '\0') return Fill(_("display {1}"), {name});
  return _("display");
}

std::string NoDisplayReason(const std::string& detail) {
  if (detail.empty()) return _("no display available; run with --headless to play without one");
  return Fill(_("no display available ({1}); run with --headless to play without one"), {detail});
}

SdlDisplay::~SdlDisplay() {
  Restore();
}

void SdlDisplay::Open(int width, int height) {
  if (width <= 0 || height <= 0) {
    throw Fatal(_("cannot open the game window"), DisplayName(),
                Fill(_("bad picture size {1} x {2}"), {std::to_string(width), std::to_string(height)}));
  }
  Restore();
  if (!video_.Start(SDL_INIT_VIDEO)) {
    throw Fatal(_("cannot open the game window"), DisplayName(), NoDisplayReason(SDL_GetError()));
  }
  width_ = width;
  height_ = height;

  // Hidden until the renderer is made: a GL renderer may replace the window system's window,
  // and a window that flashes up and vanishes confuses window managers and whoever waits on it.
  Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN;
  int window_w = width, window_h = height;
  if (windowed_) {
    flags |= SDL_WINDOW_RESIZABLE;
    // A 320 x 240 picture is too small to play in at its own size.
    if (width < 640) {
      window_w *= 2;
      window_h *= 2;
    }
  } else {
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  }
  window_.reset(SDL_CreateWindow("Billboard Brawl", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, window_w,
                                 window_h, flags));
  if (!window_) throw Fatal(_("cannot open the game window"), DisplayName(), SDL_GetError());
  SetWindowIcon(window_.get(), icon_file_);

  // Nearest sampling keeps the 16-bit pixels square and sharp.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  renderer_.reset(
      SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC));
  if (!renderer_) renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_SOFTWARE));
  if (!renderer_) throw Fatal(_("cannot draw into the game window"), DisplayName(), SDL_GetError());
  SDL_ShowWindow(window_.get());
  // On X11 the window is mapped when SDL_ShowWindow returns: SDL waits for it.
  TraceTiming("game-window-mapped");
  destroy_watch_ = WatchForDestroy(window_.get());

  texture_.reset(
      SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, width, height));
  if (!texture_) throw Fatal(_("cannot make the game picture"), DisplayName(), SDL_GetError());
  FitPicture();

  SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
  SDL_RenderClear(renderer_.get());
  SDL_RenderPresent(renderer_.get());
  presented_ = false;
}

void SdlDisplay::FitPicture() {
  if (!renderer_) return;
  int out_w = 0, out_h = 0;
  if (SDL_GetRendererOutputSize(renderer_.get(), &out_w, &out_h) != 0) return;
  SDL_RenderSetLogicalSize(renderer_.get(), width_, height_);
  // A whole factor where the picture fits at least once; a smaller window shrinks it.
  SDL_RenderSetIntegerScale(renderer_.get(), out_w >= width_ && out_h >= height_ ? SDL_TRUE : SDL_FALSE);
}

void SdlDisplay::Flip(const Surface& back_buffer) {
  if (!renderer_) return;
  if (back_buffer.width != width_ || back_buffer.height != height_ ||
      back_buffer.pixels.size() != static_cast<size_t>(width_) * static_cast<size_t>(height_)) {
    throw Fatal(_("cannot show the picture"), DisplayName(),
                Fill(_("back buffer is {1} x {2}, the window shows {3} x {4}"),
                     {std::to_string(back_buffer.width), std::to_string(back_buffer.height),
                      std::to_string(width_), std::to_string(height_)}));
  }
  shown_ = &back_buffer;
  SDL_UpdateTexture(texture_.get(), nullptr, back_buffer.pixels.data(), width_ * 2);
  SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
  SDL_RenderClear(renderer_.get());
  SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, nullptr);

  // At most 60 flips a second whatever the display's rate or vsync: the speed factor would
  // otherwise fall so low that headings stop turning. Each deadline is 1/60 s after the one
  // before, not after the last present, so that the oversleep of one wait is not added to the
  // next frame; a game that has fallen more than a frame behind starts a new schedule from now.
  const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(kShortestFlip);
  const auto now = std::chrono::steady_clock::now();
  if (presented_) {
    deadline_ += period;
    if (now < deadline_) {
      std::this_thread::sleep_until(deadline_);
    } else if (now - deadline_ > period) {
      deadline_ = now;
    }
  } else {
    deadline_ = now;
  }
  SDL_RenderPresent(renderer_.get());
  TraceTiming(presented_ ? "flip" : "first-frame");
  presented_ = true;
}

void SdlDisplay::ShowPointer(bool shown) {
  SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
  pointer_hidden_ = !shown;
}

void SdlDisplay::Restore() {
  if (window_ && !destroyed_) SDL_SetWindowFullscreen(window_.get(), 0);
  texture_.reset();
  renderer_.reset();
  if (destroyed_) {
    // SDL would wait for ever to see a window that is already gone unmapped: let it be.
    (void)window_.release();
    video_.Forget();
  }
  window_.reset();
  if (pointer_hidden_) ShowPointer(true);
  video_.Stop();
}

bool SdlDisplay::Pump() {
  if (!window_) return false;
  bool close = false;
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    if (IsDestroyOf(event, destroy_watch_)) destroyed_ = true;
    if (event.type == SDL_QUIT || destroyed_) close = true;
    if (event.type == SDL_WINDOWEVENT) {
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) close = true;
      if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) FitPicture();
    }
    if (event.type == SDL_KEYDOWN && event.key.repeat == 0) WindowKey(event.key);
  }
  return close;
}

void SdlDisplay::AnswerWindowKeys(SdlKeyboard& keyboard, const std::string& screenshot_folder) {
  keyboard_ = &keyboard;
  screenshot_folder_ = screenshot_folder;
}

void SdlDisplay::WindowKey(const SDL_KeyboardEvent& key) {
  if (keyboard_ == nullptr) return;
  const SDL_Scancode code = key.keysym.scancode;
  const bool enter = code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER;
  if (enter && (key.keysym.mod & KMOD_ALT) != 0) {
    // On the title Enter would start a match.
    keyboard_->Swallow(code);
    ToggleFullScreen();
  } else if (code == SDL_SCANCODE_F11) {
    ToggleFullScreen();
  } else if (code == SDL_SCANCODE_F12 && shown_ != nullptr) {
    SaveScreenshot(*shown_, screenshot_folder_, screenshots_);
  }
}

void SdlDisplay::ToggleFullScreen() {
  if (!window_) return;
  // Our own record: SDL's flag follows what the window manager says, which may lag.
  const bool full = !windowed_;
  if (full) {
    SDL_SetWindowFullscreen(window_.get(), 0);
    SDL_SetWindowResizable(window_.get(), SDL_TRUE);
    const int factor = width_ < 640 ? 2 : 1;
    SDL_SetWindowSize(window_.get(), width_ * factor, height_ * factor);
    SDL_SetWindowPosition(window_.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  } else {
    SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  windowed_ = full;
  FitPicture();
  if (pointer_hidden_) SDL_ShowCursor(SDL_DISABLE);
}

}  // namespace brawl
