#include "window/bitmap_file.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kHeaderSize = 54;

// Rows are stored bottom-up, three bytes a pixel (blue, green, red), each row
// padded to a multiple of four bytes.
int row_size(int width) { return (width * 3 + 3) / 4 * 4; }

void put32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
std::uint32_t get32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

bool write_bmp(const char* path, const Image& image) {
  const int row = row_size(image.width);
  const std::uint32_t data_size = static_cast<std::uint32_t>(row * image.height);
  unsigned char header[kHeaderSize] = {'B', 'M'};
  put32(header + 2, kHeaderSize + data_size);
  put32(header + 10, kHeaderSize);
  put32(header + 14, 40);
  put32(header + 18, static_cast<std::uint32_t>(image.width));
  put32(header + 22, static_cast<std::uint32_t>(image.height));
  header[26] = 1;   // planes
  header[28] = 24;  // bits a pixel
  put32(header + 34, data_size);
  std::FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  bool ok = std::fwrite(header, 1, kHeaderSize, file) == kHeaderSize;
  std::vector<unsigned char> line(static_cast<size_t>(row), 0);
  for (int y = image.height - 1; ok && y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      std::uint32_t p = image.pixels[static_cast<size_t>(y * image.width + x)];
      line[static_cast<size_t>(3 * x)] = static_cast<unsigned char>(p);
      line[static_cast<size_t>(3 * x + 1)] = static_cast<unsigned char>(p >> 8);
      line[static_cast<size_t>(3 * x + 2)] = static_cast<unsigned char>(p >> 16);
    }
    ok = std::fwrite(line.data(), 1, line.size(), file) == line.size();
  }
  return std::fclose(file) == 0 && ok;
}

bool read_bmp(const char* path, Image* image) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  unsigned char header[kHeaderSize];
  bool ok = std::fread(header, 1, kHeaderSize, file) == kHeaderSize && header[0] == 'B' &&
            header[1] == 'M' && get32(header + 10) == kHeaderSize && header[28] == 24 &&
            get32(header + 30) == 0;
  int width = ok ? static_cast<int>(get32(header + 18)) : 0;
  int height = ok ? static_cast<int>(get32(header + 22)) : 0;
  ok = ok && width > 0 && height > 0 && width <= 8192 && height <= 8192;
  if (ok) {
    image->width = width;
    image->height = height;
    image->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  }
  std::vector<unsigned char> line(static_cast<size_t>(row_size(width)));
  for (int y = height - 1; ok && y >= 0; --y) {
    ok = std::fread(line.data(), 1, line.size(), file) == line.size();
    for (int x = 0; ok && x < width; ++x)
      image->pixels[static_cast<size_t>(y * width + x)] =
          line[static_cast<size_t>(3 * x)] | line[static_cast<size_t>(3 * x + 1)] << 8 |
          static_cast<std::uint32_t>(line[static_cast<size_t>(3 * x + 2)]) << 16;
  }
  std::fclose(file);
  return ok;
}
