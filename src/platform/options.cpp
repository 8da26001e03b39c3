#include "platform/options.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <set>
#include <string_view>

#include "platform/fatal_error.h"

namespace brawl {

namespace {

bool IsDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Digits only (no sign, no blanks), within [low, high].
int64_t ParseWhole(std::string_view option, std::string_view text, int64_t low, int64_t high) {
  if (!IsDigits(text)) {
    throw UsageError(std::string(option) + " wants a whole number, not '" + std::string(text) + "'");
  }
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    const std::string range = high == std::numeric_limits<int64_t>::max()
                                  ? "at least " + std::to_string(low)
                                  : "between " + std::to_string(low) + " and " + std::to_string(high);
    throw UsageError(std::string(option) + " must be " + range + ", not " + std::string(text));
  }
  return value;
}

double ParseDecimal(std::string_view option, std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    throw UsageError(std::string(option) + " wants a decimal number, not '" + std::string(text) + "'");
  }
  return value;
}

}  // namespace

Options ParseOptions(int argc, char** argv) {
  Options options;
  std::set<std::string_view> seen;
  std::vector<std::string_view> headless_only;
  std::vector<int> joystick_boxes;

  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    // The value of an option that takes one; a following option is not a value.
    auto value = [&]() -> std::string_view {
      if (i + 1 >= argc || std::string_view(argv[i + 1]).starts_with("--") || argv[i + 1][0] == '\0') {
        throw UsageError(std::string(option) + " needs a value");
      }
      return argv[++i];
    };
    auto once = [&] {
      if (!seen.insert(option).second) throw UsageError(std::string(option) + " is given twice");
    };
    auto for_headless = [&] { headless_only.push_back(option); };

    if (option == "--headless") {
      options.headless = true;
    } else if (option == "--windowed") {
      options.windowed = true;
    } else if (option == "--app-path") {
      once();
      options.app_path = value();
    } else if (option == "--hires") {
      for_headless();
      options.hires = true;
    } else if (option == "--show-fps") {
      for_headless();
      options.show_fps = true;
    } else if (option == "--joysticks") {
      for_headless();
      once();
      options.joysticks = static_cast<int>(ParseWhole(option, value(), 0, 2));
    } else if (option == "--joystick") {
      for_headless();
      joystick_boxes.push_back(static_cast<int>(ParseWhole(option, value(), 1, 2)));
    } else if (option == "--script") {
      for_headless();
      once();
      options.script = value();
    } else if (option == "--frames") {
      for_headless();
      once();
      options.frames = ParseWhole(option, value(), 0, std::numeric_limits<int64_t>::max());
    } else if (option == "--dump") {
      for_headless();
      once();
      options.dump = value();
    } else if (option == "--screenshot") {
      for_headless();
      const std::string_view text = value();
      const size_t colon = text.find(':');
      if (colon == std::string_view::npos || colon + 1 == text.size()) {
        throw UsageError("--screenshot wants PASS:FILE, not '" + std::string(text) + "'");
      }
      const int64_t pass =
          ParseWhole("--screenshot's pass", text.substr(0, colon), 1, std::numeric_limits<int64_t>::max());
      options.screenshots.emplace_back(pass, std::string(text.substr(colon + 1)));
    } else if (option == "--clock-start") {
      for_headless();
      once();
      options.clock_start = ParseDecimal(option, value());
      if (options.clock_start < 0) throw UsageError("--clock-start must not be negative");
    } else if (option == "--frame-ms") {
      for_headless();
      once();
      options.frame_ms = ParseDecimal(option, value());
      if (!(options.frame_ms > 0)) throw UsageError("--frame-ms must be greater than 0");
    } else if (option.starts_with("-") && option != "-") {
      throw UsageError(std::string(option) + ": unknown option");
    } else {
      throw UsageError("unexpected argument '" + std::string(option) + "'");
    }
  }

  if (!options.headless && !headless_only.empty()) {
    throw UsageError(std::string(headless_only.front()) + " needs --headless");
  }
  if (options.headless && options.windowed) {
    throw UsageError("--windowed has no window to show with --headless");
  }
  for (int player : joystick_boxes) {
    // The settings window offers player P's box only when joystick P is attached.
    if (player > options.joysticks) {
      throw UsageError("--joystick " + std::to_string(player) + " needs --joysticks " +
                       std::to_string(player) + " or more (attached: " + std::to_string(options.joysticks) +
                       ")");
    }
    options.joystick[player - 1] = true;
  }
  return options;
}

}  // namespace brawl
