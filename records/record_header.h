// Whether a Record file's first line is a header line that this tool's
// saves wrote, told before a save appends to the file.
#pragma once

#include <cstddef>

// Whether bytes [text, end), the file's text after the byte-order mark (or
// from its first byte when it has none), start with a header line of ours
// ended by CR LF or LF. head is the tool's own head: the byte-order mark, the
// header line and CR LF, head_bytes long.
bool record_starts_with_header(const char* text, const char* end, const char* head,
                               std::size_t head_bytes);
