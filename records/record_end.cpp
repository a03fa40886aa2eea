#include "records/record_end.h"

#include <cstring>

#include "records/record_header.h"
#include "records/record_text.h"

namespace {

// The file is read in pieces of this size.
constexpr long long kPieceBytes = 64LL * 1024;
constexpr long long kMarkBytes = sizeof kRecordByteOrderMark;

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

// Whether the bytes read so far are UTF-8, as far as they go: a character
// may go on in the next piece.
struct Utf8Scan {
  bool valid;
  int needed;  // continuation bytes the character read last still needs
  // The range the next continuation byte must lie in (second_byte_range).
  unsigned char low;
  unsigned char high;
};

// The range of the byte after the lead byte c: narrower than 80 to BF only
// after E0, ED, F0 and F4, which rules out overlong forms, surrogates and
// values past U+10FFFF. The bytes after it lie in 80 to BF.
void second_byte_range(unsigned char c, unsigned char* low, unsigned char* high) {
  *low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
  *high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
}

// Reads whole characters, one sequence at a time, while one starts before
// stop, at least three bytes before the end of the piece, so a character
// of up to four bytes lies inside it. Returns where it stopped: at a
// character's start.
const char* scan_whole_characters(bool* valid, const char* p, const char* stop) {
  while (p < stop) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0x80) {
      ++p;
      continue;
    }
    int length = sequence_length(c);
    unsigned char low = 0;
    unsigned char high = 0;
    second_byte_range(c, &low, &high);
    unsigned char next = static_cast<unsigned char>(p[1]);
    bool whole = length > 0 && next >= low && next <= high;
    for (int i = 2; whole && i < length; ++i)
      whole = is_continuation(static_cast<unsigned char>(p[i]));
    if (!whole) {
      *valid = false;
      return p;
    }
    p += length;
  }
  return p;
}

// Reads bytes [p, end) one by one, on from where the scan stands.
void scan_utf8_bytes(Utf8Scan* s, const char* p, const char* end) {
  for (; s->valid && p < end; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (s->needed > 0) {
      s->valid = c >= s->low && c <= s->high;
      --s->needed;
      s->low = 0x80;
      s->high = 0xBF;
    } else if (c >= 0x80) {
      s->needed = sequence_length(c) - 1;
      s->valid = s->needed > 0;
      second_byte_range(c, &s->low, &s->high);
    }
  }
}

// Reads bytes [p, end) on from where the scan stands: the rest of a
// character the last piece began and the last three bytes one by one, the
// middle a character at a time (four times as fast).
void scan_utf8(Utf8Scan* s, const char* p, const char* end) {
  const char* middle = p + s->needed;
  if (middle < end - 3) {
    scan_utf8_bytes(s, p, middle);
    p = scan_whole_characters(&s->valid, middle, end - 3);
  }
  scan_utf8_bytes(s, p, end);
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
// keeps them in end->cut. The kept bytes start with a header line, so there
// are more than four of them.
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

// Reads bytes [from, to) once, for the quotes and for UTF-8 alike, in
// pieces of a fixed size however large the file is.
PlatformResult read_text(const PlatformHeldFile* held, long long from, long long to, char* piece,
                         QuoteScan* quotes, Utf8Scan* utf8, unsigned long* os_error) {
  for (long long at = from; at < to; at += kPieceBytes) {
    long long count = to - at < kPieceBytes ? to - at : kPieceBytes;
    PlatformResult result = read_exactly(held, at, count, piece, os_error);
    if (result != kPlatformOk) return result;
    scan_quotes(quotes, piece, piece + count);
    scan_utf8(utf8, piece, piece + count);
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
  if (result == kPlatformOk) result = read_exactly(held, 0, start_bytes, piece, os_error);
  if (result != kPlatformOk) return result;
  // A first save cut short, perhaps inside a character of the header: the
  // head is completed, nothing of it is cut off.
  if (keep <= head_bytes && std::memcmp(piece, head, static_cast<std::size_t>(keep)) == 0) {
    end->keep = keep;
    end->head_from = keep;
    return kPlatformOk;
  }
  // A spreadsheet that saved the file as UTF-8 may have dropped the
  // byte-order mark and written LF line ends; the file stays ours as long
  // as its header line and its encoding are. Another program's file (a
  // spreadsheet saving it in its own encoding, or with its own header) is
  // never mended: its last bytes are not a cut character of ours.
  long long text_from =
      start_bytes >= kMarkBytes && std::memcmp(piece, head, kMarkBytes) == 0 ? kMarkBytes : 0;
  if (!record_starts_with_header(piece + text_from, piece + start_bytes, head,
                                 static_cast<std::size_t>(head_bytes))) {
    end->foreign = true;
    return kPlatformOk;
  }
  end->keep = keep;
  result = drop_cut_character(held, end, os_error);
  if (result != kPlatformOk) return result;
  // The text starts as a row does.
  QuoteScan quotes = {false, false, '\n'};
  Utf8Scan utf8 = {true, 0, 0x80, 0xBF};
  result = read_text(held, text_from, end->keep, piece, &quotes, &utf8, os_error);
  if (result != kPlatformOk) return result;
  // Bytes that are not UTF-8 (GBK or Latin-1 text under our header) would
  // stay unreadable beside the records appended to them. (A character cut
  // short at the end was dropped before the scan.)
  if (!utf8.valid) {
    *end = RecordEnd{size, {}, 0, "", -1, true};
    return kPlatformOk;
  }
  // Every record ends with CR LF, in an LF file too: CSV readers and
  // spreadsheets take CR LF, LF and a mix of both as row ends, and the
  // earlier rows keep their bytes.
  end->closing = closing_for(quotes);
  return kPlatformOk;
}
