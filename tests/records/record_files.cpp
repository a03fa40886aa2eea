#include "records/record_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/utf8.h"

namespace {

const char kSeparator = static_cast<char>(kPlatformPathSeparator);

int g_folder_number = 0;

}  // namespace

TempFolder::TempFolder() {
  std::error_code ignored;
  std::string base = std::filesystem::temp_directory_path(ignored).string();
  while (!base.empty() && (base.back() == '/' || base.back() == '\\')) base.pop_back();
  for (;;) {
    path = base + kSeparator + "ich-records-" + std::to_string(std::rand()) + "-" +
           std::to_string(++g_folder_number);
    if (std::filesystem::create_directory(path, ignored)) break;
  }
  wide = widen(path);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

std::wstring widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string narrow(const std::wstring& ascii) {
  std::string out;
  for (wchar_t c : ascii) out.push_back(static_cast<char>(c));
  return out;
}

std::string records_folder_under(const std::string& data_folder) {
  return data_folder + kSeparator + "XeluMedSuite" + kSeparator + "records";
}

std::string record_file_under(const std::string& data_folder) {
  return records_folder_under(data_folder) + kSeparator + "T148.csv";
}

void write_whole_file(const std::string& path, const std::string& bytes) {
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

std::string utf8_of(const std::wstring& text) {
  // At most four bytes for each wide character.
  std::string out(4 * text.size(), '\0');
  out.resize(utf8_encode(text.c_str(), -1, &out[0], out.size(), nullptr));
  return out;
}

const PlatformDateTime kWriterWhen = {2025, 3, 14, 14, 5, 9};

void writer_values(int writer, int record, double* values) {
  const double chosen[] = {static_cast<double>(writer), static_cast<double>(record), 0, 0, 65};
  for (int i = 0; i < 5; ++i) values[i] = chosen[i];
}

std::wstring writer_detail(int writer, int record) {
  std::wstring detail =
      L"写入者 " + std::to_wstring(writer) + L" 第 " + std::to_wstring(record) + L" 条\r\n";
  for (int i = 0; i < 8000; ++i) detail.push_back(i % 80 == 79 ? L'\n' : L"血肿"[(i + writer) % 2]);
  return detail;
}

std::string writer_record_bytes(int writer, int record) {
  return u8"2025-03-14 14:05:09,ICH 脑出血评分,GCS=" + std::to_string(writer) + u8",血肿量=" +
         std::to_string(record) + u8",破入脑室(1/0)=0,幕下出血(1/0)=0,年龄=65,\"" +
         utf8_of(writer_detail(writer, record)) + "\"\r\n";
}

#ifndef _WIN32
std::string hex_of(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

std::string run_reader(const std::string& path) {
  std::string command = "python3 " ICH_SOURCE_DIR "/tests/records/csv_cells.py '" + path + "'";
  std::string output;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    if (pclose(pipe) != 0) output += "reader failed";
  }
  return output;
}
#endif
