#include "game/online_screens.h"

#include <algorithm>

#include "base/i18n.h"
#include "base/timing_trace.h"
#include "game/commands.h"
#include "game/event_pump.h"
#include "game/game.h"
#include "game/online_play.h"

namespace brawl {

namespace {

constexpr auto kEndingShown = std::chrono::seconds(10);

bool AnyKeyHeld(Game& game) {
  for (int key = 0; key < static_cast<int>(Key::Count); ++key)
    if (game.platform.keyboard.Held(static_cast<Key>(key))) return true;
  return false;
}

bool GivesUp(Game& game) {
  return TakeCloseRequests(game) || SampleCommands(game).escape;
}

}  // namespace

void DrawLines(Game& game, const std::vector<std::string>& lines) {
  Surface& back = game.gfx.BackBuffer;
  SetFillColor(back, 0);
  DrawBox(back, 0, 0, game.gfx.Width, game.gfx.Height);
  SetForeColor(back, 0xFFFFFF);
  const Font& font = game.gfx.TextFont;
  int y = game.gfx.Height / 3;
  const auto draw = [&](const std::string& row) {
    DrawText(back, font, 16, y, row);
    y += 16;
  };
  const int room = game.gfx.Width - 32;
  for (const std::string& line : lines) {
    if (TextWidth(font, line) <= room) {
      draw(line);
      continue;
    }
    std::string row;
    for (size_t at = 0; at < line.size();) {
      const size_t end = std::min(line.find(' ', at), line.size());
      const std::string word = line.substr(at, end - at);
      if (!row.empty() && TextWidth(font, row + " " + word) > room) {
        draw(row);
        row = word;
      } else {
        row += (row.empty() ? "" : " ") + word;
      }
      at = end + 1;
    }
    draw(row);
  }
  game.platform.display.Flip(game.gfx.BackBuffer);
}

void ShowEnding(Game& game, const std::string& reason) {
  OnlineGame& net = *game.online;
  if (!net.plan.in_window) return;
  TraceTiming("ending-shown");
  const NetTime until = net.now() + kEndingShown;
  bool released = false;
  while (net.now() < until && !TakeCloseRequests(game)) {
    DrawLines(game, {reason, _("Press a key to close.")});
    const bool held = AnyKeyHeld(game);
    if (released && held) break;
    released = released || !held;
  }
}

bool WaitingPicture::Show(const std::vector<std::string>& lines) {
  std::vector<std::string> shown = lines;
  shown.push_back(_("Escape gives up."));
  DrawLines(game_, shown);
  return !GivesUp(game_);
}

int WaitingPicture::Choose(const std::string& title, const std::vector<std::string>& choices) {
  Keyboard& keys = game_.platform.keyboard;
  int at = 0;
  bool held = true;  // a key held when the list came does not count
  for (;;) {
    std::vector<std::string> shown = {title};
    for (size_t i = 0; i < choices.size(); ++i)
      shown.push_back((static_cast<int>(i) == at ? "> " : "  ") + choices[i]);
    shown.push_back(_("Enter joins, Escape gives up."));
    DrawLines(game_, shown);
    if (GivesUp(game_)) return -1;
    const bool up = keys.Held(Key::Up), down = keys.Held(Key::Down), enter = keys.Held(Key::Enter);
    if (!held && enter) return at;
    if (!held && (up || down))
      at = (at + (down ? 1 : -1) + static_cast<int>(choices.size())) % static_cast<int>(choices.size());
    held = up || down || enter;
  }
}

void CountStats(OnlineGame& net, NetTime now) {
  NetStats& stats = net.stats;
  if (now - stats.since < std::chrono::seconds(1)) return;
  const double seconds = std::chrono::duration<double>(now - stats.since).count();
  const int64_t rollbacks = net.session.rollback.rollbacks, bytes = BytesSent(net.session);
  stats.rollbacks_per_second = static_cast<int>((rollbacks - stats.rollbacks) / seconds + 0.5);
  stats.bytes_per_second = static_cast<int>((bytes - stats.bytes) / seconds + 0.5);
  stats.rollbacks = rollbacks, stats.bytes = bytes, stats.since = now;
}

void DrawOnlineOverlay(Game& game) {
  const OnlineGame& net = *game.online;
  Surface& back = game.gfx.BackBuffer;
  if (net.waiting_banner) {
    SetForeColor(back, 0xFFFF00);
    DrawText(back, game.gfx.TextFont, 16, game.gfx.Height / 2, _("Waiting for the other player..."));
  }
  if (!net.stats.shown) return;
  const Session& s = net.session;
  SetForeColor(back, 0x80FF80);
  const int y = game.gfx.Height - 40;
  DrawText(back, game.gfx.TextFont, 10, y,
           Fill(_("ping {1} ms  delay {2}  ahead {3}"),
                {std::to_string(s.ping_ms), std::to_string(s.rollback.delay), std::to_string(Advantage(s))}));
  DrawText(back, game.gfx.TextFont, 10, y + 14,
           Fill(_("rollbacks {1}/s  sent {2} B/s"), {std::to_string(net.stats.rollbacks_per_second),
                                                     std::to_string(net.stats.bytes_per_second)}));
}

}  // namespace brawl
