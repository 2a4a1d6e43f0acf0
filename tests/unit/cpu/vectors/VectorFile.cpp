#include "unit/cpu/vectors/VectorFile.h"

#include <fstream>
#include <iterator>

namespace korva::vectors {
namespace {

constexpr uint32_t kFileMagic = 0x1A3F5D71;
constexpr uint32_t kTestMagic = 0xABC12367;
constexpr uint32_t kNameMagic = 0x89ABCDEF;
constexpr uint32_t kStateMagic = 0x01234567;
constexpr uint32_t kTransMagic = 0x456789AB;

// A bounded little-endian cursor over [pos, end).
class Cursor {
 public:
  Cursor(const std::vector<uint8_t>& image, size_t pos, size_t end) : img_(image.data()), pos_(pos), end_(end) {}
  bool U8(uint8_t* v) {
    if (end_ - pos_ < 1) return false;
    *v = img_[pos_++];
    return true;
  }
  bool U16(uint16_t* v) {
    if (end_ - pos_ < 2) return false;
    *v = static_cast<uint16_t>(img_[pos_] | (img_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
  }
  bool U32(uint32_t* v) {
    if (end_ - pos_ < 4) return false;
    *v = static_cast<uint32_t>(img_[pos_]) | (static_cast<uint32_t>(img_[pos_ + 1]) << 8) |
         (static_cast<uint32_t>(img_[pos_ + 2]) << 16) | (static_cast<uint32_t>(img_[pos_ + 3]) << 24);
    pos_ += 4;
    return true;
  }
  bool Skip(size_t n) {
    if (end_ - pos_ < n) return false;
    pos_ += n;
    return true;
  }
  size_t Pos() const { return pos_; }
  size_t Left() const { return end_ - pos_; }
  // A block that starts with its own u32 size (the size word included) and a
  // u32 magic: a cursor over the block's body, and this cursor moved past it.
  bool Block(uint32_t magic, Cursor* body) {
    const size_t start = pos_;
    uint32_t size = 0, m = 0;
    if (!U32(&size) || !U32(&m) || m != magic || size < 8 || size > end_ - start) return false;
    *body = *this;
    body->end_ = start + size;
    pos_ = start + size;
    return true;
  }

 private:
  const uint8_t* img_;
  size_t pos_, end_;
};

bool ReadState(Cursor& c, VectorState* s) {
  Cursor b = c;
  if (!c.Block(kStateMagic, &b)) return false;
  for (uint32_t& r : s->D)
    if (!b.U32(&r)) return false;
  for (uint32_t& r : s->A)
    if (!b.U32(&r)) return false;
  if (!b.U32(&s->USP) || !b.U32(&s->SSP) || !b.U32(&s->SR) || !b.U32(&s->PC)) return false;
  if (!b.U32(&s->Prefetch[0]) || !b.U32(&s->Prefetch[1])) return false;
  uint32_t n = 0;
  if (!b.U32(&n) || n > b.Left() / 6) return false;
  s->Ram.resize(n);
  for (MemWord& w : s->Ram)
    if (!b.U32(&w.Address) || !b.U16(&w.Word)) return false;
  return true;
}

bool ReadTest(Cursor& c, VectorTest* t) {
  Cursor b = c;
  if (!c.Block(kTestMagic, &b)) return false;
  Cursor name = b;
  uint32_t len = 0;
  if (!b.Block(kNameMagic, &name) || !name.U32(&len) || len > name.Left()) return false;
  t->Name.clear();
  for (uint32_t i = 0; i < len; ++i) {
    uint8_t ch = 0;
    name.U8(&ch);
    t->Name.push_back(static_cast<char>(ch));
  }
  if (!ReadState(b, &t->Initial) || !ReadState(b, &t->Final)) return false;
  Cursor tr = b;
  uint32_t cycles = 0, n = 0;
  if (!b.Block(kTransMagic, &tr) || !tr.U32(&cycles) || !tr.U32(&n)) return false;
  t->AddressError = false;
  for (uint32_t i = 0; i < n; ++i) {
    uint8_t kind = 0;
    if (!tr.U8(&kind) || !tr.U32(&cycles)) return false;
    if (kind == 0) continue;
    if (kind > 5 || !tr.Skip(20)) return false;
    if (kind == 4 || kind == 5) t->AddressError = true;
  }
  return true;
}

}  // namespace

bool ParseVectorFile(const std::vector<uint8_t>& image, std::vector<VectorTest>* tests, std::string* error) {
  tests->clear();
  Cursor c(image, 0, image.size());
  uint32_t magic = 0, count = 0;
  if (!c.U32(&magic) || magic != kFileMagic) {
    *error = "not a vector file (bad magic)";
    return false;
  }
  if (!c.U32(&count)) {
    *error = "truncated header";
    return false;
  }
  for (uint32_t i = 0; i < count; ++i) {
    VectorTest t;
    if (!ReadTest(c, &t)) {
      *error = "malformed test " + std::to_string(i) + " at byte " + std::to_string(c.Pos());
      return false;
    }
    tests->push_back(std::move(t));
  }
  if (c.Left() != 0) {
    *error = std::to_string(c.Left()) + " bytes after the last test";
    return false;
  }
  return true;
}

bool ReadVectorFile(const std::string& path, std::vector<VectorTest>* tests, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot open " + path;
    tests->clear();
    return false;
  }
  const std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ParseVectorFile(image, tests, error);
}

}  // namespace korva::vectors
