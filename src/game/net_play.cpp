#include "game/net_play.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "base/fatal_error.h"
#include "base/timing_trace.h"
#include "game/commands.h"
#include "game/event_pump.h"
#include "game/game.h"
#include "game/main_loop.h"
#include "game/shutdown.h"
#include "game/state_dump.h"
#include "net/net_step.h"
#include "net/protocol.h"
#include "net/replay.h"
#include "net/state_hash.h"
#include "render/overlay.h"
#include "render/render3d.h"
#include "sound/sound.h"

namespace brawl {

namespace {

using SteadyClock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr auto kTick =
    std::chrono::duration_cast<SteadyClock::duration>(std::chrono::duration<double>(1.0 / 60.0));
constexpr auto kQuietBanner = milliseconds(500);
constexpr auto kQuietLost = milliseconds(5000);
constexpr auto kPingEvery = milliseconds(500);
constexpr int kMeasuringPings = 5;
constexpr int kHashEvery = 30;  // frames between checks that both sides agree
constexpr double kFrameMs = 1000.0 / 60.0;

uint32_t NowMs(const NetPlay& net) {
  return static_cast<uint32_t>(
      std::chrono::duration_cast<milliseconds>(net.now().time_since_epoch()).count());
}

void Send(NetPlay& net, const Message& message, bool reliable) {
  net.link->Send(Encode(message), reliable);
}

void DrawLines(Game& game, std::initializer_list<std::string> lines) {
  Surface& back = game.gfx.BackBuffer;
  SetFillColor(back, 0);
  DrawBox(back, 0, 0, game.gfx.width, game.gfx.height);
  SetForeColor(back, 0xFFFFFF);
  int y = game.gfx.height / 3;
  for (const std::string& line : lines) {
    DrawText(back, game.gfx.font, 16, y, line);
    y += 16;
  }
}

// Between tries to connect: the picture says what is happening, and the player may leave.
bool WhileConnecting(void* context) {
  Game& game = *static_cast<Game*>(context);
  const NetPlan& plan = game.net->plan;
  DrawLines(game, {plan.host ? "Waiting for the other player on UDP port " + std::to_string(plan.port)
                             : "Joining " + plan.peer + ":" + std::to_string(plan.port) + " ...",
                   "Escape gives up."});
  game.platform.display.Flip(game.gfx.BackBuffer);
  PumpWindowEvents(game);
  return game.loop.Running && !game.loop.ending && !SampleCommands(game).escape;
}

void Connect(Game& game) {
  NetPlay& net = *game.net;
  net.link = net.open(net.plan, WhileConnecting, &game);
  if (!net.link) {
    if (!game.loop.Running || game.loop.ending || SampleCommands(game).escape) {
      game.loop.ending = true;
      return;
    }
    throw NetError(net.plan.host ? "nobody joined" : "nobody answered at " + net.plan.peer);
  }
  // The joiner says who it is; the host answers with the seed of the game, or refuses.
  if (!net.plan.host) {
    Message hello = MessageOf(MessageType::Hello);
    hello.version = kProtocolVersion;
    hello.rules = net.plan.rules;
    Send(net, hello, true);
  }
  net.stage = NetPlay::Stage::Measuring;
  net.last_heard = net.last_ping = net.now();
}

void Refuse(NetPlay& net, RefuseReason reason) {
  Message refuse = MessageOf(MessageType::Refuse);
  refuse.reason = reason;
  Send(net, refuse, true);
  net.link.reset();  // waits for the refusal to go out
}

[[noreturn]] void Mismatch(RefuseReason reason, bool ours) {
  const char* what = reason == RefuseReason::Version ? "the other player runs another version of the protocol"
                                                     : "the other player runs another build of the rules";
  throw NetError(std::string(what) + (ours ? "" : " (refused by the host)"));
}

void BeginPlay(Game& game) {
  NetPlay& net = *game.net;
  const int delay = net.plan.input_delay >= 0
                        ? net.plan.input_delay
                        // The fewest frames that cover half the round trip.
                        : std::min(kMaxInputDelay, static_cast<int>(std::ceil(net.ping_ms / 2.0 / kFrameMs)));
  // The match both sides start from: the opening position reseeded from the shared clock.
  PassEvents ignored;
  ResetMatch(game.match, NetClock(net.seed, 0), ignored);
  StartRollback(net.rollback, game.match, net.plan.host ? 0 : 1, delay, net.seed);
  game.loop.SpeedFactor = 1.0f;
  SetUpOnlineView(game.gfx, net.rollback.local);
  net.stage = NetPlay::Stage::Playing;
  net.next_tick = net.now();
}

// Writes this side's replay and last confirmed state for a bug report, and says where.
std::string ReportDesync(Game& game, int32_t frame) {
  NetPlay& net = *game.net;
  std::string message = "desync at frame " + std::to_string(frame) + ": the two machines disagree";
  const std::string& folder = net.plan.report_folder;
  std::error_code error;
  if (folder.empty()) return message + "; no report written (no HOME)";
  std::filesystem::create_directories(folder, error);
  const std::string stem = folder + "desync-" + std::to_string(std::time(nullptr)) + "-player" +
                           std::to_string(net.rollback.local + 1);
  Replay replay;
  replay.online = true;
  replay.seed = net.seed;
  replay.frames = net.history;
  std::ofstream(stem + ".replay") << ReplayText(replay);
  std::ofstream(stem + ".state.json")
      << StateDumpLine(MatchAfter(net.rollback, net.dumped), game.loop, game.sound, net.dumped, "") << "\n";
  if (error) return message + "; no report written (" + folder + ": " + error.message() + ")";
  return message + "; replay and state in " + stem + ".replay and " + stem + ".state.json";
}

// Both sides hash every 30th confirmed frame; the first that differs ends the game for both.
void CheckHashes(Game& game) {
  NetPlay& net = *game.net;
  for (const auto& [frame, hash] : net.remote_hashes) {
    if (frame == 0 || frame > net.dumped || frame <= net.dumped - kStateRing) continue;
    if (net.hashes[frame % kStateRing] != hash) throw NetError(ReportDesync(game, frame));
  }
}

void TakeMessage(Game& game, const Message& m) {
  NetPlay& net = *game.net;
  switch (m.type) {
    case MessageType::Hello:
      if (!net.plan.host) break;
      if (m.version != kProtocolVersion) {
        Refuse(net, RefuseReason::Version);
        Mismatch(RefuseReason::Version, true);
      }
      if (m.rules != net.plan.rules) {
        Refuse(net, RefuseReason::Build);
        Mismatch(RefuseReason::Build, true);
      }
      {
        Message welcome = MessageOf(MessageType::Welcome);
        welcome.version = kProtocolVersion;
        welcome.rules = net.plan.rules;
        welcome.seed = net.seed = net.plan.seed != 0 ? net.plan.seed : std::random_device{}() | 1u;
        Send(net, welcome, true);
      }
      break;
    case MessageType::Welcome:
      if (net.plan.host) break;
      if (m.version != kProtocolVersion) Mismatch(RefuseReason::Version, true);
      if (m.rules != net.plan.rules) Mismatch(RefuseReason::Build, true);
      net.seed = m.seed == 0 ? 1 : m.seed;
      break;
    case MessageType::Refuse:
      Mismatch(m.reason, false);
    case MessageType::Ping: {
      Message pong = MessageOf(MessageType::Pong);
      pong.stamp = m.stamp;
      Send(net, pong, false);
      break;
    }
    case MessageType::Pong: {
      const int rtt = static_cast<int>(NowMs(net) - m.stamp);
      net.ping_ms = net.pings == 0 ? rtt : (net.ping_ms * 3 + rtt) / 4;
      ++net.pings;
      break;
    }
    case MessageType::Commands:
      if (net.stage != NetPlay::Stage::Playing) break;
      net.remote_frame = std::max(net.remote_frame, m.frame);
      net.remote_ack = std::max(net.remote_ack, m.ack);
      TakeRemote(net.rollback, m.first, m.inputs);
      break;
    case MessageType::Hash:
      if (net.stage != NetPlay::Stage::Playing || m.frame <= 0 || m.frame % kHashEvery != 0) break;
      net.remote_hashes[m.frame / kHashEvery % kStateRing] = {m.frame, m.hash};
      CheckHashes(game);
      break;
    case MessageType::Leave:
      std::fprintf(stderr, "brawl: net: the other player left\n");
      game.loop.ending = true;
      break;
  }
}

void Listen(Game& game) {
  NetPlay& net = *game.net;
  const bool connected = net.link->Service();
  std::vector<uint8_t> bytes;
  while (net.link && net.link->Receive(bytes)) {
    net.last_heard = net.now();
    const std::optional<Message> message = Decode(bytes.data(), bytes.size());
    if (!message) {
      ++net.dropped;
      continue;
    }
    TakeMessage(game, *message);
    if (game.loop.ending) return;
  }
  if (!connected || net.now() - net.last_heard > kQuietLost) throw NetError("connection lost");
}

// Once the host has welcomed the joiner, both measure the round trip before the game starts.
void Measure(Game& game) {
  NetPlay& net = *game.net;
  if (net.seed == 0) return;
  if (net.pings >= kMeasuringPings) {
    BeginPlay(game);
    return;
  }
  if (net.now() - net.last_ping > milliseconds(50)) {
    Message ping = MessageOf(MessageType::Ping);
    ping.stamp = NowMs(net);
    Send(net, ping, false);
    net.last_ping = net.now();
  }
}

void SendCommands(NetPlay& net) {
  const Rollback& r = net.rollback;
  Message m = MessageOf(MessageType::Commands);
  m.ack = r.known[1 - r.local];
  m.frame = r.frame;
  m.first = std::max(1, net.remote_ack + 1);
  for (int32_t f = m.first; f <= r.known[r.local] && m.inputs.size() < kMaxInputsPerPacket; ++f) {
    m.inputs.push_back(CommandsOf(r, r.local, f));
  }
  Send(net, m, false);
}

// Every confirmed frame is written once, in order, and hashed for the other side to check.
void WriteConfirmed(Game& game) {
  NetPlay& net = *game.net;
  const Rollback& r = net.rollback;
  for (int32_t f = net.dumped + 1; f <= Confirmed(r); ++f) {
    const Match& m = MatchAfter(r, f);
    net.hashes[f % kStateRing] = HashMatch(m);
    if (game.observer) {
      const std::string extra =
          ",\"Net\":{\"Frame\":" + std::to_string(f) + ",\"Delay\":" + std::to_string(r.delay) +
          ",\"PingMs\":" + std::to_string(net.ping_ms) + ",\"Rollbacks\":" + std::to_string(r.rollbacks) +
          ",\"MaxRollback\":" + std::to_string(r.max_rollback) +
          ",\"Dropped\":" + std::to_string(net.dropped + net.link->Refused()) + "}";
      game.observer->FrameConfirmed(game, m, f, extra);
    }
    net.dumped = f;
    net.history.push_back(CommandsOf(r, 0, f) | static_cast<uint32_t>(CommandsOf(r, 1, f)) << 16);
    if (f % kHashEvery == 0) {
      Message hash = MessageOf(MessageType::Hash);
      hash.frame = f;
      hash.hash = net.hashes[f % kStateRing];
      Send(net, hash, false);
    }
  }
  CheckHashes(game);
}

// Ahead of the other side by more than a frame: wait a tick so that the two agree.
bool RunningAhead(const NetPlay& net) {
  const int32_t latency = static_cast<int32_t>(net.ping_ms / 2.0 / kFrameMs);
  return net.rollback.frame > net.remote_frame + latency + 1;
}

void WriteRecord(const NetPlay& net) {
  if (net.plan.record.empty()) return;
  Replay replay;
  replay.online = true;
  replay.seed = net.seed;
  replay.frames = net.history;
  std::ofstream out(net.plan.record, std::ios::binary);
  out << ReplayText(replay);
  if (!out.flush())
    std::fprintf(stderr, "brawl: warning: replay: %s: cannot be written\n", net.plan.record.c_str());
}

// For the benchmarks: what this side sent over how many frames.
void TraceTraffic(const NetPlay& net) {
  if (!net.link) return;
  TraceCount("net-bytes-sent", net.link->BytesSent());
  TraceCount("net-frames", net.rollback.frame);
  TraceCount("net-delay", net.rollback.delay);
  TraceCount("net-ping-ms", net.ping_ms);
}

void Leave(Game& game) {
  NetPlay& net = *game.net;
  WriteRecord(net);
  TraceTraffic(net);
  Send(net, MessageOf(MessageType::Leave), true);
  net.link.reset();
  ReleaseObjects(game);
  RestoreDisplay(game);
  game.loop.ending = true;
}

// This side's view of an online match, as a game or its replay shows it.
void DrawOnlineFrame(Game& game, const Match& match) {
  const Mode mode = match.GameMode;
  Render3D(game.gfx, game.scene, match, InMatch(mode) ? Mode::OnePlayer : mode);
  DrawOverlay(game.gfx, match, mode);
  if (InMatch(mode)) {
    StepFrameTiming(game);
    game.loop.SpeedFactor = 1.0f;  // measured for the frame-rate line only
    if (game.settings.ShowFps) DrawFpsLine(game);
  }
}

void Draw(Game& game, const Match& match) {
  NetPlay& net = *game.net;
  DrawOnlineFrame(game, match);
  if (net.now() - net.last_heard > kQuietBanner) {
    SetForeColor(game.gfx.BackBuffer, 0xFFFF00);
    DrawText(game.gfx.BackBuffer, game.gfx.font, 16, game.gfx.height / 2, "Waiting for the other player...");
  }
  game.platform.display.Flip(game.gfx.BackBuffer);
}

void Play(Game& game) {
  NetPlay& net = *game.net;
  Rollback& r = net.rollback;
  bool advance = !net.finishing && CanAdvance(r) && !RunningAhead(net);
  // A headless side holds what its script says for the frame it is about to step.
  if (advance && game.observer != nullptr && !game.observer->NextFrame(game)) {
    net.finishing = true;
    advance = false;
  }
  const Commands commands = SampleCommands(game);
  if (commands.escape) {
    WriteConfirmed(game);
    Leave(game);
    return;
  }
  UpdateSounds(game.sound, game.platform.audio);
  if (advance) {
    const PlayerCommands& own = commands.player[0];  // player 1's keys or this side's own pad
    const PassEvents events = Advance(r, PackCommands(own, commands.enter, commands.space));
    for (int i = 0; i < events.sound_count; ++i) PlaySound(game.sound, game.platform.audio, events.sounds[i]);
  }
  SendCommands(net);
  if (net.now() - net.last_ping > kPingEvery) {
    Message ping = MessageOf(MessageType::Ping);
    ping.stamp = NowMs(net);
    Send(net, ping, false);
    net.last_ping = net.now();
  }
  WriteConfirmed(game);
  game.match = r.match;
  Draw(game, r.match);
  ++game.passes;
  if (net.finishing && Confirmed(r) == r.frame) Leave(game);
}

}  // namespace

void RunOnlineReplayFrame(Game& game) {
  const Replay& replay = *game.playback;
  const int32_t frame = static_cast<int32_t>(game.passes);
  if (SampleCommands(game).escape) {
    ReleaseObjects(game);
    RestoreDisplay(game);
    game.loop.ending = true;
    return;
  }
  if (frame == 1) {
    // The match both sides started from, as the online game began it.
    PassEvents ignored;
    ResetMatch(game.match, NetClock(replay.seed, 0), ignored);
    game.loop.SpeedFactor = 1.0f;
    SetUpOnlineView(game.gfx, 0);
  }
  const uint32_t both = static_cast<size_t>(frame - 1) < replay.frames.size() ? replay.frames[frame - 1] : 0;
  const PassEvents events = NetStep(game.match, replay.seed, frame, static_cast<uint16_t>(both & 0xFFFF),
                                    static_cast<uint16_t>(both >> 16));
  for (int i = 0; i < events.sound_count; ++i) PlaySound(game.sound, game.platform.audio, events.sounds[i]);
  DrawOnlineFrame(game, game.match);
  game.platform.display.Flip(game.gfx.BackBuffer);
  if (game.observer) game.observer->PassDone(game);
}

void RunNetTick(Game& game) {
  NetPlay& net = *game.net;
  if (net.stage == NetPlay::Stage::Connecting) {
    Connect(game);
    return;
  }
  Listen(game);
  if (game.loop.ending) {
    if (net.stage == NetPlay::Stage::Playing) WriteConfirmed(game);
    WriteRecord(net);
    TraceTraffic(net);
    net.link.reset();
    RestoreDisplay(game);
    return;
  }
  if (net.stage == NetPlay::Stage::Measuring) {
    Measure(game);
    if (net.stage == NetPlay::Stage::Measuring) {
      DrawLines(game, {"Connected to " + net.link->PeerAddress(), "Measuring the round trip ..."});
      game.platform.display.Flip(game.gfx.BackBuffer);
      if (net.paced) std::this_thread::sleep_for(milliseconds(5));
    }
    return;
  }
  // One frame each 1/60 s, whatever the display does.
  if (net.paced) std::this_thread::sleep_until(net.next_tick);
  net.next_tick += kTick;
  if (net.now() - net.next_tick > kTick * 4) net.next_tick = net.now();
  Play(game);
}

}  // namespace brawl
