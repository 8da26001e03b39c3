#include "formats/xfile_reader.h"

#include <charconv>
#include <cmath>
#include <map>
#include <vector>

#include "base/fatal_error.h"
#include "base/file_reader.h"
#include "base/i18n.h"
#include "base/printable.h"

namespace brawl {

namespace {

// The arena is a few hundred triangles; a text mesh of this size would be millions.
constexpr int64_t kMaxMeshFileBytes = int64_t{32} << 20;

// Thrown inside the reader; turned into one FatalError line at the top.
struct Malformed {
  std::string reason;
};

enum class TokenKind { kEnd, kWord, kString, kOpen, kClose };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string_view text;
  int line = 1;
};

std::string Quoted(std::string_view text) {
  return "'" + Printable(text) + "'";
}

std::string Describe(const Token& t) {
  switch (t.kind) {
    case TokenKind::kEnd:
      return _("the end of the file");
    case TokenKind::kOpen:
      return "'{'";
    case TokenKind::kClose:
      return "'}'";
    case TokenKind::kString:
      return _("a string");
    case TokenKind::kWord:
      break;
  }
  return Quoted(t.text);
}

// Splits the text after the header into braces, strings and words. The separators ';' and
// ',' only end words: every template we read has a fixed shape, so counts say how many
// values follow.
class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}

  const Token& Peek() {
    if (!peeked_) {
      next_ = Scan();
      peeked_ = true;
    }
    return next_;
  }

  Token Next() {
    Peek();
    peeked_ = false;
    return next_;
  }

  size_t BytesLeft() const { return text_.size() - pos_; }
  int Line() const { return line_; }

 private:
  static bool Ends(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';' || c == ',' || c == '{' || c == '}' ||
           c == '"' || c == '\0';
  }

  Token Scan() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == ';' || c == ',' || c == '\0') {
        ++pos_;
      } else if (c == '#' || (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/')) {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
    Token t;
    t.line = line_;
    if (pos_ >= text_.size()) return t;
    const char c = text_[pos_];
    if (c == '{' || c == '}') {
      t.kind = c == '{' ? TokenKind::kOpen : TokenKind::kClose;
      t.text = text_.substr(pos_++, 1);
      return t;
    }
    if (c == '"') {
      const size_t end = text_.find('"', pos_ + 1);
      if (end == std::string_view::npos)
        throw Malformed{Fill(_("line {1}: a string is not closed"), {std::to_string(t.line)})};
      t.kind = TokenKind::kString;
      t.text = text_.substr(pos_ + 1, end - pos_ - 1);
      for (char s : t.text)
        if (s == '\n') ++line_;
      pos_ = end + 1;
      return t;
    }
    const size_t start = pos_;
    while (pos_ < text_.size() && !Ends(text_[pos_])) ++pos_;
    t.kind = TokenKind::kWord;
    t.text = text_.substr(start, pos_ - start);
    return t;
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
  Token next_;
  bool peeked_ = false;
};

constexpr int kMaxDepth = 64;

// A 4 x 4 matrix for row vectors, as the file stores it: p' = p * m.
struct Matrix {
  double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

class Reader {
 public:
  explicit Reader(std::string_view body) : lex_(body) {}

  Mesh Read() {
    while (lex_.Peek().kind != TokenKind::kEnd) {
      if (lex_.Peek().kind == TokenKind::kOpen) {
        SkipReference();
        continue;
      }
      Object(0, nullptr);
    }
    if (mesh_count_ == 0) throw Malformed{_("holds no mesh")};
    return std::move(out_);
  }

 private:
  std::string Where(const Token& t) const { return Fill(_("line {1}: "), {std::to_string(t.line)}); }

  [[noreturn]] void Fail(const Token& t, const std::string& what) const { throw Malformed{Where(t) + what}; }

  Token Expect(TokenKind kind, const char* what) {
    Token t = lex_.Next();
    if (t.kind == TokenKind::kEnd) Fail(t, Fill(_("the file ends where {1} should be"), {_(what)}));
    if (t.kind != kind) Fail(t, Fill(_("expected {1}, found {2}"), {_(what), Describe(t)}));
    return t;
  }

  double Number() {
    const Token t = Expect(TokenKind::kWord, N_("a number"));
    double value = 0;
    const char* first = t.text.data();
    const char* last = first + t.text.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || !std::isfinite(value))
      Fail(t, Fill(_("expected {1}, found {2}"), {_("a number"), Describe(t)}));
    return value;
  }

  float Float() { return static_cast<float>(Number()); }

  uint32_t Count() {
    const Token t = Expect(TokenKind::kWord, N_("a whole number"));
    uint32_t value = 0;
    const char* first = t.text.data();
    const char* last = first + t.text.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last)
      Fail(t, Fill(_("expected {1}, found {2}"), {_("a whole number"), Describe(t)}));
    return value;
  }

  // A count of items that each need at least `numbers` values of a byte or more.
  uint32_t BoundedCount(const char* what, uint32_t numbers) {
    const Token at = lex_.Peek();
    const uint32_t n = Count();
    if (static_cast<uint64_t>(n) * numbers > lex_.BytesLeft())
      Fail(at,
           Fill(_("{1} {2} claimed, more than the rest of the file can hold"), {std::to_string(n), _(what)}));
    return n;
  }

  // The body of an object whose opening brace has been read, up to its closing brace.
  void SkipBody() {
    int open = 1;
    while (open > 0) {
      const Token t = lex_.Next();
      if (t.kind == TokenKind::kEnd) Fail(t, _("the file ends inside an object (a '}' is missing)"));
      if (t.kind == TokenKind::kOpen) ++open;
      if (t.kind == TokenKind::kClose) --open;
    }
  }

  // "{ Name }" or "{ <guid> }" or "{ Name <guid> }": returns the name.
  std::string_view Reference() {
    Expect(TokenKind::kOpen, "'{'");
    std::string_view name;
    while (true) {
      const Token t = lex_.Next();
      if (t.kind == TokenKind::kClose) return name;
      if (t.kind != TokenKind::kWord)
        Fail(t, Fill(_("expected {1}, found {2}"), {_("a name in a reference"), Describe(t)}));
      if (name.empty() && t.text.front() != '<') name = t.text;
    }
  }

  void SkipReference() { Reference(); }

  // Reads "Type [name] {" and a GUID after the brace if there is one.
  struct Header {
    Token type;
    std::string_view name;
  };

  Header ObjectHeader() {
    Header h;
    h.type = Expect(TokenKind::kWord, N_("a template name"));
    if (lex_.Peek().kind == TokenKind::kWord) h.name = lex_.Next().text;
    Expect(TokenKind::kOpen, "'{'");
    if (lex_.Peek().kind == TokenKind::kWord && lex_.Peek().text.front() == '<') lex_.Next();
    return h;
  }

  // One object in a frame or at the top. `transform` is set while reading a frame body.
  void Object(int depth, Matrix* transform) {
    if (depth > kMaxDepth) Fail(lex_.Peek(), _("objects nested too deep"));
    const Header h = ObjectHeader();
    const std::string_view type = h.type.text;
    if (type == "template") {
      SkipBody();
    } else if (type == "Frame") {
      FrameBody(depth);
    } else if (type == "Mesh") {
      MeshBody(depth);
    } else if (type == "Material") {
      Material m = MaterialBody(depth);
      if (!h.name.empty()) materials_[std::string(h.name)] = m;
    } else if (type == "FrameTransformMatrix" && transform) {
      for (double& v : transform->m) v = Number();
      Expect(TokenKind::kClose, N_("'}' after the 16 values of a FrameTransformMatrix"));
    } else {
      SkipBody();
    }
  }

  void FrameBody(int depth) {
    const size_t first_vertex = out_.vertices.size();
    Matrix local;
    while (lex_.Peek().kind != TokenKind::kClose) {
      if (lex_.Peek().kind == TokenKind::kEnd)
        Fail(lex_.Peek(), Fill(_("the file ends inside a {1}"), {"Frame"}));
      if (lex_.Peek().kind == TokenKind::kOpen) {
        SkipReference();
        continue;
      }
      Object(depth + 1, &local);
    }
    lex_.Next();
    // Everything read inside the frame, child frames included, is now in its coordinates.
    const double* m = local.m;
    for (size_t i = first_vertex; i < out_.vertices.size(); ++i) {
      MeshVertex& v = out_.vertices[i];
      const double x = v.x, y = v.y, z = v.z;
      v.x = static_cast<float>(x * m[0] + y * m[4] + z * m[8] + m[12]);
      v.y = static_cast<float>(x * m[1] + y * m[5] + z * m[9] + m[13]);
      v.z = static_cast<float>(x * m[2] + y * m[6] + z * m[10] + m[14]);
    }
  }

  void MeshBody(int depth) {
    ++mesh_count_;
    const uint32_t base = static_cast<uint32_t>(out_.vertices.size());
    const uint32_t vertex_count = BoundedCount(N_("vertices"), 3);
    out_.vertices.reserve(out_.vertices.size() + vertex_count);
    for (uint32_t i = 0; i < vertex_count; ++i) {
      MeshVertex v;
      v.x = Float();
      v.y = Float();
      v.z = Float();
      out_.vertices.push_back(v);
    }
    out_.uv.resize(out_.vertices.size());
    const uint32_t face_count = BoundedCount(N_("faces"), 4);
    const size_t first_triangle = out_.triangles.size();
    std::vector<uint32_t> face_first_triangle;  // where each face's fan starts
    face_first_triangle.reserve(face_count + 1);
    for (uint32_t f = 0; f < face_count; ++f) {
      const Token at = lex_.Peek();
      const uint32_t corners = BoundedCount(N_("face corners"), 1);
      if (corners < 3)
        Fail(at,
             Fill(_("face {1} has {2} corners, fewer than 3"), {std::to_string(f), std::to_string(corners)}));
      uint32_t first = 0, previous = 0;
      face_first_triangle.push_back(static_cast<uint32_t>(out_.triangles.size() - first_triangle));
      for (uint32_t k = 0; k < corners; ++k) {
        const Token index_at = lex_.Peek();
        const uint32_t index = Count();
        if (index >= vertex_count)
          Fail(index_at, Fill(_("face {1} names vertex {2} of a mesh with {3}"),
                              {std::to_string(f), std::to_string(index), std::to_string(vertex_count)}));
        if (k == 0) first = index;
        if (k >= 2) out_.triangles.push_back({{base + first, base + previous, base + index}, 0});
        previous = index;
      }
    }
    face_first_triangle.push_back(static_cast<uint32_t>(out_.triangles.size() - first_triangle));

    bool has_materials = false;
    while (lex_.Peek().kind != TokenKind::kClose) {
      if (lex_.Peek().kind == TokenKind::kEnd)
        Fail(lex_.Peek(), Fill(_("the file ends inside a {1}"), {"Mesh"}));
      if (lex_.Peek().kind == TokenKind::kOpen) {
        SkipReference();
        continue;
      }
      if (depth + 1 > kMaxDepth) Fail(lex_.Peek(), _("objects nested too deep"));
      const Header h = ObjectHeader();
      if (h.type.text == "MeshMaterialList") {
        if (has_materials) Fail(h.type, _("a Mesh has two MeshMaterialLists"));
        has_materials = true;
        MaterialListBody(depth + 1, face_count, first_triangle, face_first_triangle);
      } else if (h.type.text == "MeshNormals") {
        NormalsBody(face_count);
      } else if (h.type.text == "MeshTextureCoords") {
        TextureCoordsBody(base, vertex_count);
      } else {
        SkipBody();
      }
    }
    lex_.Next();
    if (!has_materials) {
      // A mesh without a material list is white.
      const uint32_t index = static_cast<uint32_t>(out_.materials.size());
      out_.materials.emplace_back();
      for (size_t t = first_triangle; t < out_.triangles.size(); ++t) out_.triangles[t].material = index;
    }
  }

  void MaterialListBody(int depth, uint32_t face_count, size_t first_triangle,
                        const std::vector<uint32_t>& face_first_triangle) {
    const uint32_t material_count = BoundedCount(N_("materials"), 3);
    const Token entries_at = lex_.Peek();
    const uint32_t entry_count = BoundedCount(N_("face materials"), 1);
    if (entry_count > face_count)
      Fail(entries_at, Fill(_("the material list has {1} entries for {2} faces"),
                            {std::to_string(entry_count), std::to_string(face_count)}));
    if (entry_count == 0 && face_count > 0) Fail(entries_at, _("the material list gives no face a material"));
    const uint32_t base = static_cast<uint32_t>(out_.materials.size());
    uint32_t last = 0;
    for (uint32_t f = 0; f < face_count; ++f) {
      if (f < entry_count) {
        const Token at = lex_.Peek();
        last = Count();
        if (last >= material_count)
          Fail(at, Fill(_("face {1} takes material {2} of {3}"),
                        {std::to_string(f), std::to_string(last), std::to_string(material_count)}));
      }
      // Faces past the last entry keep the last material given.
      for (uint32_t t = face_first_triangle[f]; t < face_first_triangle[f + 1]; ++t)
        out_.triangles[first_triangle + t].material = base + last;
    }
    uint32_t given = 0;
    while (lex_.Peek().kind != TokenKind::kClose) {
      const Token at = lex_.Peek();
      if (at.kind == TokenKind::kEnd) Fail(at, Fill(_("the file ends inside a {1}"), {"MeshMaterialList"}));
      if (at.kind == TokenKind::kOpen) {
        const std::string name(Reference());
        const auto found = materials_.find(name);
        if (found == materials_.end()) Fail(at, Fill(_("material {1} is not defined"), {Quoted(name)}));
        Give(at, given, material_count, found->second);
        continue;
      }
      if (depth + 1 > kMaxDepth) Fail(at, _("objects nested too deep"));
      const Header h = ObjectHeader();
      if (h.type.text != "Material") {
        SkipBody();
        continue;
      }
      Material m = MaterialBody(depth + 1);
      if (!h.name.empty()) materials_[std::string(h.name)] = m;
      Give(at, given, material_count, m);
    }
    const Token close = lex_.Next();
    if (given != material_count)
      Fail(close, Fill(_("the material list names {1} materials but gives {2}"),
                       {std::to_string(material_count), std::to_string(given)}));
  }

  void Give(const Token& at, uint32_t& given, uint32_t material_count, const Material& m) {
    if (given >= material_count)
      Fail(at,
           Fill(_("the material list gives more than its {1} materials"), {std::to_string(material_count)}));
    out_.materials.push_back(m);
    ++given;
  }

  Material MaterialBody(int depth) {
    Material m;
    for (float& c : m.face_color) c = Float();
    m.power = Float();
    for (float& c : m.specular) c = Float();
    for (float& c : m.emissive) c = Float();
    while (lex_.Peek().kind != TokenKind::kClose) {
      const Token at = lex_.Peek();
      if (at.kind == TokenKind::kEnd) Fail(at, Fill(_("the file ends inside a {1}"), {"Material"}));
      if (at.kind == TokenKind::kOpen) {
        SkipReference();
        continue;
      }
      if (depth + 1 > kMaxDepth) Fail(at, _("objects nested too deep"));
      const Header h = ObjectHeader();
      if (h.type.text == "TextureFilename") {
        m.texture = std::string(Expect(TokenKind::kString, N_("a file name in quotes")).text);
        Expect(TokenKind::kClose, N_("'}' after the file name of a TextureFilename"));
      } else {
        SkipBody();
      }
    }
    lex_.Next();
    return m;
  }

  void NormalsBody(uint32_t face_count) {
    const uint32_t normal_count = BoundedCount(N_("normals"), 3);
    for (uint32_t i = 0; i < normal_count * 3; ++i) Number();
    const Token faces_at = lex_.Peek();
    const uint32_t faces = BoundedCount(N_("normal faces"), 4);
    if (faces != face_count)
      Fail(faces_at, Fill(_("MeshNormals has {1} faces for a mesh with {2}"),
                          {std::to_string(faces), std::to_string(face_count)}));
    for (uint32_t f = 0; f < faces; ++f) {
      const uint32_t corners = BoundedCount(N_("face corners"), 1);
      for (uint32_t k = 0; k < corners; ++k) {
        const Token at = lex_.Peek();
        if (Count() >= normal_count)
          Fail(at, Fill(_("normal face {1} names a normal past the {2} given"),
                        {std::to_string(f), std::to_string(normal_count)}));
      }
    }
    CloseAfterData("MeshNormals");
  }

  void TextureCoordsBody(uint32_t base, uint32_t vertex_count) {
    const Token at = lex_.Peek();
    const uint32_t count = BoundedCount(N_("texture coordinates"), 2);
    if (count != vertex_count)
      Fail(at, Fill(_("MeshTextureCoords has {1} entries for {2} vertices"),
                    {std::to_string(count), std::to_string(vertex_count)}));
    for (uint32_t i = 0; i < count; ++i) {
      TexCoord& t = out_.uv[base + i];
      t.u = Float();
      t.v = Float();
    }
    CloseAfterData("MeshTextureCoords");
  }

  // Optional child objects after the data, then the closing brace.
  void CloseAfterData(const char* type) {
    while (lex_.Peek().kind != TokenKind::kClose) {
      const Token t = lex_.Next();
      if (t.kind == TokenKind::kEnd) Fail(t, Fill(_("the file ends inside a {1}"), {type}));
      if (t.kind == TokenKind::kOpen) {
        SkipBody();
      } else if (t.kind == TokenKind::kWord && lex_.Peek().kind != TokenKind::kClose) {
        // A child object: "Type [name] {".
        if (lex_.Peek().kind == TokenKind::kWord) lex_.Next();
        Expect(TokenKind::kOpen, "'{'");
        SkipBody();
      } else {
        Fail(t, Fill(_("unexpected {1} in a {2}"), {Describe(t), type}));
      }
    }
    lex_.Next();
  }

  Lexer lex_;
  Mesh out_;
  int mesh_count_ = 0;
  std::map<std::string, Material, std::less<>> materials_;
};

