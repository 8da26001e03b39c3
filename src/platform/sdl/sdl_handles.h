#pragma once
#include <SDL.h>
#include <SDL_mixer.h>

#include <memory>

namespace brawl {

// Owners of SDL's handles: each is given back exactly once, in the right call.
template <auto Free>
struct SdlDeleter {
  template <typename T>
  void operator()(T* handle) const {
    Free(handle);
  }
};

using WindowHandle = std::unique_ptr<SDL_Window, SdlDeleter<SDL_DestroyWindow>>;
using RendererHandle = std::unique_ptr<SDL_Renderer, SdlDeleter<SDL_DestroyRenderer>>;
using TextureHandle = std::unique_ptr<SDL_Texture, SdlDeleter<SDL_DestroyTexture>>;
using ChunkHandle = std::unique_ptr<Mix_Chunk, SdlDeleter<Mix_FreeChunk>>;
using JoystickHandle = std::unique_ptr<SDL_Joystick, SdlDeleter<SDL_JoystickClose>>;
using ControllerHandle = std::unique_ptr<SDL_GameController, SdlDeleter<SDL_GameControllerClose>>;

// One started SDL subsystem, stopped again when its owner goes.
class SdlSubsystem {
 public:
  SdlSubsystem() = default;
  // Starts `flags`; false (and nothing owned) when SDL refuses, SDL_GetError() says why.
  bool Start(Uint32 flags) {
    Stop();
    if (SDL_InitSubSystem(flags) != 0) return false;
    flags_ = flags;
    return true;
  }
  void Stop() {
    if (flags_ != 0) SDL_QuitSubSystem(flags_);
    flags_ = 0;
  }
  bool started() const { return flags_ != 0; }
  ~SdlSubsystem() { Stop(); }
  SdlSubsystem(const SdlSubsystem&) = delete;
  SdlSubsystem& operator=(const SdlSubsystem&) = delete;

 private:
  Uint32 flags_ = 0;
};

}  // namespace brawl
