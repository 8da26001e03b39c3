#include "app/online_setup.h"

#include "app/enet_opener.h"
#include "app/options.h"
#include "app/player_folders.h"
#include "game/online_play.h"

namespace brawl {

namespace {

// A headless run waits so long for the other player, then gives up.
constexpr int kHeadlessWaitMs = 60000;

}  // namespace

void SetUpOnlineGame(OnlineGame& online, const Options& options) {
  OnlinePlan& plan = online.plan;
  plan.session.host = options.host;
  plan.session.input_delay = options.input_delay;
  plan.session.rules = BRAWL_RULES_HASH;
  // A headless game is the same game every time its scripts are: the seed follows the clock's
  // start, as the headless clock does.
  if (options.headless) plan.session.seed = static_cast<uint32_t>(options.clock_start * 1000) | 1u;
  plan.peer = options.join;
  plan.port = options.port;
  plan.lan = options.join_lan;
  plan.code = options.code;
  plan.rendezvous = options.rendezvous;
  plan.rendezvous_port = options.rendezvous_port;
  plan.port_mapping = options.port_mapping;
  plan.faulty = options.net_sim;
  plan.faults = {options.sim_rtt_ms, options.sim_jitter_ms, options.sim_loss_percent, 0, options.sim_seed};
  plan.session.desync_at = options.desync_at;
  plan.give_up_ms = options.headless ? kHeadlessWaitMs : 0;
  plan.in_window = !options.headless;
  plan.record = options.record;
  plan.report_folder = StateFolder();
  online.open = OpenOverEnet;
}

}  // namespace brawl
