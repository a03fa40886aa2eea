// How the Record file ends, told before a save appends to it. A save cut
// short (the process killed, Windows stopping, a power loss) can leave a torn
// record at the end: part of a row, often inside the quoted detail text,
// perhaps the first bytes of a character, perhaps a run of NUL bytes where
// the file system had lengthened the file but never wrote it. Appended to
// as it is, such an end would swallow every later record in a CSV reader.
#pragma once

#include "platform/platform.h"

struct RecordEnd {
  // The bytes that stay. Past them, only a run of NUL bytes at the very end
  // and, before it, the first bytes of a character cut short are removed:
  // neither is text that anyone wrote whole.
  long long keep;
  // The removed bytes of the cut character (0 to 3 of them), kept so a
  // failed save can put them back; the NUL run is put back by lengthening.
  char cut[3];
  int cut_count;
  // Appended first, to close a torn row as a CSV reader reads it: "" when
  // the kept bytes end where a row ends, "\n" after a bare CR; else the torn
  // row gets one more cell, "（记录不完整，未保存）", so no one takes a cut value for
  // an entered one: "\"," inside a quoted field, "," outside, then the mark
  // and CR LF.
  const char* closing;
  // The kept bytes are a beginning of the file's head (the byte-order mark
  // and the header line, as the first save writes them): the save writes the
  // rest of the head from this byte on. -1 when the file has its head.
  long long head_from;
  // Another program wrote the file: its bytes are not all UTF-8, or its
  // first line is not a header line of ours (with or without the byte-order
  // mark, ended by CR LF or LF), nor is it what a cut first save left. keep
  // is then size, and nothing is to be changed.
  bool foreign;
};

// Reads the held file of size bytes and tells how it ends; head is the
// file's head for this tool, head_bytes long. Every byte is read, because
// whether a line end closes a row or lies inside a quoted field depends on
// every double quote before it, and each is checked to be UTF-8.
PlatformResult record_find_end(const PlatformHeldFile* held, long long size, const char* head,
                               long long head_bytes, RecordEnd* end, unsigned long* os_error);
