#pragma once
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/port_mapper.h"

namespace brawl {

// Keeps a port mapping for as long as it lives, on a thread of its own so that the game never
// waits for the router: asks at once, renews at half the lease, and removes the mapping when
// destroyed (an ending of any kind: Escape, a fatal error unwinding to main, a stop signal
// that ends the loop).
class PortMappingKeeper {
 public:
  PortMappingKeeper(std::unique_ptr<PortMapper> mapper, int port, int lease_s);
  ~PortMappingKeeper();
  PortMappingKeeper(const PortMappingKeeper&) = delete;
  PortMappingKeeper& operator=(const PortMappingKeeper&) = delete;

  // What the router said, once it has (or once nothing answered); nothing before.
  std::optional<PortMapping> Result() const;
  // Renewals the router agreed to so far.
  int Renewals() const;

 private:
  void Run(int port, int lease_s);

  std::unique_ptr<PortMapper> mapper_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::optional<PortMapping> result_;
  int renewals_ = 0;
  std::thread thread_;
};

}  // namespace brawl
