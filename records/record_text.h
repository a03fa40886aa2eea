// The texts of the Record file: the byte-order mark and header line that
// start a new file, and the one record each save appends.
#pragma once

#include "engine/tool.h"
#include "platform/platform.h"
#include "records/utf8_sink.h"

// The UTF-8 byte-order mark that starts a new Record file.
extern const char kRecordByteOrderMark[3];

// Room for a Record file's head.
constexpr int kRecordHeadCapacity = 2048;

// The head that starts a new Record file, the byte-order mark and the header
// line, into bytes. Returns its length, or -1 when it does not fit.
long long record_head(const ToolDef* tool, char* bytes, std::size_t capacity);

// "时间,工具", one column per parameter named by its label, ",结果", CR LF.
void record_put_header(Utf8Sink* sink, const ToolDef* tool);

// The local date and time of the save, the tool's title, label=value for
// every parameter (the value printed as %g), the detail text, CR LF. Every
// field is CSV-quoted when it needs it, so the multi-line detail text stays
// one cell.
void record_put_line(Utf8Sink* sink, const ToolDef* tool, const double* values,
                     const wchar_t* detail, const PlatformDateTime* when);
