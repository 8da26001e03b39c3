#pragma once

struct Game;

// The pieces the shot step is made of, one slot at a time.
void MoveBullet(Game& game, int p, int i);
void MoveSplash(Game& game, int p, int i);
// Tests player p's bullet in slot i against the other fighter and applies the hit.
void TestBullet(Game& game, int p, int i);
// Life lost for every frame outside the arena.
void ApplyArenaDamage(Game& game, int p);
// What a hit does to fighter v: pushed along the bullet, hurt, bleeding.
void PushFighter(Game& game, int v, float dir_x, float dir_z);
void HurtFighter(Game& game, int v, float amount);
