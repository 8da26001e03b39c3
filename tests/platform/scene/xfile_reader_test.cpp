#include "platform/scene/xfile_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/fatal_error.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

std::string Corpus(const std::string& name) {
  return SourceDir() + "/fuzz/corpus/xfile/" + name;
}

std::string ErrorOfText(const std::string& text) {
  try {
    ParseXFile(text, "mem.x", "arena mesh");
  } catch (const FatalError& e) {
    return e.what();
  }
  return "(no error)";
}

Vec3 V(const Mesh& m, uint32_t i) {
  return m.vertices.at(i);
}

TEST(XFileReader, ReadsAGoodFileWithTransformsFansAndMaterialsByName) {
  const Mesh mesh = ReadXFile(Corpus("good.x"), "arena mesh");
  ASSERT_EQ(mesh.vertices.size(), 5u);
  // Scaled by 2 in the inner frame, then moved 10 along x by the outer one.
  EXPECT_FLOAT_EQ(V(mesh, 0).x, 10.0f);
  EXPECT_FLOAT_EQ(V(mesh, 2).x, 12.0f);
  EXPECT_FLOAT_EQ(V(mesh, 2).z, -2.0f);
  EXPECT_FLOAT_EQ(V(mesh, 4).y, 2.0f);
  // The quad is fanned from its first corner; the triangle stays.
  ASSERT_EQ(mesh.triangles.size(), 3u);
  EXPECT_EQ(mesh.triangles[0].v[0], 0u);
  EXPECT_EQ(mesh.triangles[0].v[1], 1u);
  EXPECT_EQ(mesh.triangles[0].v[2], 2u);
  EXPECT_EQ(mesh.triangles[1].v[0], 0u);
  EXPECT_EQ(mesh.triangles[1].v[1], 2u);
  EXPECT_EQ(mesh.triangles[1].v[2], 3u);
  EXPECT_EQ(mesh.triangles[2].v[2], 4u);
  // Material 0 of the list is the reference to Blue, defined after Red in the file.
  ASSERT_EQ(mesh.materials.size(), 3u);
  const Material& quad = mesh.materials.at(mesh.triangles[0].material);
  EXPECT_EQ(mesh.triangles[1].material, mesh.triangles[0].material);
  EXPECT_FLOAT_EQ(quad.face_color[2], 1.0f);
  EXPECT_FLOAT_EQ(quad.face_color[0], 0.0f);
  EXPECT_FLOAT_EQ(quad.emissive[2], 0.25f);
  EXPECT_EQ(quad.texture, "floor.bmp");
  const Material& triangle = mesh.materials.at(mesh.triangles[2].material);
  EXPECT_FLOAT_EQ(triangle.face_color[0], 1.0f);  // Red, the list's third entry
  EXPECT_FLOAT_EQ(triangle.face_color[1], 0.0f);
}

// Each mesh's coordinates go to its own vertices; a mesh without any gets (0, 0).
TEST(XFileReader, TextureCoordinatesFollowTheirVertices) {
  const Mesh good = ReadXFile(Corpus("good.x"), "arena mesh");
  ASSERT_EQ(good.uv.size(), good.vertices.size());
  EXPECT_FLOAT_EQ(good.uv[2].u, 1.0f);
  EXPECT_FLOAT_EQ(good.uv[2].v, 1.0f);
  EXPECT_FLOAT_EQ(good.uv[4].u, 0.5f);
  const Mesh two = ParseXFile(
      "xof 0302txt 0032\nMesh { 3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;; }\n"
      "Mesh { 3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;; MeshTextureCoords { 3; 0;0;, -2;0.25;, 7.5;1;; } }",
      "m.x", "arena mesh");
  ASSERT_EQ(two.uv.size(), 6u);
  EXPECT_EQ(two.uv[1].u, 0.0f);
  EXPECT_EQ(two.uv[4].u, -2.0f);
  EXPECT_EQ(two.uv[4].v, 0.25f);
  EXPECT_EQ(two.uv[5].u, 7.5f);
}

TEST(XFileReader, MeshWithoutMaterialsIsWhiteAndOneEntryCoversEveryFace) {
  const Mesh plain =
      ParseXFile("xof 0302txt 0064\nMesh { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 2; 3;0,1,2;, 3;0,2,3;; }",
                 "m.x", "arena mesh");
  ASSERT_EQ(plain.triangles.size(), 2u);
  ASSERT_EQ(plain.materials.size(), 1u);
  EXPECT_FLOAT_EQ(plain.materials[0].face_color[1], 1.0f);
  const Mesh one = ParseXFile(
      "xof 0302txt 0032\nMesh { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 2; 3;0,1,2;, 3;0,2,3;;\n"
      " MeshMaterialList { 2; 1; 1;; Material { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; }\n"
      " Material { 0;1;0;1;; 0; 0;0;0;; 0;0;0;; } } }",
      "m.x", "arena mesh");
  ASSERT_EQ(one.triangles.size(), 2u);
  for (const Triangle& t : one.triangles) EXPECT_FLOAT_EQ(one.materials.at(t.material).face_color[1], 1.0f);
}

TEST(XFileReader, DeepNestingIsRefusedNotRecursedInto) {
  std::string text = "xof 0302txt 0032\n";
  for (int i = 0; i < 100000; ++i) text += "Frame {";
  EXPECT_NE(ErrorOfText(text).find("nested too deep"), std::string::npos);
}

}  // namespace

}  // namespace brawl
