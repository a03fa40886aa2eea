// 24-bit BMP files of a canvas's pixels: the window's reference images and
// the renderings a failed comparison leaves behind.
#pragma once

#include <cstdint>
#include <vector>

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, row after row from the top
};

bool write_bmp(const char* path, const Image& image);
// False when the file is missing or is not a 24-bit uncompressed BMP.
bool read_bmp(const char* path, Image* image);
