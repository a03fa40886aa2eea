#include "records/record_text.h"

#include <cstring>

#include "base/text.h"
#include "records/csv_field.h"

const char kRecordByteOrderMark[3] = {'\xEF', '\xBB', '\xBF'};

namespace {

void put_separator(Utf8Sink* sink) { sink_put_bytes(sink, ",", 1); }

void put_line_end(Utf8Sink* sink) { sink_put_bytes(sink, "\r\n", 2); }

struct ByteBuffer {
  char* bytes;
  std::size_t capacity;
  std::size_t used;
};

bool drain_to_buffer(void* context, const char* bytes, std::size_t count) {
  ByteBuffer* target = static_cast<ByteBuffer*>(context);
  if (count > target->capacity - target->used) return false;
  std::memcpy(target->bytes + target->used, bytes, count);
  target->used += count;
  return true;
}

}  // namespace

long long record_head(const ToolDef* tool, char* bytes, std::size_t capacity) {
  ByteBuffer target = {bytes, capacity, 0};
  Utf8Sink sink;
  sink_start(&sink, drain_to_buffer, &target);
  sink_put_bytes(&sink, kRecordByteOrderMark, sizeof kRecordByteOrderMark);
  record_put_header(&sink, tool);
  if (!sink_finish(&sink)) return -1;
  return static_cast<long long>(target.used);
}

void record_put_header(Utf8Sink* sink, const ToolDef* tool) {
  sink_put_text(sink, L"时间,工具", -1);
  for (int i = 0; i < tool->parameter_count; ++i) {
    put_separator(sink);
    csv_put_text_field(sink, tool->parameters[i].label);
  }
  sink_put_text(sink, L",结果", -1);
  put_line_end(sink);
}

void record_put_line(Utf8Sink* sink, const ToolDef* tool, const double* values,
                     const wchar_t* detail, const PlatformDateTime* when) {
  wchar_t stamp[32];
  text_format(stamp, 32, L"%04d-%02d-%02d %02d:%02d:%02d", when->year, when->month, when->day,
              when->hour, when->minute, when->second);
  csv_put_text_field(sink, stamp);
  put_separator(sink);
  csv_put_text_field(sink, tool->title);
  for (int i = 0; i < tool->parameter_count; ++i) {
    wchar_t value[32];
    text_format(value, 32, L"%g", values[i]);
    const wchar_t* parts[] = {tool->parameters[i].label, L"=", value};
    put_separator(sink);
    csv_put_field(sink, parts, 3);
  }
  put_separator(sink);
  csv_put_text_field(sink, detail);
  put_line_end(sink);
}
