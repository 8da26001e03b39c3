#include "game/online_play.h"

#include <cstdio>
#include <thread>

#include "base/fatal_error.h"
#include "base/i18n.h"
#include "base/pace.h"
#include "base/timing_trace.h"
#include "game/commands.h"
#include "game/event_pump.h"
#include "game/game.h"
#include "game/online_files.h"
#include "game/online_screens.h"
#include "game/shutdown.h"
#include "net/packed_commands.h"
#include "render/render3d.h"

namespace brawl {

namespace {

using std::chrono::milliseconds;

const auto kTick =
    std::chrono::duration_cast<NetTime::duration>(std::chrono::duration<double, std::milli>(kPassMs));

// One line on stderr and, in a window, on the picture; then the run ends with status 3.
[[noreturn]] void EndBadly(Game& game, const std::string& reason) {
  ShowEnding(game, reason);
  throw NetError(reason);
}

void Connect(Game& game) {
  OnlineGame& net = *game.online;
  WaitingPicture picture(game);
  OpenedLink opened;
  try {
    opened = net.open(net.plan, picture);
  } catch (const NetError& e) {
    ShowEnding(game, e.what());
    throw;
  }
  if (!opened.link) return EndRun(game);
  SessionSetup setup = net.plan.session;
  setup.path = opened.path;
  StartSession(net.session, std::move(opened.link), setup, net.now());
  net.connected = true;
}

// The passes both sides have confirmed go to the run's dump and to the replay.
void TakeConfirmed(Game& game) {
  OnlineGame& net = *game.online;
  const Session& s = net.session;
  for (int32_t f = net.dumped + 1; f <= ConfirmedPass(s); ++f) {
    if (game.observer) {
      const std::string extra =
          ",\"Net\":{\"Frame\":" + std::to_string(f) + ",\"Delay\":" + std::to_string(s.rollback.delay) +
          ",\"PingMs\":" + std::to_string(s.ping_ms) +
          ",\"Rollbacks\":" + std::to_string(s.rollback.rollbacks) +
          ",\"MaxRollback\":" + std::to_string(s.rollback.max_rollback) +
          ",\"Dropped\":" + std::to_string(Dropped(s)) + ",\"Path\":\"" + PathName(s.path) + "\"}";
      game.observer->PassConfirmed(game, ConfirmedMatch(s, f), f, extra);
    }
    if (f == 1) TraceTiming("first-confirmed");
    net.dumped = f;
    net.history.push_back(ConfirmedCommands(s, f));
  }
}

void TakeEvent(Game& game, const SessionEvent& event) {
  OnlineGame& net = *game.online;
  switch (event.kind) {
    case SessionEventKind::Synchronizing:
      break;
    case SessionEventKind::Running:
      game.loop.SpeedFactor = 1.0f;
      SetUpOnlineView(game.gfx, net.session.rollback.local);
      net.next_tick = net.stats.since = net.now();
      TraceTiming("online-running");
      break;
    case SessionEventKind::Interrupted:
    case SessionEventKind::Resumed:
      net.waiting_banner = event.kind == SessionEventKind::Interrupted;
      break;
    case SessionEventKind::PeerLeft:
      std::fprintf(stderr, "%s", _("brawl: net: the other player left\n"));
      TakeConfirmed(game);
      ShowEnding(game, _("The other player left."));
      return LeaveOnline(game);
    case SessionEventKind::Desync:
      TakeConfirmed(game);
      return EndBadly(game, ReportDesync(game, event.pass));
    case SessionEventKind::Refused:
    case SessionEventKind::ConnectionLost:
      return EndBadly(game, event.why);
  }
}

}  // namespace

bool PollOnline(Game& game) {
  OnlineGame& net = *game.online;
  if (!net.connected) {
    Connect(game);
    return false;
  }
  // Messages are taken as they come while the pass waits for its turn, so that a ping is
  // answered, and measured, without waiting for the next pass.
  do {
    for (const SessionEvent& event : Poll(net.session, net.now())) {
      TakeEvent(game, event);
      if (game.loop.Ending) return false;
    }
    if (net.session.stage != Session::Stage::Running) break;
    if (net.paced)
      std::this_thread::sleep_for(std::min<NetTime::duration>(milliseconds(1), net.next_tick - net.now()));
  } while (net.paced && net.now() < net.next_tick);
  Session& s = net.session;
  if (s.stage == Session::Stage::Synchronizing) {
    DrawLines(game,
              {Fill(_("Connected to {1}"), {s.link->PeerAddress()}), _("Measuring the round trip ...")});
    if (net.paced) std::this_thread::sleep_for(milliseconds(5));
    return false;
  }
  TakeConfirmed(game);
  if (net.finishing && ConfirmedPass(s) == s.rollback.pass) {
    LeaveOnline(game);
    return false;
  }
  game.match = s.rollback.match;  // stepped again if a guess was wrong
  // One pass each 1/60 s, whatever the display does.
  net.next_tick += kTick;
  if (net.now() - net.next_tick > kTick * 4) net.next_tick = net.now();
  CountStats(net, net.now());
  const bool f3 = game.platform.keyboard.Held(Key::F3);
  if (f3 && !net.stats.key_held) net.stats.shown = !net.stats.shown;
  net.stats.key_held = f3;
  return true;
}

bool ReadyToStep(Game& game) {
  OnlineGame& net = *game.online;
  if (net.finishing || !CanStep(net.session)) return false;
  // A headless side holds what its script says for the pass it is about to step.
  if (game.observer != nullptr && !game.observer->NextInput(game)) net.finishing = true;
  return !net.finishing;
}

PassEvents StepOnline(Game& game, const Commands& commands) {
  OnlineGame& net = *game.online;
  PassEvents events =
      Step(net.session, PackCommands(commands.player[0], commands.enter, commands.space), net.now());
  events.match_started = false;  // online the match starts without the start cue's pause
  game.match = net.session.rollback.match;
  TakeConfirmed(game);
  return events;
}

void LeaveOnline(Game& game) {
  OnlineGame& net = *game.online;
  TakeConfirmed(game);
  WriteRecord(net);
  // For the benchmarks: what this side sent over how many passes, and how long they took.
  TraceCount("net-bytes-sent", BytesSent(net.session));
  TraceCount("net-frames", net.session.rollback.pass);
  TraceCount("net-delay", net.session.rollback.delay);
  TraceCount("net-ping-ms", net.session.ping_ms);
  TraceCount("net-ping-us", net.session.ping_us);
  TraceCount("net-waits", net.session.waits);
  TraceTiming("online-done");
  if (net.session.stage != Session::Stage::Over) Leave(net.session);
  EndRun(game);
}

}  // namespace brawl
