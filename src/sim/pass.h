#pragma once
#include "sim/commands.h"
#include "sim/match.h"
#include "sim/sounds.h"

namespace brawl {

// What a pass hands the rules.
struct PassInput {
  Commands commands;
  float speed_factor = 1.0f;
  float clock = 0;  // the timer's reading in seconds, which reseeds the random source
};

// What happened in a pass, for the game to show and play.
struct PassEvents {
  static constexpr int kMaxSounds = 32;  // more than a pass can ask for
  Sound sounds[kMaxSounds] = {};
  int sound_count = 0;
  bool match_started = false;  // Enter on the title: the start sequence is due
  bool escape = false;         // the program ends: nothing after the mode step ran

  void Play(Sound sound) {
    if (sound_count < kMaxSounds) sounds[sound_count++] = sound;
  }
};

// One pass of the rules, in the game's order: the match's end is checked, the mode steps
// (Escape ends the pass there), the computer moves in the one-player match, and the shots
// step in both matches.
PassEvents StepPass(Match& match, const PassInput& input);

// The opening position of a match, and the title's jingle drawn from the random source
// reseeded by `clock`.
void ResetMatch(Match& match, float clock, PassEvents& events);

bool InMatch(Mode mode);

}  // namespace brawl
