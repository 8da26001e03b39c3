#pragma once
#include "game/game.h"
#include "platform/scene/frame.h"

// The match's frames by id; every placement is made in the root's coordinates.
inline Frame& FrameOf(Game& game, FrameId id) {
  return game.scene.frames.at(static_cast<size_t>(id));
}

inline void Place(Game& game, FrameId id, float x, float y, float z) {
  SetPosition(FrameOf(game, id), x, y, z);
}

// The fighter's frame on the ground and its camera 10 units behind it along the heading,
// at the height it looks down from.
void PlaceFighterAndCamera(Game& game, int p);
