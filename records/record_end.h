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
  // the kept bytes end where a row ends, "\n" after a bare CR, "\"\r\n" inside
  // a quoted field, else "\r\n".
  const char* closing;
  // The kept bytes hold nothing but, perhaps, the byte-order mark: the save
  // writes the header line, and the byte-order mark first when it is missing.
  bool starts_file;
  bool has_byte_order_mark;
};

// Reads the held file of size bytes and tells how it ends. Every byte is
// read, because whether a line end closes a row or lies inside a quoted
// field depends on every double quote before it.
PlatformResult record_find_end(const PlatformHeldFile* held, long long size, RecordEnd* end,
                               unsigned long* os_error);
