#include "net/packed_commands.h"

namespace brawl {

CommandBits PackCommands(const PlayerCommands& p, bool enter, bool space) {
  const bool bits[] = {p.forward,   p.back, p.right, p.left, p.turn_right,
                       p.turn_left, p.fire, p.spare, enter,  space};
  CommandBits packed = 0;
  for (int i = 0; i < 10; ++i) packed |= static_cast<CommandBits>(bits[i] ? 1 << i : 0);
  return packed;
}

PlayerCommands UnpackCommands(CommandBits b) {
  PlayerCommands p;
  p.forward = b & 1, p.back = b & 2, p.right = b & 4, p.left = b & 8;
  p.turn_right = b & 16, p.turn_left = b & 32, p.fire = b & 64, p.spare = b & 128;
  return p;
}

}  // namespace brawl
