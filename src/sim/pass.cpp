#include "sim/pass.h"

#include "sim/pass_parts.h"

namespace brawl {

namespace {

void CheckMatchEnd(Match& m) {
  if (!(m.Fighter[0].Life > 0)) {
    m.Winner = 2;
  } else if (!(m.Fighter[1].Life > 0)) {
    m.Winner = 1;
  } else {
    return;
  }
  m.SpeedLock = true;
  m.GameMode = Mode::Result;
}

void StepTitle(Match& m, const Commands& commands, const PassInput& input, PassEvents& events) {
  if (commands.enter) {
    m.GameMode = static_cast<Mode>(m.TitleChoice);
    // The opening picture is drawn after a shot step of its own, which turns the cameras to
    // their fighters; the game shows it and plays the start cue.
    if (InMatch(m.GameMode)) StepShots(m, input, events);
    events.match_started = true;
  }
  // Levels, not presses: the cursor follows the held direction, and down wins.
  if (commands.player[0].forward) m.TitleChoice = 1;
  if (commands.player[0].back) m.TitleChoice = 2;
}

void StepFighters(Match& m, int players, const Commands& commands, double speed, PassEvents& events) {
  AimFromCameras(m);
  for (int p = 0; p < players; ++p) MoveFighter(m, p, commands.player[p], speed);
  for (int p = 0; p < players; ++p) TurnFighter(m, p, commands.player[p], speed);
  for (int p = 0; p < players; ++p) {
    if (commands.player[p].fire) Fire(m, p, events);
  }
  PlaceFighters(m, speed);
}

void StepMode(Match& m, const PassInput& input, PassEvents& events) {
  const Commands& commands = input.commands;
  switch (m.GameMode) {
    case Mode::Title:
      StepTitle(m, commands, input, events);
      break;
    case Mode::OnePlayer:
      StepFighters(m, 1, commands, input.speed_factor, events);
      break;
    case Mode::TwoPlayers:
      StepFighters(m, 2, commands, input.speed_factor, events);
      break;
    case Mode::Result:
      if (commands.space) {
        m.GameMode = Mode::Title;
        ResetMatch(m, input.clock, events);
      }
      break;
  }
}

}  // namespace

PassEvents StepPass(Match& match, const PassInput& input) {
  PassEvents events;
  CheckMatchEnd(match);
  StepMode(match, input, events);
  if (input.commands.escape) {
    events.escape = true;
    return events;
  }
  if (match.GameMode == Mode::OnePlayer) MoveComputer(match, input, events);
  if (InMatch(match.GameMode)) StepShots(match, input, events);
  return events;
}

}  // namespace brawl
