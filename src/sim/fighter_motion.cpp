#include <cmath>

#include "sim/numbers.h"
#include "sim/pass_parts.h"

namespace brawl {

void AimFromCameras(Match& m) {
  for (int p = 0; p < 2; ++p) {
    FighterState& f = m.Fighter[p];
    Vec3 direction, up;
    GetOrientation(m.Poses.Camera[p], direction, up);
    f.DirX = direction.x, f.DirY = direction.y, f.DirZ = direction.z;
  }
}

void MoveFighter(Match& m, int p, const PlayerCommands& commands, double speed) {
  // Each held direction moves on its own, relative to the way the camera looks.
  const struct {
    bool held;
    int degrees;
  } steps[] = {{commands.forward, 180}, {commands.back, 0}, {commands.right, 270}, {commands.left, 90}};
  FighterState& f = m.Fighter[p];
  for (const auto& step : steps) {
    if (!step.held) continue;
    const double a = Radians(AddDegrees(m.Heading[p], step.degrees));
    f.X = ToFloat(f.X + speed * std::sin(a) / 2);
    f.Z = ToFloat(f.Z + speed * std::cos(a) / 2);
  }
}

void TurnFighter(Match& m, int p, const PlayerCommands& commands, double speed) {
  int16_t& heading = m.Heading[p];
  const double step = kTurnStep * speed;
  // A heading past either end of the circle is wrapped by the next turn that way, which
  // then does not also turn.
  if (commands.turn_right)
    heading = heading <= 359 ? RoundHeading(static_cast<float>(heading) + step) : int16_t{0};
  if (commands.turn_left)
    heading = heading >= 1 ? RoundHeading(static_cast<float>(heading) - step) : int16_t{360};
}

void PlaceFighterAndCamera(Match& m, int p) {
  const FighterState& f = m.Fighter[p];
  const double r = Radians(m.Heading[p]);
  SetPosition(m.Poses.Fighter[p], f.X, kFighterHeight, f.Z);
  SetPosition(m.Poses.Camera[p], ToFloat(f.X + kCameraDistance * std::sin(r)), kCameraHeight,
              ToFloat(f.Z + kCameraDistance * std::cos(r)));
}

void PlaceFighters(Match& m, double speed) {
  for (FighterState& f : m.Fighter) {
    // Stops just below zero: firing is allowed at zero or below.
    if (f.Cooldown >= 0) f.Cooldown = ToFloat(f.Cooldown - speed);
  }
  PlaceFighterAndCamera(m, 0);
  PlaceFighterAndCamera(m, 1);
}

}  // namespace brawl
