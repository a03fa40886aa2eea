#include "records/record_file.h"

#include <cstdio>

#include "engine/text.h"
#include "records/record_text.h"
#include "records/utf8_sink.h"

namespace {

struct FileDrain {
  std::FILE* file;
  PlatformResult result;
  unsigned long os_error;
};

bool drain_to_file(void* context, const char* bytes, std::size_t count) {
  FileDrain* target = static_cast<FileDrain*>(context);
  target->result = platform_write_file(target->file, bytes, count, &target->os_error);
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
  for (int i = 1; prefix[i]; ++i) {
    if (prefix[i] != kPlatformPathSeparator) continue;
    prefix[i] = 0;
    platform_create_folder(prefix, nullptr);
    prefix[i] = kPlatformPathSeparator;
  }
  return platform_create_folder(folder, os_error);
}

// Puts the file back as it was before the save: removed when it did not
// exist, otherwise cut back to its size. Nothing better can be done if this
// fails too, so its result is not reported.
void restore_file(const wchar_t* path, bool existed, long long size) {
  if (existed)
    platform_truncate_file(path, size, nullptr);
  else
    platform_remove_file(path, nullptr);
}

// Writes BOM and header (when new), and the record; then flushes and closes.
RecordOutcome append_record(std::FILE* file, bool starts_file, const ToolDef* tool,
                            const double* values, const wchar_t* detail,
                            const PlatformDateTime* when) {
  FileDrain target = {file, kPlatformOk, 0};
  Utf8Sink sink;
  sink_start(&sink, drain_to_file, &target);
  if (starts_file) {
    sink_put_bytes(&sink, kRecordByteOrderMark, sizeof kRecordByteOrderMark);
    record_put_header(&sink, tool);
  }
  record_put_line(&sink, tool, values, detail, when);
  unsigned long os_error = 0;
  if (!sink_finish(&sink)) {
    platform_close_file(file, nullptr);
    return outcome(kRecordStepWrite, target.result, target.os_error);
  }
  PlatformResult result = platform_sync_file(file, &os_error);
  if (result != kPlatformOk) {
    platform_close_file(file, nullptr);
    return outcome(kRecordStepFlush, result, os_error);
  }
  result = platform_close_file(file, &os_error);
  if (result != kPlatformOk) return outcome(kRecordStepClose, result, os_error);
  return outcome(kRecordStepNone, kPlatformOk, 0);
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
    if (os_error) *os_error = 0;
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

  // Whether the file starts now is told by its existence and size, never by
  // whether it can be read: a BOM and header must not land mid-file.
  bool exists = false;
  long long size = 0;
  result = platform_file_size(path, &exists, &size, &os_error);
  if (result != kPlatformOk) return outcome(kRecordStepSize, result, os_error);

  std::FILE* file = nullptr;
  result = platform_open_append(path, &file, &os_error);
  if (result != kPlatformOk) return outcome(kRecordStepOpen, result, os_error);

  RecordOutcome done = append_record(file, !exists || size == 0, tool, values, detail, when);
  if (done.failed_step != kRecordStepNone) restore_file(path, exists, size);
  return done;
}
