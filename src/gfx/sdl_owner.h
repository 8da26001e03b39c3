#pragma once
#include <SDL.h>

#include <memory>

namespace brawl {

// The one owner type for SDL's handles: each is given back exactly once, in the right call.
template <auto Free>
struct SdlDeleter {
  template <typename T>
  void operator()(T* handle) const {
    Free(handle);
  }
};

template <typename T, auto Free>
using SdlOwner = std::unique_ptr<T, SdlDeleter<Free>>;

using SurfaceHandle = SdlOwner<SDL_Surface, SDL_FreeSurface>;

}  // namespace brawl
