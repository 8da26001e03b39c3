#pragma once
#include "base/i18n.h"

namespace brawl {

// The program's exit statuses: main returns them, --help lists them, and the manual page and
// docs/headless.md say the same words (a test holds them to this list).
constexpr int kExitFatal = 1;
constexpr int kExitUsage = 2;
constexpr int kExitOnline = 3;

struct ExitStatus {
  int code;
  const char* meaning;  // English; shown through _()
};

inline constexpr ExitStatus kExitStatuses[] = {
    {0, N_("The game was played and ended normally (Escape, the quit button, a closed window, the end of a "
           "headless run; online, also the other player leaving), or a question (--help, --version, "
           "--write-controls) was answered.")},
    {kExitFatal, N_("A fatal error: one line on standard error names what failed and the file or device.")},
    {kExitUsage, N_("A usage error: a bad option or value, a bad script line, or a --script or --replay file that "
                    "cannot be read.")},
    {kExitOnline, N_("An online game ended badly: nobody came, the connection was lost, the other side refused "
                     "(another version or build of the game, a game that already has two players), a game code "
                     "was unknown or expired, or the two machines disagreed (a desync).")},
};

}  // namespace brawl
