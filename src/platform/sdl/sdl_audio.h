#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio.h"
#include "platform/sdl/sdl_handles.h"

namespace brawl {

// Wave cues through SDL_mixer on eight channels. Each file is checked and decoded once,
// converted to the device's format, and kept.
class SdlAudio final : public Audio {
 public:
  SdlAudio() = default;
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  bool Open() override;
  int Load(const std::string& path) override;
  int Play(int wave) override;
  bool IsPlaying(int handle) override;

 private:
  struct Loaded {
    std::vector<uint8_t> samples;  // in the device's format; the chunk points into it
    ChunkHandle chunk;
  };
  void Close();

  SdlSubsystem audio_;
  bool mixer_open_ = false;
  std::vector<std::unique_ptr<Loaded>> waves_;
  // The play each channel last started, so that a handle whose channel has since been
  // given to another play no longer reads as playing.
  std::vector<uint32_t> channel_play_;
  uint32_t plays_ = 0;
};

}  // namespace brawl
