#include "net/net_step.h"

#include "base/pace.h"

namespace brawl {

namespace {
constexpr CommandBits kEnter = 1 << 8, kSpace = 1 << 9;
}  // namespace

float NetClock(uint32_t seed, int32_t pass) {
  // Within a day of game time, far enough from zero that a float tells passes apart no
  // better than the real timer does.
  const double start = 10000.0 + seed % 50000;
  return static_cast<float>(start + pass / double(kPassesPerSecond));
}

PassEvents NetStep(Match& match, uint32_t seed, int32_t pass, CommandBits player1, CommandBits player2) {
  PassInput input;
  input.commands.player[0] = UnpackCommands(player1);
  input.commands.player[1] = UnpackCommands(player2);
  input.commands.enter = (player1 | player2) & kEnter;
  input.commands.space = (player1 | player2) & kSpace;
  input.speed_factor = 1.0f;
  input.clock = NetClock(seed, pass);
  if (match.GameMode == Mode::Title) {
    match.TitleChoice = static_cast<int16_t>(Mode::TwoPlayers);
    input.commands.player[0] = input.commands.player[1] = PlayerCommands{};
  }
  return StepPass(match, input);
}

}  // namespace brawl
