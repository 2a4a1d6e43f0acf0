#include "support/PngImage.h"

#include <array>
#include <cstdio>
#include <vector>

namespace korva::test {

std::string ImageHash(const uint32_t* pixels, int width, int height) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (int i = 0; i < width * height; ++i)
    for (int k = 0; k < 3; ++k) {
      h ^= (pixels[i] >> (8 * k)) & 0xFF;
      h *= 0x100000001B3ull;
    }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

namespace {

// Deflate output: bits are packed from the least significant end of each byte.
class BitWriter {
 public:
  std::vector<uint8_t> Bytes;
  void Bits(uint32_t value, int count) {  // value's low bits, least significant first
    for (int i = 0; i < count; ++i) {
      if (used_ == 0) Bytes.push_back(0);
      Bytes.back() = static_cast<uint8_t>(Bytes.back() | (((value >> i) & 1) << used_));
      used_ = (used_ + 1) & 7;
    }
  }
  void Code(uint32_t code, int count) {  // a Huffman code, most significant bit first
    for (int i = count - 1; i >= 0; --i) Bits((code >> i) & 1, 1);
  }

 private:
  int used_ = 0;
};

// The fixed literal/length code.
void Symbol(BitWriter& w, int v) {
  if (v < 144) w.Code(0x30 + v, 8);
  else if (v < 256) w.Code(0x190 + (v - 144), 9);
  else if (v < 280) w.Code(v - 256, 7);
  else w.Code(0xC0 + (v - 280), 8);
}

constexpr int kLenBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                              31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLenExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                               193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void Match(BitWriter& w, int length, int distance) {
  int l = 28;
  while (kLenBase[l] > length) --l;
  Symbol(w, 257 + l);
  w.Bits(static_cast<uint32_t>(length - kLenBase[l]), kLenExtra[l]);
  int d = 29;
  while (kDistBase[d] > distance) --d;
  w.Code(static_cast<uint32_t>(d), 5);
  w.Bits(static_cast<uint32_t>(distance - kDistBase[d]), kDistExtra[d]);
}

// One fixed-code block; matches only against the previous pixel and the row
// above, which is what screen pictures repeat.
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data, int stride) {
  BitWriter w;
  w.Bits(1, 1);  // final block
  w.Bits(1, 2);  // fixed codes
  const size_t n = data.size();
  size_t i = 0;
  while (i < n) {
    int bestLen = 0, bestDist = 0;
    for (int d : {3, stride}) {
      if (static_cast<size_t>(d) > i) continue;
      int len = 0;
      while (len < 258 && i + static_cast<size_t>(len) < n && data[i + static_cast<size_t>(len)] == data[i + static_cast<size_t>(len) - static_cast<size_t>(d)]) ++len;
      if (len > bestLen) bestLen = len, bestDist = d;
    }
    if (bestLen >= 3) {
      Match(w, bestLen, bestDist);
      i += static_cast<size_t>(bestLen);
    } else {
      Symbol(w, data[i++]);
    }
  }
  Symbol(w, 256);
  return w.Bytes;
}

uint32_t Crc32(const uint8_t* p, size_t n, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t k = 0; k < 256; ++k) {
      uint32_t c = k;
      for (int j = 0; j < 8; ++j) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[k] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
  Put32(out, static_cast<uint32_t>(body.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  Put32(out, Crc32(out.data() + start, out.size() - start));
}

}  // namespace

bool WritePng(const std::string& path, const uint32_t* pixels, int width, int height) {
  const int stride = 1 + 3 * width;
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(stride) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < width; ++x) {
      const uint32_t c = pixels[y * width + x];
      raw.push_back(static_cast<uint8_t>(c));
      raw.push_back(static_cast<uint8_t>(c >> 8));
      raw.push_back(static_cast<uint8_t>(c >> 16));
    }
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  const std::vector<uint8_t> d = Deflate(raw, stride);
  z.insert(z.end(), d.begin(), d.end());
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  Put32(z, (b << 16) | a);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  Put32(ihdr, static_cast<uint32_t>(width));
  Put32(ihdr, static_cast<uint32_t>(height));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
  Chunk(png, "IHDR", ihdr);
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", {});
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace korva::test
