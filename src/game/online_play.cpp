#include "game/online_play.h"

#include <cstdio>
#include <initializer_list>
#include <thread>

#include "base/fatal_error.h"
#include "base/pace.h"
#include "base/timing_trace.h"
#include "game/commands.h"
#include "game/event_pump.h"
#include "game/game.h"
#include "game/online_files.h"
#include "game/shutdown.h"
#include "net/packed_commands.h"
#include "render/render3d.h"

namespace brawl {

namespace {

const auto kTick =
    std::chrono::duration_cast<NetTime::duration>(std::chrono::duration<double, std::milli>(kPassMs));

void DrawLines(Game& game, std::initializer_list<std::string> lines) {
  Surface& back = game.gfx.BackBuffer;
  SetFillColor(back, 0);
  DrawBox(back, 0, 0, game.gfx.Width, game.gfx.Height);
  SetForeColor(back, 0xFFFFFF);
  int y = game.gfx.Height / 3;
  for (const std::string& line : lines) {
    DrawText(back, game.gfx.TextFont, 16, y, line);
    y += 16;
  }
  game.platform.display.Flip(game.gfx.BackBuffer);
}

// Between tries to connect: the picture says what is happening, and the player may leave.
bool WhileConnecting(void* context) {
  Game& game = *static_cast<Game*>(context);
  const OnlinePlan& plan = game.online->plan;
  DrawLines(game, {plan.session.host ? "Waiting for the other player on UDP port " + std::to_string(plan.port)
                                     : "Joining " + plan.peer + ":" + std::to_string(plan.port) + " ...",
                   "Escape gives up."});
  return !TakeCloseRequests(game) && !SampleCommands(game).escape;
}

void Connect(Game& game) {
  OnlineGame& net = *game.online;
  std::unique_ptr<NetLink> link = net.open(net.plan, WhileConnecting, &game);
  if (!link) {
    if (!game.loop.Running || game.loop.Ending || SampleCommands(game).escape) return EndRun(game);
    throw NetError(net.plan.session.host ? "nobody joined" : "nobody answered at " + net.plan.peer);
  }
  StartSession(net.session, std::move(link), net.plan.session, net.now());
  net.connected = true;
}

void TakeEvent(Game& game, const SessionEvent& event) {
  OnlineGame& net = *game.online;
  switch (event.kind) {
    case SessionEventKind::Synchronizing:
      break;
    case SessionEventKind::Running:
      game.loop.SpeedFactor = 1.0f;
      SetUpOnlineView(game.gfx, net.session.rollback.local);
      net.next_tick = net.now();
      break;
    case SessionEventKind::Interrupted:
    case SessionEventKind::Resumed:
      net.waiting_banner = event.kind == SessionEventKind::Interrupted;
      break;
    case SessionEventKind::PeerLeft:
      std::fprintf(stderr, "brawl: net: the other player left\n");
      TakeConfirmed(game);
      return LeaveOnline(game);
    case SessionEventKind::Desync:
      throw NetError(ReportDesync(game, event.pass));
    case SessionEventKind::Refused:
    case SessionEventKind::ConnectionLost:
      throw NetError(event.why);
  }
}

}  // namespace

bool PollOnline(Game& game) {
  OnlineGame& net = *game.online;
  if (!net.connected) {
    Connect(game);
    return false;
  }
  for (const SessionEvent& event : Poll(net.session, net.now())) {
    TakeEvent(game, event);
    if (game.loop.Ending) return false;
  }
  Session& s = net.session;
  if (s.stage == Session::Stage::Synchronizing) {
    DrawLines(game, {"Connected to " + s.link->PeerAddress(), "Measuring the round trip ..."});
    if (net.paced) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return false;
  }
  game.match = s.rollback.match;  // stepped again if a guess was wrong
  // One pass each 1/60 s, whatever the display does.
  if (net.paced) std::this_thread::sleep_until(net.next_tick);
  net.next_tick += kTick;
  if (net.now() - net.next_tick > kTick * 4) net.next_tick = net.now();
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
  return events;
}

void TakeConfirmed(Game& game) {
  OnlineGame& net = *game.online;
  const Session& s = net.session;
  for (int32_t f = net.dumped + 1; f <= ConfirmedPass(s); ++f) {
    if (game.observer) {
      const std::string extra = ",\"Net\":{\"Frame\":" + std::to_string(f) +
                                ",\"Delay\":" + std::to_string(s.rollback.delay) +
                                ",\"PingMs\":" + std::to_string(s.ping_ms) +
                                ",\"Rollbacks\":" + std::to_string(s.rollback.rollbacks) +
                                ",\"MaxRollback\":" + std::to_string(s.rollback.max_rollback) +
                                ",\"Dropped\":" + std::to_string(Dropped(s)) + "}";
      game.observer->PassConfirmed(game, ConfirmedMatch(s, f), f, extra);
    }
    net.dumped = f;
    net.history.push_back(ConfirmedCommands(s, f));
  }
}

void DrawOnlineBanner(Game& game) {
  if (!game.online->waiting_banner) return;
  SetForeColor(game.gfx.BackBuffer, 0xFFFF00);
  DrawText(game.gfx.BackBuffer, game.gfx.TextFont, 16, game.gfx.Height / 2, "Waiting for the other player...");
}

void LeaveOnline(Game& game) {
  OnlineGame& net = *game.online;
  TakeConfirmed(game);
  WriteRecord(net);
  // For the benchmarks: what this side sent over how many passes.
  TraceCount("net-bytes-sent", BytesSent(net.session));
  TraceCount("net-frames", net.session.rollback.pass);
  TraceCount("net-delay", net.session.rollback.delay);
  TraceCount("net-ping-ms", net.session.ping_ms);
  if (net.session.stage != Session::Stage::Over) Leave(net.session);
  EndRun(game);
}

void LeaveWhenDone(Game& game) {
  const OnlineGame& net = *game.online;
  if (net.finishing && ConfirmedPass(net.session) == net.session.rollback.pass) LeaveOnline(game);
}

}  // namespace brawl
