#pragma once
#include <string>

#include "platform/audio.h"
#include "sound/sound_slots.h"

namespace brawl {

// Opens the audio device (or goes silent with one warning) and loads every wave the game
// plays from `folder`, so that a missing one ends the program at the launch.
void SetUpSound(SoundSlots& s, Audio& audio, const std::string& folder);
// Starts the sound in the first free slot; with all eight busy it is not heard.
void PlaySound(SoundSlots& s, Audio& audio, Sound sound);
// Frees the slots whose sound has ended.
void UpdateSounds(SoundSlots& s, Audio& audio);

}  // namespace brawl
