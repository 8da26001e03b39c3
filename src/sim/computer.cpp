#include <cmath>

#include "sim/numbers.h"
#include "sim/pass_parts.h"

namespace brawl {

namespace {

// Chases the number of player 1's heading, not the shorter way round the circle.
void TurnTowardPlayer(Match& m, double speed) {
  int16_t& heading = m.Heading[1];
  const int diff = m.Heading[0] - heading;
  const double step = kTurnStep * speed;
  if (diff >= -kComputerTurnReach && diff <= -1) heading = RoundHeading(static_cast<float>(heading) - step);
  if (diff >= 1 && diff <= kComputerTurnReach) heading = RoundHeading(static_cast<float>(heading) + step);
}

void BackOff(FighterState& f, double speed) {
  f.X = ToFloat(f.X - f.DirX * speed / 2);
  f.Z = ToFloat(f.Z - f.DirZ * speed / 2);
}

void CloseIn(FighterState& f, double speed) {
  f.X = ToFloat(f.DirX * speed / 2 + f.X);
  f.Z = ToFloat(f.DirZ * speed / 2 + f.Z);
}

}  // namespace

void MoveComputer(Match& m, const PassInput& input, PassEvents& events) {
  const double speed = input.speed_factor;
  TurnTowardPlayer(m, speed);

  Pose& camera = m.Poses.Camera[1];
  LookAt(camera, m.Poses.Fighter[0]);
  FighterState& me = m.Fighter[1];
  Vec3 direction, up;
  GetOrientation(camera, direction, up);
  me.DirX = direction.x, me.DirY = direction.y, me.DirZ = direction.z;

  const FighterState& player = m.Fighter[0];
  const double dx = static_cast<double>(player.X) - me.X;
  const double dz = static_cast<double>(player.Z) - me.Z;
  const double d = std::sqrt(dx * dx + dz * dz);
  for (const ComputerBand& band : kComputerBands) {
    if (!(d >= band.from && d <= band.to)) continue;
    if (band.close_in) {
      CloseIn(me, speed);
      Fire(m, 1, events);
    } else {
      BackOff(me, speed);
    }
    break;
  }
}

}  // namespace brawl
