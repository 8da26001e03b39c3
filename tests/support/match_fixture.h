#pragma once
#include <gtest/gtest.h>

#include "game/commands.h"
#include "game/game.h"
#include "sim/match.h"
#include "support/fake_platform.h"

// A game with its frames made and a fresh match, at 60 frames per second.
struct MatchTest : ::testing::Test {
  FakePlatform fake;
  Game game{fake.platform};

  void SetUp() override {
    game.sound.log_requests = true;
    CreateMatchFrames(game);
    ResetMatch(game);
    game.sound.requested.clear();
    game.loop.SpeedFactor = 1.0f;
  }

  static Commands Holding(std::initializer_list<int> entries) {
    Commands c;
    for (int e : entries) c.entry[e] = 128;
    return c;
  }
  const Frame& FrameAt(FrameId id) const { return game.scene.frames.at(static_cast<size_t>(id)); }
  FighterState& Fighter(int p) { return game.match.Fighter[p]; }
  int Sounds(const std::string& name) const {
    return static_cast<int>(std::count(game.sound.requested.begin(), game.sound.requested.end(), name));
  }
};
