#include "records/record_end.h"

#include <cstring>

#include "records/record_text.h"

namespace {

// The file is read in pieces of this size.
constexpr long long kPieceBytes = 64LL * 1024;
constexpr long long kMarkBytes = sizeof kRecordByteOrderMark;
// How every Record file starts, whichever header variant it carries.
const char kOwnStart[] =
    "\xEF\xBB\xBF"
    u8"时间,工具,";
constexpr long long kOwnStartBytes = sizeof kOwnStart - 1;
static_assert(kOwnStartBytes > 4, "an own file holds four bytes past its start");

// Where a CSV reader stands, as far as double quotes go. A double quote
// opens a quoted field only at the start of a field (after a comma, a line
// end or at the start of the text; elsewhere it is an ordinary character);
// inside, two double quotes stand for one and a single one ends the
// quoting. Python's csv module and spreadsheets read so. Line ends and
// commas inside quotes are text, so the whole file before a point decides
// whether a line end there ends a row.
struct QuoteScan {
  bool inside;         // within a quoted field
  bool quote_pending;  // inside, and the last byte read is a double quote
  char last;           // outside: the last byte read
};

bool starts_field_after(char c) { return c == ',' || c == '\r' || c == '\n'; }

// Reads bytes [p, end), at least one, on from where the scan stands. Only
// double quotes change the state, so the scan leaps from one to the next.
void scan_quotes(QuoteScan* s, const char* p, const char* end) {
  if (s->quote_pending) {
    s->quote_pending = false;
    if (*p == '"') {
      ++p;  // a doubled quote: still inside
    } else {
      s->inside = false;
      s->last = '"';
    }
  }
  while (p < end) {
    const char* q =
        static_cast<const char*>(std::memchr(p, '"', static_cast<std::size_t>(end - p)));
    if (!q) {
      if (!s->inside) s->last = end[-1];
      return;
    }
    if (!s->inside) {
      s->inside = starts_field_after(q > p ? q[-1] : s->last);
      s->last = '"';
      p = q + 1;
    } else if (q + 1 == end) {
      s->quote_pending = true;
      return;
    } else if (q[1] == '"') {
      p = q + 2;
    } else {
      s->inside = false;
      s->last = '"';
      p = q + 1;
    }
  }
}

bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the character that the lead byte c starts; 0 for no lead byte.
int sequence_length(unsigned char c) {
  if (c >= 0xC2 && c <= 0xDF) return 2;
  if (c >= 0xE0 && c <= 0xEF) return 3;
  if (c >= 0xF0 && c <= 0xF4) return 4;
  return 0;
}

PlatformResult read_exactly(const PlatformHeldFile* held, long long from, long long count,
                            char* bytes, unsigned long* os_error) {
  std::size_t got = 0;
  PlatformResult result =
      platform_read_held_file(held, from, bytes, static_cast<std::size_t>(count), &got, os_error);
  if (result == kPlatformOk && got != static_cast<std::size_t>(count)) {
    // No save of ours shrinks a held file; a short read means another
    // program cut it meanwhile (a POSIX lock only binds those who ask for it).
    // No call failed, so there is no system error to keep.
    *os_error = 0;
    return kPlatformFailed;
  }
  return result;
}

// Moves *keep back over the run of NUL bytes that ends the file.
PlatformResult skip_nul_run(const PlatformHeldFile* held, long long* keep, char* piece,
                            unsigned long* os_error) {
  while (*keep > 0) {
    long long from = *keep > kPieceBytes ? *keep - kPieceBytes : 0;
    PlatformResult result = read_exactly(held, from, *keep - from, piece, os_error);
    if (result != kPlatformOk) return result;
    long long i = *keep - from;
    while (i > 0 && piece[i - 1] == 0) --i;
    *keep = from + i;
    if (i > 0) break;
  }
  return kPlatformOk;
}

// Moves end->keep back over the first bytes of a character cut short, and
// keeps them in end->cut. The kept bytes start as a Record file does, so
// there are more than four of them.
PlatformResult drop_cut_character(const PlatformHeldFile* held, RecordEnd* end,
                                  unsigned long* os_error) {
  char tail[4];
  PlatformResult result = read_exactly(held, end->keep - 4, 4, tail, os_error);
  if (result != kPlatformOk) return result;
  // A character cut short ends in at most two continuation bytes.
  int following = 0;
  while (following < 2 && is_continuation(static_cast<unsigned char>(tail[3 - following])))
    ++following;
  int length = sequence_length(static_cast<unsigned char>(tail[3 - following]));
  if (length > following + 1) {
    end->cut_count = following + 1;
    end->keep -= end->cut_count;
    std::memcpy(end->cut, tail + 4 - end->cut_count, static_cast<std::size_t>(end->cut_count));
  }
  return kPlatformOk;
}

PlatformResult read_quotes(const PlatformHeldFile* held, long long from, long long to, char* piece,
                           QuoteScan* scan, unsigned long* os_error) {
  for (long long at = from; at < to; at += kPieceBytes) {
    long long count = to - at < kPieceBytes ? to - at : kPieceBytes;
    PlatformResult result = read_exactly(held, at, count, piece, os_error);
    if (result != kPlatformOk) return result;
    scan_quotes(scan, piece, piece + count);
  }
  return kPlatformOk;
}

// The cell that ends a row the mend closed: the record is incomplete and
// was not saved.
#define RECORD_TORN_MARK u8"（记录不完整，未保存）"

const char* closing_for(const QuoteScan& scan) {
  if (scan.inside && !scan.quote_pending) return "\"," RECORD_TORN_MARK "\r\n";
  // A quote pending at the very end closed its field.
  char last = scan.quote_pending ? '"' : scan.last;
  if (last == '\n') return "";
  if (last == '\r') return "\n";
  return "," RECORD_TORN_MARK "\r\n";
}

}  // namespace

PlatformResult record_find_end(const PlatformHeldFile* held, long long size, const char* head,
                               long long head_bytes, RecordEnd* end, unsigned long* os_error) {
  *end = RecordEnd{size, {}, 0, "", -1, false};
  *os_error = 0;
  char piece[kPieceBytes];
  long long keep = size;
  PlatformResult result = skip_nul_run(held, &keep, piece, os_error);
  long long start_bytes = keep < head_bytes ? keep : head_bytes;
  if (result == kPlatformOk && start_bytes > 0)
    result = read_exactly(held, 0, start_bytes, piece, os_error);
  if (result != kPlatformOk) return result;
  // A first save cut short, perhaps inside a character of the header: the
  // head is completed, nothing of it is cut off.
  if (keep <= head_bytes && std::memcmp(piece, head, static_cast<std::size_t>(keep)) == 0) {
    end->keep = keep;
    end->head_from = keep;
    return kPlatformOk;
  }
  // Another program's file (a spreadsheet saving it in its own encoding)
  // is never mended: its last bytes are not a cut character of ours.
  if (start_bytes < kOwnStartBytes || std::memcmp(piece, kOwnStart, kOwnStartBytes) != 0) {
    end->foreign = true;
    return kPlatformOk;
  }
  end->keep = keep;
  result = drop_cut_character(held, end, os_error);
  if (result != kPlatformOk) return result;
  // The text starts as a row does.
  QuoteScan scan = {false, false, '\n'};
  result = read_quotes(held, kMarkBytes, end->keep, piece, &scan, os_error);
  if (result == kPlatformOk) end->closing = closing_for(scan);
  return result;
}
