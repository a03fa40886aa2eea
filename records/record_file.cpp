#include "records/record_file.h"

#include <cstring>

#include "base/text.h"
#include "records/record_end.h"
#include "records/record_text.h"
#include "records/utf8_sink.h"

namespace {

struct FileDrain {
  PlatformHeldFile* held;
  PlatformResult result;
  unsigned long os_error;
};

bool drain_to_file(void* context, const char* bytes, std::size_t count) {
  FileDrain* target = static_cast<FileDrain*>(context);
  target->result = platform_append_held_file(target->held, bytes, count, &target->os_error);
  return target->result == kPlatformOk;
}

RecordOutcome outcome(RecordStep step, PlatformResult result, unsigned long os_error) {
  RecordOutcome out = {step, result, os_error};
  return out;
}

// Creates every folder of the chain that is missing. The results for the
// folders above the last one are passed over: they may exist without being
// ours to create (a drive root, /home); only the last one must succeed.
PlatformResult create_folder_chain(const wchar_t* folder, unsigned long* os_error) {
  wchar_t prefix[kRecordPathCapacity];
  text_copy(prefix, kRecordPathCapacity, folder);
  unsigned long ignored = 0;
  for (int i = 1; prefix[i]; ++i) {
    if (prefix[i] != kPlatformPathSeparator) continue;
    prefix[i] = 0;
    platform_create_folder(prefix, &ignored);
    prefix[i] = kPlatformPathSeparator;
  }
  return platform_create_folder(folder, os_error);
}

// Another window saving into the same file holds it for milliseconds; a
// program that keeps it open against writing for longer makes the save fail
// after this wait instead of freezing the window.
constexpr unsigned long long kHoldWaitMs = 2000;
constexpr int kHoldPauseMs = 2;

// Takes the hold on the Record file, trying again while another process
// holds it, for up to the wait.
PlatformResult hold_record_file(const wchar_t* path, PlatformHeldFile* held,
                                unsigned long* os_error) {
  unsigned long long start = platform_monotonic_ms();
  for (;;) {
    PlatformResult result = platform_hold_file(path, held, os_error);
    if (result != kPlatformBusy || platform_monotonic_ms() - start >= kHoldWaitMs) return result;
    platform_sleep_ms(kHoldPauseMs);
  }
}

// Writes what closes a torn row, the rest of the head (when the file starts
// now or its first save was cut short), and the record; then puts it onto
// the disk. The hold stays with the caller.
RecordOutcome append_record(PlatformHeldFile* held, const RecordEnd& end, const char* head,
                            long long head_bytes, const ToolDef* tool, const double* values,
                            const wchar_t* detail, const PlatformDateTime* when) {
  FileDrain target = {held, kPlatformOk, 0};
  Utf8Sink sink;
  sink_start(&sink, drain_to_file, &target);
  sink_put_bytes(&sink, end.closing, std::strlen(end.closing));
  if (end.head_from >= 0)
    sink_put_bytes(&sink, head + end.head_from,
                   static_cast<std::size_t>(head_bytes - end.head_from));
  record_put_line(&sink, tool, values, detail, when);
  if (!sink_finish(&sink)) return outcome(kRecordStepWrite, target.result, target.os_error);
  unsigned long os_error = 0;
  PlatformResult result = platform_sync_held_file(held, &os_error);
  if (result != kPlatformOk) return outcome(kRecordStepFlush, result, os_error);
  return outcome(kRecordStepNone, kPlatformOk, 0);
}

// Puts the held file back as it was, size bytes: what the save appended goes,
// and what the mend cut off returns (the cut character's bytes, then the NUL
// run by lengthening). Nothing better can be done if this fails too, so it
// is not reported.
void put_back(const wchar_t* path, PlatformHeldFile* held, const RecordEnd& end, long long size) {
  if (end.keep == size) {
    platform_restore_held_file(path, held, size);
    return;
  }
  // Each step only after the one before it: the cut bytes belong right after
  // the kept ones.
  unsigned long ignored = 0;
  if (platform_resize_held_file(held, end.keep, &ignored) == kPlatformOk &&
      platform_append_held_file(held, end.cut, static_cast<std::size_t>(end.cut_count), &ignored) ==
          kPlatformOk)
    platform_resize_held_file(held, size, &ignored);
}

}  // namespace

