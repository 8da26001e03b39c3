#include "net/link_sim.h"

#include <algorithm>
#include <deque>

namespace brawl {

namespace {

class FaultyLink final : public NetLink {
 public:
  FaultyLink(std::unique_ptr<NetLink> inner, const LinkFaults& faults, LinkTime now)
      : inner_(std::move(inner)), faults_(faults), now_(now), random_(faults.seed) {}
  // What is still held back (a goodbye among it) goes out now, before the link closes.
  ~FaultyLink() override {
    for (const Held& held : queue_) inner_->Send(held.bytes, held.reliable);
  }
  FaultyLink(const FaultyLink&) = delete;
  FaultyLink& operator=(const FaultyLink&) = delete;

  void Send(const std::vector<uint8_t>& bytes, bool reliable) override {
    std::uniform_real_distribution<double> percent(0, 100), jitter(0, faults_.jitter_ms);
    // Reliable messages are the link's own to repeat; dropping them here would lose them for good.
    if (!reliable && percent(random_) < faults_.loss_percent) return;
    const int copies = !reliable && percent(random_) < faults_.duplicate_percent ? 2 : 1;
    for (int i = 0; i < copies; ++i) {
      const double delay_ms = faults_.rtt_ms / 2 + jitter(random_);
      const auto due = now_() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                    std::chrono::duration<double, std::milli>(delay_ms));
      // Reliable ones keep their order, as the link promises; the others may be overtaken.
      const auto at = reliable && !queue_.empty() ? std::max(due, last_reliable_) : due;
      if (reliable) last_reliable_ = at;
      queue_.insert(
          std::upper_bound(queue_.begin(), queue_.end(), at, [](auto t, const Held& h) { return t < h.due; }),
          Held{at, bytes, reliable});
    }
  }

  bool Service() override {
    const auto now = now_();
    while (!queue_.empty() && queue_.front().due <= now) {
      inner_->Send(queue_.front().bytes, queue_.front().reliable);
      queue_.pop_front();
    }
    return inner_->Service();
  }

  bool Receive(std::vector<uint8_t>& bytes) override { return inner_->Receive(bytes); }
  int64_t Refused() const override { return inner_->Refused(); }
  int64_t BytesSent() const override { return inner_->BytesSent(); }
  std::string PeerAddress() const override { return inner_->PeerAddress(); }

 private:
  struct Held {
    std::chrono::steady_clock::time_point due;
    std::vector<uint8_t> bytes;
    bool reliable;
  };
  std::unique_ptr<NetLink> inner_;
  LinkFaults faults_;
  LinkTime now_;
  std::mt19937 random_;
  std::deque<Held> queue_;
  std::chrono::steady_clock::time_point last_reliable_{};
};

struct Pipe {
  std::deque<std::vector<uint8_t>> to[2];
  bool open[2] = {true, true};
};

class PipeEnd final : public NetLink {
 public:
  PipeEnd(std::shared_ptr<Pipe> pipe, int side) : pipe_(std::move(pipe)), side_(side) {}
  ~PipeEnd() override { pipe_->open[side_] = false; }
  PipeEnd(const PipeEnd&) = delete;
  PipeEnd& operator=(const PipeEnd&) = delete;

  void Send(const std::vector<uint8_t>& bytes, bool) override {
    pipe_->to[1 - side_].push_back(bytes);
    sent_ += static_cast<int64_t>(bytes.size());
  }
  bool Service() override { return pipe_->open[1 - side_]; }
  bool Receive(std::vector<uint8_t>& bytes) override {
    auto& mine = pipe_->to[side_];
    if (mine.empty()) return false;
    bytes = std::move(mine.front());
    mine.pop_front();
    return true;
  }
  int64_t Refused() const override { return 0; }
  int64_t BytesSent() const override { return sent_; }
  std::string PeerAddress() const override { return "the other end of the pipe"; }

 private:
  std::shared_ptr<Pipe> pipe_;
  int side_;
  int64_t sent_ = 0;
};

}  // namespace

std::unique_ptr<NetLink> WithFaults(std::unique_ptr<NetLink> inner, const LinkFaults& faults, LinkTime now) {
  return std::make_unique<FaultyLink>(std::move(inner), faults, now);
}

std::pair<std::unique_ptr<NetLink>, std::unique_ptr<NetLink>> LinkPair() {
  auto pipe = std::make_shared<Pipe>();
  return {std::make_unique<PipeEnd>(pipe, 0), std::make_unique<PipeEnd>(pipe, 1)};
}

}  // namespace brawl
