#pragma once
#include <SDL.h>
#include <SDL_mixer.h>

#include "gfx/sdl_owner.h"

namespace brawl {

using WindowHandle = SdlOwner<SDL_Window, SDL_DestroyWindow>;
using RendererHandle = SdlOwner<SDL_Renderer, SDL_DestroyRenderer>;
using TextureHandle = SdlOwner<SDL_Texture, SDL_DestroyTexture>;
using ChunkHandle = SdlOwner<Mix_Chunk, Mix_FreeChunk>;
using JoystickHandle = SdlOwner<SDL_Joystick, SDL_JoystickClose>;
using ControllerHandle = SdlOwner<SDL_GameController, SDL_GameControllerClose>;

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
  // Leaves the subsystem running until the process ends.
  void Forget() { flags_ = 0; }
  bool started() const { return flags_ != 0; }
  ~SdlSubsystem() { Stop(); }
  SdlSubsystem(const SdlSubsystem&) = delete;
  SdlSubsystem& operator=(const SdlSubsystem&) = delete;

 private:
  Uint32 flags_ = 0;
};

}  // namespace brawl
