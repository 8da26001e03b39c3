#include <set>

#include "support/match_fixture.h"
#include "sim/shots.h"

using MatchResetTest = MatchTest;

TEST(MatchFrames, CamerasThenFightersThenTheSlotsInLoadingOrder) {
  FakePlatform fake;
  Game game{fake.platform};
  CreateMatchFrames(game);
  ASSERT_EQ(game.scene.frames.size(), 44u);
  const MatchFrames& f = game.frames;
  EXPECT_EQ(game.scene.frames[f.Camera[1]].position.y, 10.0f);
  EXPECT_EQ(game.scene.frames[f.Camera[0]].position.y, 0.0f);
  EXPECT_LT(f.Camera[1], f.FighterFrame[0]);
  EXPECT_LT(f.FighterFrame[1], f.BulletFrame[0][0]);
  // Per slot: player 1's bullet, player 2's bullet, then the two splashes.
  EXPECT_LT(f.BulletFrame[0][0], f.BulletFrame[1][0]);
  EXPECT_LT(f.BulletFrame[1][0], f.BloodFrame[0][0]);
  EXPECT_LT(f.BloodFrame[0][0], f.BloodFrame[1][0]);
  EXPECT_LT(f.BloodFrame[1][0], f.BulletFrame[0][1]);
  std::set<FrameId> ids{f.Camera[0], f.Camera[1], f.FighterFrame[0], f.FighterFrame[1]};
  for (int p = 0; p < 2; ++p)
    for (int i = 0; i < kSlots; ++i) ids.insert({f.BulletFrame[p][i], f.BloodFrame[p][i]});
  EXPECT_EQ(ids.size(), 44u);
}

TEST_F(MatchResetTest, StartPositionFacesTheFightersTenUnitsApart) {
  EXPECT_EQ(Fighter(0).Life, 128.0f);
  EXPECT_EQ(Fighter(1).Z, -55.0f);
  EXPECT_EQ(game.match.Heading[1], 180);
  EXPECT_EQ(game.loop.TitleChoice, 1);
  const Frame& c0 = FrameAt(game.frames.Camera[0]);
  const Frame& c1 = FrameAt(game.frames.Camera[1]);
  EXPECT_EQ(c0.position.x, 50.0f);
  EXPECT_EQ(c0.position.z, -35.0f);
  EXPECT_EQ(c1.position.x, 49.9969254f);
  EXPECT_EQ(c1.position.y, 2.5f);
  EXPECT_EQ(c1.position.z, -65.0f);
  EXPECT_EQ(FrameAt(game.frames.FighterFrame[1]).position.y, 1.0f);
}

TEST_F(MatchResetTest, ParksEverySlotAboveWhereItWasLastUsed) {
  game.match.Bullet[1][4] = {-1, 30, 1, -20, 0, 0, 1};
  game.match.Blood[0][9] = {-1, 70, 3, -60, 0.7f, 0.1f, 0.1f};
  Fighter(0).Cooldown = 3;
  ResetMatch(game);
  for (int p = 0; p < 2; ++p) {
    for (int i = 0; i < kSlots; ++i) {
      EXPECT_EQ(game.match.Bullet[p][i].Active, 0);
      EXPECT_EQ(game.match.Blood[p][i].Active, 0);
      EXPECT_EQ(FrameAt(game.frames.BulletFrame[p][i]).position.y, 100.0f);
      EXPECT_EQ(FrameAt(game.frames.BloodFrame[p][i]).position.y, 100.0f);
    }
  }
  EXPECT_EQ(FrameAt(game.frames.BulletFrame[1][4]).position.x, 30.0f);
  EXPECT_EQ(FrameAt(game.frames.BloodFrame[0][9]).position.z, -60.0f);
  EXPECT_EQ(FrameAt(game.frames.BulletFrame[0][0]).position.x, 0.0f);
  EXPECT_EQ(game.match.Blood[0][9].T, 0.7f);
  EXPECT_EQ(Fighter(0).Cooldown, 3.0f);
}

TEST_F(MatchResetTest, PlaysOneOfTheFourTitleSoundsChosenByTheClock) {
  std::set<std::string> heard;
  for (int reset = 0; reset < 40; ++reset) {
    fake.clock.seconds += 0.25;
    game.sound.requested.clear();
    ResetMatch(game);
    ASSERT_EQ(game.sound.requested.size(), 1u);
    heard.insert(game.sound.requested[0]);
  }
  EXPECT_EQ(heard, (std::set<std::string>{"title0.wav", "title1.wav", "title2.wav", "title3.wav"}));

  // The same clock reading picks the same sound.
  game.sound.requested.clear();
  ResetMatch(game);
  ResetMatch(game);
  EXPECT_EQ(game.sound.requested[0], game.sound.requested[1]);
}
