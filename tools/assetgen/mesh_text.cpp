#include "mesh_text.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <utility>

namespace brawl {

namespace {

Point Minus(Point a, Point b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Point Cross(Point a, Point b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(Point a, Point b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

Point Unit(Point p) {
  const double length = std::sqrt(Dot(p, p));
  return {p.x / length, p.y / length, p.z / length};
}

int MaterialIndex(MeshText& mesh, Colour colour) {
  for (size_t i = 0; i < mesh.materials.size(); ++i) {
    const Colour& m = mesh.materials[i];
    if (m.r == colour.r && m.g == colour.g && m.b == colour.b && m.glow == colour.glow &&
        m.texture == colour.texture)
      return static_cast<int>(i);
  }
  mesh.materials.push_back(colour);
  return static_cast<int>(mesh.materials.size() - 1);
}

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", v == 0.0 ? 0.0 : v);  // no "-0.000000"
  return text;
}

std::string Vector(Point p) {
  return Number(p.x) + ";" + Number(p.y) + ";" + Number(p.z) + ";";
}

void WriteMesh(std::string& out, const MeshText& mesh) {
  const char* in = "  ";
  out += std::string(in) + "Mesh " + mesh.name + " {\n";
  out += std::string(in) + " " + std::to_string(mesh.vertices.size()) + ";\n";
  for (size_t i = 0; i < mesh.vertices.size(); ++i)
    out += std::string(in) + " " + Vector(mesh.vertices[i]) + (i + 1 < mesh.vertices.size() ? ",\n" : ";\n");
  out += std::string(in) + " " + std::to_string(mesh.faces.size()) + ";\n";
  for (size_t i = 0; i < mesh.faces.size(); ++i) {
    const int* v = mesh.faces[i].v;
    out += std::string(in) + " 3;" + std::to_string(v[0]) + "," + std::to_string(v[1]) + "," +
           std::to_string(v[2]) + ";" + (i + 1 < mesh.faces.size() ? ",\n" : ";\n");
  }
  out += std::string(in) + " MeshNormals {\n";
  out += std::string(in) + "  " + std::to_string(mesh.faces.size()) + ";\n";
  for (size_t i = 0; i < mesh.faces.size(); ++i)
    out +=
        std::string(in) + "  " + Vector(mesh.faces[i].normal) + (i + 1 < mesh.faces.size() ? ",\n" : ";\n");
  out += std::string(in) + "  " + std::to_string(mesh.faces.size()) + ";\n";
  for (size_t i = 0; i < mesh.faces.size(); ++i) {
    const std::string n = std::to_string(i);
    out +=
        std::string(in) + "  3;" + n + "," + n + "," + n + ";" + (i + 1 < mesh.faces.size() ? ",\n" : ";\n");
  }
  out += std::string(in) + " }\n";
  if (mesh.texture_scale > 0) {
    out += std::string(in) + " MeshTextureCoords {\n";
    out += std::string(in) + "  " + std::to_string(mesh.uv.size()) + ";\n";
    for (size_t i = 0; i < mesh.uv.size(); ++i)
      out += std::string(in) + "  " + Number(mesh.uv[i].u) + ";" + Number(mesh.uv[i].v) + ";" +
             (i + 1 < mesh.uv.size() ? ",\n" : ";\n");
    out += std::string(in) + " }\n";
  }
  out += std::string(in) + " MeshMaterialList {\n";
  out += std::string(in) + "  " + std::to_string(mesh.materials.size()) + ";\n";
  out += std::string(in) + "  " + std::to_string(mesh.faces.size()) + ";\n";
  for (size_t i = 0; i < mesh.faces.size(); ++i)
    out += std::string(in) + "  " + std::to_string(mesh.faces[i].material) +
           (i + 1 < mesh.faces.size() ? ",\n" : ";\n");
  for (const Colour& c : mesh.materials) {
    out += std::string(in) + "  Material {\n";
    out += std::string(in) + "   " + Number(c.r) + ";" + Number(c.g) + ";" + Number(c.b) + ";1.000000;;\n";
    out += std::string(in) + "   0.000000;\n";
    out += std::string(in) + "   0.000000;0.000000;0.000000;;\n";
    out += std::string(in) + "   " + Number(c.r * c.glow) + ";" + Number(c.g * c.glow) + ";" +
           Number(c.b * c.glow) + ";;\n";
    if (!c.texture.empty()) out += std::string(in) + "   TextureFilename { \"" + c.texture + "\"; }\n";
    out += std::string(in) + "  }\n";
  }
  out += std::string(in) + " }\n";
  out += std::string(in) + "}\n";
}

}  // namespace

// Left-handed, clockwise front faces: (b - a) x (c - a) points to the viewer. Returns
// whether the corners had to be taken the other way round.
static bool Reversed(Point a, Point b, Point c, Point facing) {
  return Dot(Cross(Minus(b, a), Minus(c, a)), facing) < 0;
}

static void AddFace(MeshText& mesh, int a, int b, int c, int material) {
  MeshFace face;
  face.v[0] = a;
  face.v[1] = b;
  face.v[2] = c;
  face.material = material;
  const Point& pa = mesh.vertices[a];
  face.normal = Unit(Cross(Minus(mesh.vertices[b], pa), Minus(mesh.vertices[c], pa)));
  mesh.faces.push_back(face);
}

// Ground and tops read with north (+Z) up the picture; walls with up up.
static void AddVertices(MeshText& mesh, std::initializer_list<Point> points, Point facing) {
  const double ax = std::fabs(facing.x), ay = std::fabs(facing.y), az = std::fabs(facing.z);
  const double s = mesh.texture_scale;
  for (const Point& p : points) {
    mesh.vertices.push_back(p);
    if (ay >= ax && ay >= az)
      mesh.uv.push_back({p.x * s, -p.z * s});
    else if (ax >= az)
      mesh.uv.push_back({p.z * s, -p.y * s});
    else
      mesh.uv.push_back({p.x * s, -p.y * s});
  }
}

void AddTriangle(MeshText& mesh, Point a, Point b, Point c, Point facing, Colour colour) {
  if (Reversed(a, b, c, facing)) std::swap(b, c);
  const int first = static_cast<int>(mesh.vertices.size());
  AddVertices(mesh, {a, b, c}, facing);
  AddFace(mesh, first, first + 1, first + 2, MaterialIndex(mesh, colour));
}

void AddQuad(MeshText& mesh, Point a, Point b, Point c, Point d, Point facing, Colour colour) {
  if (Reversed(a, b, c, facing)) std::swap(b, d);
  const int first = static_cast<int>(mesh.vertices.size());
  AddVertices(mesh, {a, b, c, d}, facing);
  const int material = MaterialIndex(mesh, colour);
  AddFace(mesh, first, first + 1, first + 2, material);
  AddFace(mesh, first, first + 2, first + 3, material);
}

std::string XFileText(const std::string& frame_name, const std::vector<MeshText>& meshes) {
  std::string out = "xof 0302txt 0032\n\n";
  out += "Frame " + frame_name + " {\n";
  out += "  FrameTransformMatrix {\n";
  out += "   1.000000,0.000000,0.000000,0.000000,\n";
  out += "   0.000000,1.000000,0.000000,0.000000,\n";
  out += "   0.000000,0.000000,1.000000,0.000000,\n";
  out += "   0.000000,0.000000,0.000000,1.000000;;\n";
  out += "  }\n";
  for (const MeshText& mesh : meshes) WriteMesh(out, mesh);
  out += "}\n";
  return out;
}

}  // namespace brawl
