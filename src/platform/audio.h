#pragma once
#include <string>

namespace brawl {

// One-shot playback of wave files.
class Audio {
 public:
  virtual ~Audio() = default;
  // Starts the audio device. False when there is none: the game then runs silent.
  virtual bool Open() = 0;
  // Decodes a wave file once and keeps it; throws FatalError naming the file when it is
  // missing, not a PCM wave, or shorter than its header claims.
  virtual int Load(const std::string& path) = 0;
  // Starts a loaded wave once from its beginning; returns a handle for IsPlaying.
  virtual int Play(int wave) = 0;
  virtual bool IsPlaying(int handle) = 0;
};

}  // namespace brawl
