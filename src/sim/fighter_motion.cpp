#include "sim/fighter_motion.h"

#include <cmath>

#include "game/commands.h"
#include "game/game.h"
#include "sim/numbers.h"
#include "sim/scene_frames.h"

void AimFromCameras(Game& game) {
  for (int p = 0; p < 2; ++p) {
    FighterState& f = game.match.Fighter[p];
    Vec3 direction;
    GetOrientation(FrameOf(game, game.frames.Camera[p]), direction, game.match.UpScratch);
    f.DirX = direction.x, f.DirY = direction.y, f.DirZ = direction.z;
  }
}

void MoveFighter(Game& game, int p, const Commands& commands) {
  // Each held direction moves on its own, relative to the way the camera looks.
  struct Step {
    Commands::Entry entry;
    int degrees;
  };
  static constexpr Step kSteps[] = {
      {Commands::Forward, 180}, {Commands::Back, 0}, {Commands::Right, 270}, {Commands::Left, 90}};
  FighterState& f = game.match.Fighter[p];
  const double speed = game.loop.SpeedFactor;
  for (const Step& step : kSteps) {
    if (!commands.Pressed(p, step.entry)) continue;
    const double a = Radians(AddDegrees(game.match.Heading[p], step.degrees));
    f.X = ToFloat(f.X + speed * std::sin(a) / 2);
    f.Z = ToFloat(f.Z + speed * std::cos(a) / 2);
  }
}

void TurnFighter(Game& game, int p, const Commands& commands) {
  int16_t& heading = game.match.Heading[p];
  const double step = 2 * static_cast<double>(game.loop.SpeedFactor);
  // A heading past either end of the circle is wrapped by the next turn that way, which
  // then does not also turn.
  if (commands.Pressed(p, Commands::TurnRight)) {
    heading = heading <= 359 ? RoundHeading(static_cast<float>(heading) + step) : int16_t{0};
  }
  if (commands.Pressed(p, Commands::TurnLeft)) {
    heading = heading >= 1 ? RoundHeading(static_cast<float>(heading) - step) : int16_t{360};
  }
}

void PlaceFighterAndCamera(Game& game, int p) {
  const FighterState& f = game.match.Fighter[p];
  const double r = Radians(game.match.Heading[p]);
  Place(game, game.frames.FighterFrame[p], f.X, 1.0f, f.Z);
  Place(game, game.frames.Camera[p], ToFloat(f.X + 10 * std::sin(r)), 2.5f, ToFloat(f.Z + 10 * std::cos(r)));
}

void PlaceFighters(Game& game) {
  for (FighterState& f : game.match.Fighter) {
    // Stops just below zero: firing is allowed at zero or below.
    if (f.Cooldown >= 0) f.Cooldown = ToFloat(f.Cooldown - static_cast<double>(game.loop.SpeedFactor));
  }
  PlaceFighterAndCamera(game, 0);
  PlaceFighterAndCamera(game, 1);
}
