#include "records/utf8_sink.h"

#include "base/utf8.h"

namespace {

void drain_buffer(Utf8Sink* sink) {
  if (!sink->failed && sink->used > 0 && !sink->drain(sink->context, sink->buffer, sink->used))
    sink->failed = true;
  sink->used = 0;
}

}  // namespace

void sink_start(Utf8Sink* sink, SinkDrain drain, void* context) {
  sink->drain = drain;
  sink->context = context;
  sink->used = 0;
  sink->failed = false;
}

void sink_put_bytes(Utf8Sink* sink, const char* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count && !sink->failed; ++i) {
    if (sink->used == kSinkBufferBytes) drain_buffer(sink);
    sink->buffer[sink->used++] = bytes[i];
  }
}

void sink_put_text(Utf8Sink* sink, const wchar_t* text, long length) {
  long left = length;
  while (!sink->failed && text[0] && left != 0) {
    long consumed = 0;
    std::size_t n = utf8_encode(text, left, sink->buffer + sink->used,
                                kSinkBufferBytes - sink->used, &consumed);
    sink->used += n;
    text += consumed;
    if (left > 0) left -= consumed;
    // No room for the next character's bytes: empty the buffer and go on.
    if (consumed == 0 || sink->used == kSinkBufferBytes) drain_buffer(sink);
  }
}

bool sink_finish(Utf8Sink* sink) {
  drain_buffer(sink);
  return !sink->failed;
}
