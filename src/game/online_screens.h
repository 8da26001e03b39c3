#pragma once
#include <string>
#include <vector>

#include "game/online_play.h"

namespace brawl {

struct Game;

// What an online game shows besides its match: the pictures while the other side is looked
// for, an ending that stays until a key, the banner while the other side is silent, and F3's
// figures.

// The lines on a black picture, each wrapped where it is wider, and the flip.
void DrawLines(Game& game, const std::vector<std::string>& lines);
// In a window the reason a game ended stays on the picture until a key is pressed (a key
// already held when it came does not count) or ten seconds pass; headless, nothing.
void ShowEnding(Game& game, const std::string& reason);

// While the other side is looked for: the picture says what is happening, and the player may
// leave, or pick one of the games found.
class WaitingPicture final : public LinkWaiting {
 public:
  explicit WaitingPicture(Game& game) : game_(game) {}
  bool Show(const std::vector<std::string>& lines) override;
  int Choose(const std::string& title, const std::vector<std::string>& choices) override;

 private:
  Game& game_;
};

// Once a second, the figures F3 shows.
void CountStats(OnlineGame& net, NetTime now);
// Over the picture: the banner while the other side is silent, and F3's figures.
void DrawOnlineOverlay(Game& game);

}  // namespace brawl
