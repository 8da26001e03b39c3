#include "sound/sound.h"

#include <cstdio>

#include "game/game.h"

namespace {

// Every wave the game can play; all of them are checked at the launch so that a missing
// one is reported then, not in the middle of a match.
constexpr const char* kWaves[] = {"readygo.wav", "fire.wav",   "ogaa.wav",  "title0.wav",
                                  "title1.wav",  "title2.wav", "title3.wav"};

int LoadWave(Game& game, const std::string& file_name) {
  const int wave = game.platform.audio.Load(game.settings.AppPath + file_name);
  game.sound.waves[file_name] = wave;
  return wave;
}

}  // namespace

void SetUpSound(Game& game) {
  if (!game.platform.audio.Open()) {
    std::fprintf(stderr, "brawl: warning: audio device: cannot be opened; the game runs without sound\n");
    game.sound.silent = true;
  }
  for (const char* name : kWaves) LoadWave(game, name);
}

void PlaySound(Game& game, const std::string& file_name) {
  SoundSlots& s = game.sound;
  if (s.log_requests) s.requested.push_back(file_name);
  int slot = 0;
  while (slot < kSoundSlots && s.SoundBusy[slot] != 0) ++slot;
  // All eight busy: the sound is simply not heard.
  if (slot == kSoundSlots) return;
  if (s.silent) {
    // Without a device the sound ends at once; the slot is freed by the next update.
    s.handle[slot] = -1;
  } else {
    const auto known = s.waves.find(file_name);
    const int wave = known != s.waves.end() ? known->second : LoadWave(game, file_name);
    s.handle[slot] = game.platform.audio.Play(wave);
  }
  s.SoundBusy[slot] = -1;
}

void UpdateSounds(Game& game) {
  SoundSlots& s = game.sound;
  for (int i = 0; i < kSoundSlots; ++i) {
    if (s.SoundBusy[i] == -1 && (s.silent || !game.platform.audio.IsPlaying(s.handle[i]))) s.SoundBusy[i] = 0;
  }
}
