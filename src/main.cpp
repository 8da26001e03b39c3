#include <cstdio>
#include <exception>

#include "app/controls_ini.h"
#include "app/data_folder.h"
#include "app/exit_status.h"
#include "app/headless_run.h"
#include "app/options.h"
#include "app/real_run.h"
#include "base/fatal_error.h"
#include "base/i18n.h"
#include "platform/stop_signals.h"

int main(int argc, char** argv) {
  using namespace brawl;
  InstallStopSignals();
  StartLanguage(LocaleFolder());
  try {
    const Options options = ParseOptions(argc, argv);
    if (!options.answer.empty()) {
      std::fputs(options.answer.c_str(), stdout);
      return 0;
    }
    if (options.write_controls) return WriteControlsFile(options);
    return options.headless ? RunHeadlessGame(options) : RunRealGame(options);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "brawl: %s\n", e.what());
    return kExitUsage;
  } catch (const NetError& e) {
    std::fprintf(stderr, e.own_line ? "brawl: %s\n" : "brawl: net: %s\n", e.what());
    return kExitOnline;
  } catch (const FatalError& e) {
    std::fprintf(stderr, "brawl: %s\n", e.what());
    return kExitFatal;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "brawl: unexpected failure: %s\n", e.what());
    return kExitFatal;
  }
}