// The 16-byte header: "xof ", version, format, float size.
void CheckHeader(std::string_view text) {
  if (text.size() < 16 || text.substr(0, 4) != "xof ") throw Malformed{_("not a .x file (no 'xof ' header)")};
  const std::string_view format = text.substr(8, 4);
  if (format == "bin ") throw Malformed{_("binary .x files are not supported; save it as text")};
  if (format == "tzip" || format == "bzip")
    throw Malformed{_("compressed .x files are not supported; save it as uncompressed text")};
  if (format != "txt ") throw Malformed{Fill(_("unknown .x format {1}"), {Quoted(format)})};
  const std::string_view float_size = text.substr(12, 4);
  if (float_size != "0032" && float_size != "0064")
    throw Malformed{Fill(_("unknown float size {1} in the header"), {Quoted(float_size)})};
}

}  // namespace

Mesh ParseXFile(std::string_view text, const std::string& path, const std::string& what) {
  try {
    CheckHeader(text);
    Reader reader(text.substr(16));
    return reader.Read();
  } catch (const Malformed& m) {
    throw Fatal(what, path, m.reason);
  }
}

Mesh ReadXFile(const std::string& path, const std::string& what) {
  return ParseXFile(ReadGameFile(path, kMaxMeshFileBytes, what), path, what);
}

}  // namespace brawl
