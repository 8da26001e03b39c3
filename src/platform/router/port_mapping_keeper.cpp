#include "platform/router/port_mapping_keeper.h"

#include <algorithm>
#include <chrono>

namespace brawl {

PortMappingKeeper::PortMappingKeeper(std::unique_ptr<PortMapper> mapper, int port, int lease_s)
    : mapper_(std::move(mapper)), thread_([this, port, lease_s] { Run(port, lease_s); }) {}

PortMappingKeeper::~PortMappingKeeper() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
  mapper_->Remove();
}

std::optional<PortMapping> PortMappingKeeper::Result() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return result_;
}

int PortMappingKeeper::Renewals() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return renewals_;
}

void PortMappingKeeper::Run(int port, int lease_s) {
  const PortMapping mapping = mapper_->Map(port, lease_s);
  std::unique_lock<std::mutex> lock(mutex_);
  result_ = mapping;
  // A permanent mapping needs no renewal; it is removed all the same.
  if (!mapping.mapped || mapping.lease_s <= 0) return;
  const auto every = std::chrono::milliseconds(std::max(1, mapping.lease_s) * 500);
  while (!wake_.wait_for(lock, every, [this] { return stopping_; })) {
    lock.unlock();
    const bool renewed = mapper_->Renew();
    lock.lock();
    if (renewed) ++renewals_;
  }
}

}  // namespace brawl
