#include "support/file_bytes.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

bool file_exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

std::string read_whole_file(const std::string& path) {
  std::string data;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    std::fclose(f);
  }
  return data;
}
