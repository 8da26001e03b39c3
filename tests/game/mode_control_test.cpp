#include "game/mode_control.h"

#include <gtest/gtest.h>

#include "support/match_fixture.h"

// The screens that need no picture: a title without Enter, the matches, the result.
struct ModeControlTest : MatchTest {
  void Step(std::initializer_list<Key> keys) {
    fake.keyboard.held = keys;
    StepMode(game);
  }
};

TEST_F(ModeControlTest, TitleCursorFollowsTheHeldDirectionAndDownWins) {
  Step({Key::Down});
  EXPECT_EQ(game.loop.TitleChoice, 2);
  Step({});
  EXPECT_EQ(game.loop.TitleChoice, 2);
  Step({Key::Up});
  EXPECT_EQ(game.loop.TitleChoice, 1);
  Step({Key::Up, Key::Down});
  EXPECT_EQ(game.loop.TitleChoice, 2);
  Step({Key::S, Key::X, Key::Up});  // player 2 has no say on the title
  EXPECT_EQ(game.loop.TitleChoice, 1);
  EXPECT_EQ(game.loop.GameMode, kTitle);
}

TEST_F(ModeControlTest, ResultScreenLeavesOnSpaceOnly) {
  game.loop.GameMode = kResult;
  game.match.Fighter[0].Life = -2;
  game.loop.TitleChoice = 2;
  Step({Key::Enter, Key::Up, Key::Num3});
  EXPECT_EQ(game.loop.GameMode, kResult);
  EXPECT_EQ(game.match.Fighter[0].Life, -2.0f);
  EXPECT_TRUE(game.sound.requested.empty());
  Step({Key::Space});
  EXPECT_EQ(game.loop.GameMode, kTitle);
  EXPECT_EQ(game.match.Fighter[0].Life, 128.0f);
  EXPECT_EQ(game.loop.TitleChoice, 1);
  ASSERT_EQ(game.sound.requested.size(), 1u);
  EXPECT_EQ(game.sound.requested[0].rfind("title", 0), 0u);
}

TEST_F(ModeControlTest, InTheOnePlayerModePlayerTwosKeysDoNothing) {
  game.loop.GameMode = kOnePlayer;
  Step({Key::S, Key::C, Key::N, Key::M});
  EXPECT_EQ(game.match.Fighter[1].X, 50.0f);
  EXPECT_EQ(game.match.Fighter[1].Z, -55.0f);
  EXPECT_EQ(game.match.Heading[1], 180);
  EXPECT_EQ(game.match.Bullet[1][0].Active, 0);
  Step({Key::Up, Key::Num2, Key::Num3});
  EXPECT_EQ(game.match.Fighter[0].Z, -45.5f);
  EXPECT_EQ(game.match.Heading[0], 2);
  EXPECT_EQ(game.match.Bullet[0][0].Active, -1);
}

TEST_F(ModeControlTest, InTheTwoPlayerModeBothPlayersActInTurn) {
  game.loop.GameMode = kTwoPlayers;
  Step({Key::S, Key::N, Key::M, Key::Down, Key::Num1});
  EXPECT_EQ(game.match.Fighter[1].Z, -54.5f);  // heading 180: forward is +Z
  EXPECT_EQ(game.match.Heading[1], 182);
  EXPECT_EQ(game.match.Bullet[1][0].Active, -1);
  EXPECT_EQ(game.match.Fighter[0].Z, -44.5f);
  EXPECT_EQ(game.match.Heading[0], 360);
  EXPECT_EQ(game.match.Fighter[1].Cooldown, 4.0f);
}

TEST_F(ModeControlTest, EscapeEndsTheGameFromEveryScreen) {
  for (int mode : {0, 1, 2, 3, 7}) {
    FakePlatform other;
    Game g{other.platform};
    CreateMatchFrames(g);
    ResetMatch(g);
    g.loop.GameMode = static_cast<int16_t>(mode);
    other.keyboard.held = {Key::Escape};
    other.display.pointer_shown = false;
    StepMode(g);
    EXPECT_TRUE(g.loop.ending) << mode;
    EXPECT_TRUE(other.display.restored) << mode;
    EXPECT_TRUE(other.display.pointer_shown) << mode;
  }
}

// Enter on the title: the opening position is shown once, the cue plays, the game waits.
struct MatchStartTest : ModeControlTest {
  void SetUp() override {
    ModeControlTest::SetUp();
    game.settings.ScreenWidth = 320;
    game.settings.ScreenHeight = 240;
    game.gfx.BackBuffer = MakeSurface(320, 240);
    game.settings.ReadyGoWait = 1500;
    game.loop.Running = -1;
  }
};

TEST_F(MatchStartTest, ShowsTheOpeningPositionPlaysTheCueAndPauses) {
  game.loop.TitleChoice = 2;
  Step({Key::Enter});
  EXPECT_EQ(game.loop.GameMode, kTwoPlayers);
  EXPECT_EQ(fake.display.flips, 1);
  EXPECT_EQ(game.sound.requested, (std::vector<std::string>{"readygo.wav"}));
  EXPECT_DOUBLE_EQ(fake.clock.seconds, 36001.5);
}

TEST_F(MatchStartTest, ANegativeWaitCountsAsNone) {
  game.settings.ReadyGoWait = -300;
  Step({Key::Enter});
  EXPECT_EQ(game.loop.GameMode, kOnePlayer);
  EXPECT_DOUBLE_EQ(fake.clock.seconds, 36000.0);
}

TEST_F(MatchStartTest, AWindowClosedDuringTheStartDoesNotWaitForTheCue) {
  fake.display.close_requested = true;
  Step({Key::Enter});
  EXPECT_EQ(game.loop.Running, 0);
  EXPECT_TRUE(game.sound.requested.empty());
  EXPECT_DOUBLE_EQ(fake.clock.seconds, 36000.0);
}
