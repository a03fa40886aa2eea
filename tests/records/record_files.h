// File helpers for the record tests: a fresh temporary folder per test, and
// whole-file reads and writes by narrow ASCII path.
#pragma once

#include <string>

#include "platform/platform.h"
#include "support/file_bytes.h"

// A new empty folder under the system's temporary folder, removed with all
// its content when the object ends.
struct TempFolder {
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string path;   // narrow, ASCII
  std::wstring wide;  // the same path as a wide text
};

std::wstring widen(const std::string& ascii);
std::string narrow(const std::wstring& ascii);

// The records folder and the ICH tool's Record file under a data folder.
std::string records_folder_under(const std::string& data_folder);
std::string record_file_under(const std::string& data_folder);

void write_whole_file(const std::string& path, const std::string& bytes);

// The UTF-8 form of a wide text.
std::string utf8_of(const std::wstring& text);

// Two processes saving at once: save number record of writer number writer
// (0 or 1) carries these values and this detail text (some 8,000 characters,
// so a record takes several write pieces), and must add exactly these bytes
// to the ICH tool's Record file.
constexpr int kConcurrentSaves = 200;
void writer_values(int writer, int record, double* values);
std::wstring writer_detail(int writer, int record);
std::string writer_record_bytes(int writer, int record);
// The date and time every such record carries.
extern const PlatformDateTime kWriterWhen;

#ifndef _WIN32
// The bytes in lower-case hexadecimal.
std::string hex_of(const std::string& bytes);
// An independent reader's view of a Record file (Python's csv module, by
// csv_cells.py): per row, the number of cells and the last cell in hex, one
// line each; "reader failed" at the end when it could not read the file
// whole (invalid UTF-8, say).
std::string run_reader(const std::string& path);
#endif
