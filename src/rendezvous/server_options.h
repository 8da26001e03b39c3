#pragma once
#include <string>

#include "rendezvous/rendezvous_server.h"

namespace brawl {

struct ServerOptions {
  int port = kRendezvousPort;
  ServerLimits limits;
  std::string answer;  // --help or --version: print this and exit
};

// Throws UsageError with one line for a bad command line.
ServerOptions ParseServerOptions(int argc, char** argv);

}  // namespace brawl
