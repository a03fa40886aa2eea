// A fixed staging buffer that turns wide texts into UTF-8 bytes and hands
// them on in pieces, so a text of any length is written whole without a heap
// allocation.
#pragma once

#include <cstddef>

constexpr std::size_t kSinkBufferBytes = 4096;

// Receives each full (and the last) piece of bytes; returns false to stop:
// the sink then drops everything that follows.
using SinkDrain = bool (*)(void* context, const char* bytes, std::size_t count);

struct Utf8Sink {
  SinkDrain drain;
  void* context;
  char buffer[kSinkBufferBytes];
  std::size_t used;
  bool failed;  // a drain refused; nothing more is handed on
};

void sink_start(Utf8Sink* sink, SinkDrain drain, void* context);

// Adds raw bytes (the byte-order mark).
void sink_put_bytes(Utf8Sink* sink, const char* bytes, std::size_t count);

// Adds the UTF-8 form of length wide characters of text (length < 0: up to
// its terminator, which is not added).
void sink_put_text(Utf8Sink* sink, const wchar_t* text, long length);

// Hands on what is left in the buffer. Returns false when any drain failed.
bool sink_finish(Utf8Sink* sink);