PlatformResult record_folder(wchar_t* folder, int capacity, unsigned long* os_error) {
  wchar_t base[kRecordPathCapacity];
  PlatformResult result = platform_local_data_folder(base, kRecordPathCapacity, os_error);
  text_clear(folder, capacity);
  if (result != kPlatformOk) return result;
  int length = text_format(folder, capacity, L"%ls%cXeluMedSuite%crecords", base,
                           static_cast<int>(kPlatformPathSeparator),
                           static_cast<int>(kPlatformPathSeparator));
  if (length >= capacity - 1) {
    text_clear(folder, capacity);
    *os_error = 0;
    return kPlatformTooLong;
  }
  return kPlatformOk;
}

RecordOutcome record_save(const ToolDef* tool, const double* values, const wchar_t* detail,
                          const PlatformDateTime* when, wchar_t* place, int place_capacity) {
  text_clear(place, place_capacity);
  unsigned long os_error = 0;
  wchar_t folder[kRecordPathCapacity];
  PlatformResult result = record_folder(folder, kRecordPathCapacity, &os_error);
  if (result == kPlatformNotFound) return outcome(kRecordStepLookup, result, os_error);
  if (result != kPlatformOk) return outcome(kRecordStepFolder, result, os_error);
  text_copy(place, place_capacity, folder);

  result = create_folder_chain(folder, &os_error);
  if (result != kPlatformOk) return outcome(kRecordStepFolder, result, os_error);

  wchar_t path[kRecordPathCapacity];
  int length = text_format(path, kRecordPathCapacity, L"%ls%cT%03d.csv", folder,
                           static_cast<int>(kPlatformPathSeparator), tool->id);
  // A cut path would name another file.
  if (length >= kRecordPathCapacity - 1) return outcome(kRecordStepFolder, kPlatformTooLong, 0);
  text_copy(place, place_capacity, path);

  char head[kRecordHeadCapacity];
  long long head_bytes = record_head(tool, head, sizeof head);
  if (head_bytes < 0) return outcome(kRecordStepWrite, kPlatformTooLong, 0);

  // From reading the size to closing the file no other save can write it:
  // two saves never interleave their pieces or both write a header, and a
  // failed save is repaired before anyone else writes.
  PlatformHeldFile held;
  result = hold_record_file(path, &held, &os_error);
  if (result != kPlatformOk) return outcome(kRecordStepOpen, result, os_error);

  // Whether the file starts now is told by its size, never by whether it can
  // be read: a BOM and header must not land mid-file.
  long long size = 0;
  result = platform_held_file_size(&held, &size, &os_error);
  if (result != kPlatformOk) {
    platform_release_file(&held);
    return outcome(kRecordStepSize, result, os_error);
  }
  // A save cut short may have left a torn record; it is closed (and what is
  // not whole text cut off) before anything is appended.
  RecordEnd end;
  result = record_find_end(&held, size, head, head_bytes, &end, &os_error);
  if (result == kPlatformOk && end.keep < size)
    result = platform_resize_held_file(&held, end.keep, &os_error);
  if (result != kPlatformOk) {
    platform_release_file(&held);
    return outcome(kRecordStepMend, result, os_error);
  }
  // Another program's file keeps every byte: appending UTF-8 records to a
  // file in another encoding would leave both unreadable.
  if (end.foreign) {
    platform_release_file(&held);
    return outcome(kRecordStepForeign, kPlatformDenied, 0);
  }
  RecordOutcome done = append_record(&held, end, head, head_bytes, tool, values, detail, when);
  if (done.failed_step != kRecordStepNone) put_back(path, &held, end, size);
  platform_release_file(&held);
  return done;
}
