#include "sound/sound.h"

#include <cstdio>

#include "base/i18n.h"

namespace brawl {

void SetUpSound(SoundSlots& s, Audio& audio, const std::string& folder) {
  if (!audio.Open()) {
    std::fprintf(stderr, "%s",
                 _("brawl: warning: audio device: cannot be opened; the game runs without sound\n"));
    s.Silent = true;
  }
  for (int i = 0; i < kSoundCount; ++i) s.Loaded[i] = audio.Load(folder + WaveName(static_cast<Sound>(i)));
}

void PlaySound(SoundSlots& s, Audio& audio, Sound sound) {
  if (s.LogRequests) s.Requested.push_back(sound);
  int slot = 0;
  while (slot < kSoundSlots && s.SoundBusy[slot]) ++slot;
  if (slot == kSoundSlots) return;
  // Without a device the sound ends at once; the slot is freed by the next update.
  s.Handle[slot] = s.Silent ? -1 : audio.Play(s.Loaded[static_cast<int>(sound)]);
  s.SoundBusy[slot] = true;
}

void UpdateSounds(SoundSlots& s, Audio& audio) {
  for (int i = 0; i < kSoundSlots; ++i) {
    if (s.SoundBusy[i] && (s.Silent || !audio.IsPlaying(s.Handle[i]))) s.SoundBusy[i] = false;
  }
}

}  // namespace brawl
