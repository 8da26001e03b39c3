#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "data_files.h"
#include "platform/scene/xfile_reader.h"

namespace brawl {

namespace {

std::string ArenaText() {
  std::ifstream in(DataFile("back1.x"), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Point2 {
  double x, z;
};

// The floor's own triangles, read straight from the text of its mesh: the vertex list
// and the faces, with ';' and ',' taken as spaces.
struct FloorMesh {
  std::vector<Vec3> vertices;
  std::vector<std::array<int, 3>> triangles;
};

FloorMesh ReadFloor(const std::string& text) {
  const size_t at = text.find("Mesh Floor {");
  EXPECT_NE(at, std::string::npos);
  std::string body = text.substr(at + 12);
  std::replace(body.begin(), body.end(), ';', ' ');
  std::replace(body.begin(), body.end(), ',', ' ');
  std::istringstream in(body);
  FloorMesh floor;
  size_t count = 0;
  in >> count;
  floor.vertices.resize(count);
  for (Vec3& v : floor.vertices) in >> v.x >> v.y >> v.z;
  in >> count;
  for (size_t i = 0; i < count; ++i) {
    int corners = 0;
    std::array<int, 3> t{};
    in >> corners >> t[0] >> t[1] >> t[2];
    EXPECT_EQ(corners, 3);
    floor.triangles.push_back(t);
  }
  EXPECT_TRUE(in.good());
  return floor;
}

bool Covers(Vec3 a, Vec3 b, Vec3 c, Point2 p) {
  auto side = [&](Vec3 u, Vec3 v) { return (v.x - u.x) * (p.z - u.z) - (v.z - u.z) * (p.x - u.x); };
  const double d1 = side(a, b), d2 = side(b, c), d3 = side(c, a);
  return (d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0);
}

bool Flat(const Mesh& mesh, const Triangle& t) {
  const float y = mesh.vertices[t.v[0]].y;
  return mesh.vertices[t.v[1]].y == y && mesh.vertices[t.v[2]].y == y;
}

// Left-handed with clockwise front faces: (b - a) x (c - a) points toward the viewer.
double NormalY(Vec3 a, Vec3 b, Vec3 c) {
  return double(b.z - a.z) * (c.x - a.x) - double(b.x - a.x) * (c.z - a.z);
}

TEST(ArenaMesh, IsATextMeshThatTheGameReads) {
  EXPECT_EQ(ArenaText().rfind("xof 0302txt 0032", 0), 0u);
  const Mesh arena = ReadXFile(DataFile("back1.x"), "arena");
  EXPECT_GE(arena.triangles.size(), 12u);
  EXPECT_LE(arena.triangles.size(), 600u);
  for (const Triangle& t : arena.triangles) {
    for (uint32_t v : t.v) ASSERT_LT(v, arena.vertices.size());
    ASSERT_LT(t.material, arena.materials.size());
  }
}

TEST(ArenaMesh, FloorCoversThePlayingAreaExactlyOnce) {
  const FloorMesh floor = ReadFloor(ArenaText());
  ASSERT_FALSE(floor.triangles.empty());
  for (const Vec3& v : floor.vertices) {
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_TRUE(v.x >= 0 && v.x <= 100 && v.z >= -100 && v.z <= 0) << v.x << "," << v.z;
  }
  for (int i = 0; i < 100; i += 3) {
    for (int k = 0; k < 100; k += 3) {
      const Point2 p{i + 0.37, -(k + 0.61)};
      int covering = 0;
      for (const auto& t : floor.triangles)
        covering += Covers(floor.vertices[t[0]], floor.vertices[t[1]], floor.vertices[t[2]], p) ? 1 : 0;
      ASSERT_EQ(covering, 1) << p.x << "," << p.z;
    }
  }
}

// A fighter who walks out still stands on something, as far as he can get.
TEST(ArenaMesh, GroundLiesAllAroundTheFloor) {
  const Mesh arena = ReadXFile(DataFile("back1.x"), "arena");
  for (const double d : {0.5, 5.0, 20.0, 60.0}) {
    for (const Point2 p :
         {Point2{-d, -50}, Point2{100 + d, -50}, Point2{50, d}, Point2{50, -100 - d}, Point2{-d, d},
          Point2{100 + d, d}, Point2{-d, -100 - d}, Point2{100 + d, -100 - d}}) {
      bool found = false;
      for (const Triangle& t : arena.triangles) {
        const Vec3 a = arena.vertices[t.v[0]], b = arena.vertices[t.v[1]], c = arena.vertices[t.v[2]];
        if (Flat(arena, t) && a.y >= -0.5f && a.y <= 0.5f && Covers(a, b, c, p)) found = true;
      }
      EXPECT_TRUE(found) << "nothing to stand on at " << p.x << "," << p.z;
    }
  }
}

// Something tall stands beyond every edge, and no two sides look alike.
TEST(ArenaMesh, EachSideHasItsOwnLandmark) {
  const Mesh arena = ReadXFile(DataFile("back1.x"), "arena");
  auto beyond = [](int side, Vec3 v) {
    switch (side) {
      case 0:
        return v.z > 0.5f && v.x > 10 && v.x < 90;
      case 1:
        return v.x > 100.5f && v.z < -10 && v.z > -90;
      case 2:
        return v.z < -100.5f && v.x > 10 && v.x < 90;
      default:
        return v.x < -0.5f && v.z < -10 && v.z > -90;
    }
  };
  std::set<std::array<float, 3>> colours;
  for (int side = 0; side < 4; ++side) {
    float top = 0;
    std::array<float, 3> colour{};
    for (const Triangle& t : arena.triangles) {
      for (uint32_t i : t.v) {
        const Vec3 v = arena.vertices[i];
        if (beyond(side, v) && v.y > top) {
          top = v.y;
          const Material& m = arena.materials[t.material];
          colour = {m.face_color[0] / m.face_color[1], m.face_color[2] / m.face_color[1], 0};
        }
      }
    }
    EXPECT_GE(top, 5.0f) << "side " << side;
    colours.insert(colour);
  }
  EXPECT_EQ(colours.size(), 4u);
}

TEST(ArenaMesh, GroundFacesAllFaceUp) {
  const Mesh arena = ReadXFile(DataFile("back1.x"), "arena");
  int flat = 0;
  for (const Triangle& t : arena.triangles) {
    if (!Flat(arena, t)) continue;
    ++flat;
    EXPECT_GT(NormalY(arena.vertices[t.v[0]], arena.vertices[t.v[1]], arena.vertices[t.v[2]]), 0.0);
  }
  EXPECT_GT(flat, 50);
}

// Under the half-strength ambient light the floor must still read as a light grey check.
TEST(ArenaMesh, FloorColoursAreBrightAndChecked) {
  const Mesh arena = ReadXFile(DataFile("back1.x"), "arena");
  std::set<std::array<float, 3>> colours;
  for (const Triangle& t : arena.triangles) {
    const Vec3 a = arena.vertices[t.v[0]];
    if (!Flat(arena, t) || a.y != 0.0f) continue;
    const Material& m = arena.materials[t.material];
    for (int i = 0; i < 3; ++i) {
      EXPECT_LE(m.face_color[i], 1.0f);
      EXPECT_GE(m.face_color[i], 0.3f);
    }
    colours.insert({m.face_color[0], m.face_color[1], m.face_color[2]});
  }
  EXPECT_GE(colours.size(), 2u);
}

}  // namespace

}  // namespace brawl
