// Writing a wide text to a file as UTF-8.
#pragma once

// Creates or empties the file at path and writes the text as UTF-8 without a
// byte-order mark, whole, however long, converting it in pieces through a
// fixed buffer. Returns true when every byte was written and the file closed.
// A file that could not be written whole is removed, so nothing cut short is
// left that looks like a whole file.
bool write_utf8_text_file(const wchar_t* path, const wchar_t* text);
