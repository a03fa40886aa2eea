// Writing a wide text to a file as UTF-8.
#pragma once

// Creates or empties the file at path and writes the text as UTF-8 without a
// byte-order mark, whole, however long, converting it in pieces through a
// fixed buffer. Returns true when every byte was written and the file closed.
bool write_utf8_text_file(const wchar_t* path, const wchar_t* text);
