// Appending one record to the tool's Record file,
// <local application data>/XeluMedSuite/records/T<id>.csv, so that either
// the whole record reaches the disk or the file is left as it was.
#pragma once

#include "engine/tool.h"
#include "platform/platform.h"

// Room for the records folder and for the Record file's path.
constexpr int kRecordPathCapacity = 520;

// The step at which a save failed.
enum RecordStep {
  kRecordStepNone = 0,  // the save succeeded
  kRecordStepLookup,    // the local application data folder is unknown
  kRecordStepFolder,    // the records folder cannot be named or created
  kRecordStepSize,      // the held file's size cannot be read
  kRecordStepMend,      // the file's end cannot be read, or what is torn there cannot be cut off
  kRecordStepOpen,      // the file cannot be opened for appending, or stayed held elsewhere
  kRecordStepWrite,
  kRecordStepFlush,    // the data could not be put onto the disk
  kRecordStepForeign,  // another program wrote the file; every byte of it stays
};

struct RecordOutcome {
  RecordStep failed_step;
  PlatformResult result;  // what the failure means; the caller tells the user by it
  // The system's own error of the failed call, as the seam kept it
  // (platform.h); 0 when the save refused by a rule of its own: a path or
  // header too long for its buffer, or another program's file.
  unsigned long os_error;
};

// The records folder under the local application data folder; *os_error
// receives the raw system error of a failed lookup, 0 otherwise.
PlatformResult record_folder(wchar_t* folder, int capacity, unsigned long* os_error);

// Appends one record for the tool, with the parameter values and the detail
// text, dated when. The file is held for this save alone from the reading of
// its size to its close; while another process holds it, the save tries
// again for about two seconds, then fails with kRecordStepOpen and
// kPlatformBusy, the file untouched. A file that is absent or empty first
// gets the byte-order mark and the header line, through the same open. A
// file whose end a save cut short (record_end.h) is first mended, under the
// same hold, so that the new record starts a row of its own; a file holding
// only a beginning of the byte-order mark and header line gets the rest of
// them. A file whose bytes are all UTF-8 and whose first line is a header
// line of ours, with or without the byte-order mark, ended by CR LF or LF
// (as a spreadsheet saves it back as UTF-8), takes the record as its next
// row. A file another program wrote (another encoding, another header, a
// header whose cells were quoted) is not touched: the save fails with
// kRecordStepForeign and kPlatformDenied. The record counts as saved only
// once its data is on the disk; on any failure after the open the file is
// cut back to its earlier size (or removed when it did not exist) while
// still held, and whatever the mend had cut off is put back, so no partial
// record stays behind and the file is as it was. Only a file whose size
// cannot be read is left as the open found it: one this save created then
// stays empty, and the next save fills it as a new file.
//
// place receives the file's path, or the records folder when the save failed
// before the path was known, or the empty text when the lookup failed.
RecordOutcome record_save(const ToolDef* tool, const double* values, const wchar_t* detail,
                          const PlatformDateTime* when, wchar_t* place, int place_capacity);
