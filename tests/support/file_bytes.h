// Whole-file reads for the tests that check bytes a program wrote.
#pragma once

#include <string>

bool file_exists(const std::string& path);

// The file's bytes; empty when it cannot be opened.
std::string read_whole_file(const std::string& path);
