#include "sim/computer.h"

#include <cmath>

#include "game/game.h"
#include "sim/numbers.h"
#include "sim/scene_frames.h"
#include "sim/shots.h"

namespace {

// Chases the number of player 1's heading, not the shorter way round the circle.
void TurnTowardPlayer(Game& game) {
  int16_t& heading = game.match.Heading[1];
  const int diff = game.match.Heading[0] - heading;
  const double step = 2 * static_cast<double>(game.loop.SpeedFactor);
  if (diff >= -720 && diff <= -1) heading = RoundHeading(static_cast<float>(heading) - step);
  if (diff >= 1 && diff <= 720) heading = RoundHeading(static_cast<float>(heading) + step);
}

void BackOff(Game& game) {
  FighterState& f = game.match.Fighter[1];
  const double speed = game.loop.SpeedFactor;
  f.X = ToFloat(f.X - f.DirX * speed / 2);
  f.Z = ToFloat(f.Z - f.DirZ * speed / 2);
}

void CloseIn(Game& game) {
  FighterState& f = game.match.Fighter[1];
  const double speed = game.loop.SpeedFactor;
  f.X = ToFloat(f.DirX * speed / 2 + f.X);
  f.Z = ToFloat(f.DirZ * speed / 2 + f.Z);
}

}  // namespace

void MoveComputer(Game& game) {
  TurnTowardPlayer(game);

  Frame& camera = FrameOf(game, game.frames.Camera[1]);
  LookAt(camera, FrameOf(game, game.frames.FighterFrame[0]));
  FighterState& me = game.match.Fighter[1];
  Vec3 direction;
  GetOrientation(camera, direction, game.match.UpScratch);
  me.DirX = direction.x, me.DirY = direction.y, me.DirZ = direction.z;

  const FighterState& player = game.match.Fighter[0];
  const double dx = static_cast<double>(player.X) - me.X;
  const double dz = static_cast<double>(player.Z) - me.Z;
  const double d = std::sqrt(dx * dx + dz * dz);

  // Drawn toward about 12 units, or from farther off about 75; the narrow gaps just
  // below each band edge leave it standing for a frame.
  if (d >= 0 && d <= 11.999) {
    BackOff(game);
  } else if (d >= 12 && d <= 49.999) {
    CloseIn(game);
    Fire(game, 1);
  } else if (d >= 50 && d <= 74.999) {
    BackOff(game);
  } else if (d >= 75 && d <= 100) {
    CloseIn(game);
    Fire(game, 1);
  }
}
