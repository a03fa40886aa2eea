// File helpers for the record tests: a fresh temporary folder per test, and
// whole-file reads and writes by narrow ASCII path.
#pragma once

#include <string>

#include "support/file_bytes.h"

// A new empty folder under the system's temporary folder, removed with all
// its content when the object ends.
struct TempFolder {
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string path;    // narrow, ASCII
  std::wstring wide;   // the same path as a wide text
};

std::wstring widen(const std::string& ascii);
std::string narrow(const std::wstring& ascii);

// The records folder and the ICH tool's Record file under a data folder.
std::string records_folder_under(const std::string& data_folder);
std::string record_file_under(const std::string& data_folder);

void write_whole_file(const std::string& path, const std::string& bytes);

// The UTF-8 form of a wide text.
std::string utf8_of(const std::wstring& text);
