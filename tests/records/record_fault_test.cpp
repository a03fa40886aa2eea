#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/tool.h"
#include "platform/syscall_faults.h"
#include "records/record_file.h"
#include "records/record_files.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

const double kValues[kMaxParameters] = {12, 20, 0, 0, 65};
const PlatformDateTime kWhen = {2025, 3, 14, 14, 5, 9};

// A detail text long enough to need many writes.
std::wstring long_detail() {
  std::wstring detail;
  for (int i = 0; i < 20000; ++i) detail.push_back(i % 50 == 49 ? L'\n' : L'血');
  return detail;
}

struct FaultCase {
  const char* name;
  void (*inject)();
  RecordStep step;
  PlatformResult result;
  unsigned long (*os_error)();
};

void write_fails_half_way() { fail_write_after(3); }
unsigned long no_error() { return 0; }

const FaultCase kFaultsAfterTheOpen[] = {
    {"write half-way", write_fails_half_way, kRecordStepWrite, kPlatformIoError, disk_full_error},
    {"first write", [] { fail_write_after(0); }, kRecordStepWrite, kPlatformIoError,
     disk_full_error},
    // Without the check, the write loop would go on for ever.
    {"a write that writes nothing", write_nothing_once, kRecordStepWrite, kPlatformIoError,
     general_failure_error},
    {"disk flush", fail_disk_flush, kRecordStepFlush, kPlatformIoError, device_error},
    {"disk flush without an error code", fail_disk_flush_silently, kRecordStepFlush,
     kPlatformIoError, general_failure_error},
#ifdef _WIN32
    {"seek to the end", fail_seek_to_end, kRecordStepWrite, kPlatformIoError, device_error},
#endif
    // The size decides the cut-back; a file the open created stays, empty.
    {"size", fail_size, kRecordStepSize, kPlatformIoError, device_error},
};

class RecordFault : public ::testing::Test {
 protected:
  void SetUp() override { use_data_folder(data.wide); }

  RecordOutcome save(const wchar_t* detail) {
    return record_save(get_tool(), kValues, detail, &kWhen, place, kRecordPathCapacity);
  }

  SyscallFaultScope faults;
  TempFolder data;
  wchar_t place[kRecordPathCapacity];
};

// A file whose last save was cut short inside a character and left NUL
// bytes: what the mend cut off is put back too.
const std::string kTornTail = std::string("\xE7\x97") + std::string(70000, '\0');

// The file holds a record, then a torn one, or it is empty: a failure must
// not remove a file that the save did not create.
TEST_F(RecordFault, FailureAfterTheOpenCutsAnExistingFileBackToItsSize) {
  std::wstring detail = long_detail();
  for (int start = 0; start < 3; ++start)
    for (const FaultCase& c : kFaultsAfterTheOpen) {
      ASSERT_EQ(kRecordStepNone, save(L"first\r\n").failed_step);
      std::string path = record_file_under(data.path);
      std::string before = start == 2 ? "" : read_whole_file(path) + (start == 1 ? kTornTail : "");
      write_whole_file(path, before);
      c.inject();
      RecordOutcome done = save(detail.c_str());
      clear_faults();
      EXPECT_EQ(c.step, done.failed_step) << c.name;
      EXPECT_EQ(c.result, done.result) << c.name;
      EXPECT_EQ(c.os_error(), done.os_error) << c.name;
      EXPECT_EQ(path, narrow(place)) << c.name;
      EXPECT_TRUE(file_exists(path)) << c.name;
      std::string after = read_whole_file(path);
      EXPECT_EQ(before.size(), after.size()) << c.name;
      EXPECT_TRUE(before == after) << c.name;
    }
}

TEST_F(RecordFault, FailureAfterTheOpenRemovesAFileThatDidNotExist) {
  std::wstring detail = long_detail();
  std::string path = record_file_under(data.path);
  for (const FaultCase& c : kFaultsAfterTheOpen) {
    c.inject();
    RecordOutcome done = save(detail.c_str());
    clear_faults();
    EXPECT_EQ(c.step, done.failed_step) << c.name;
    if (c.step == kRecordStepSize) {
      EXPECT_EQ("", read_whole_file(path)) << c.name;
      std::remove(path.c_str());
    }
    EXPECT_FALSE(file_exists(path)) << c.name;
  }
}

// The end of a torn file (a NUL run past 64 KiB) cannot be read or cut off:
// each read in turn fails, the file is cut meanwhile, or the cut fails.
TEST_F(RecordFault, MendThatFailsFailsTheSaveAndLeavesTheFile) {
  struct Case {
    const char* name;
    void (*inject)();
    unsigned long (*os_error)();
    PlatformResult result = kPlatformIoError;
  } cases[] = {
      {"the NUL run", [] { fail_read_after(0); }, device_error},
      {"the head", [] { fail_read_after(2); }, device_error},
      {"the last bytes", [] { fail_read_after(3); }, device_error},
      {"the quotes", [] { fail_read_after(4); }, device_error},
      {"cut meanwhile", cut_file_under_reads, no_error, kPlatformFailed},
      {"the cut", fail_resize, device_error},
  };
  ASSERT_EQ(kRecordStepNone, save(L"first\r\n").failed_step);
  std::string path = record_file_under(data.path);
  write_whole_file(path, read_whole_file(path) + "2025-03-14,\"x" + kTornTail);
  std::string before = read_whole_file(path);
  for (const Case& c : cases) {
    c.inject();
    RecordOutcome done = save(L"d");
    clear_faults();
    EXPECT_EQ(kRecordStepMend, done.failed_step) << c.name;
    EXPECT_EQ(c.result, done.result) << c.name;
    EXPECT_EQ(c.os_error(), done.os_error) << c.name;
    EXPECT_TRUE(before == read_whole_file(path)) << c.name;
  }
}

// A save cut short: the file ends after byte `at` of its third record,
// perhaps followed by NUL bytes where the file system lengthened the file
// but never wrote it. Two saves follow.
struct TornCase {
  const char* name;
  size_t (*at)(const std::string& record);
  size_t nul_bytes;
  size_t cut_bytes;     // of a character cut short, which the mend removes
  const char* closing;  // what the mend writes after the bytes it keeps
  size_t whole;         // records a CSV reader then reads whole, of five
};

// With a comma, doubled quotes, line ends, and characters of two, three and
// four bytes.
const wchar_t kTornDetail[] = L"评分：1 分, \"注\"\r\n病死率：13 % é\U0001F600\r\n";

size_t after(const std::string& record, const char* text) {
  return record.find(text) + std::strlen(text);
}

#define MARK u8"（记录不完整，未保存）"

const TornCase kTornCases[] = {
    {"inside the quoted detail, after a line end",
     [](const std::string& r) { return after(r, "\r\n"); }, 0, 0, "\"," MARK "\r\n", 4},
    {"between a doubled quote", [](const std::string& r) { return after(r, "\"\"") - 1; }, 0, 0,
     "," MARK "\r\n", 4},
    {"inside a character", [](const std::string& r) { return after(r, u8"病") - 2; }, 0, 1,
     "\"," MARK "\r\n", 4},
    {"right after a whole character", [](const std::string& r) { return after(r, u8"病"); }, 0, 0,
     "\"," MARK "\r\n", 4},
    {"inside a two-byte character", [](const std::string& r) { return after(r, u8"é") - 1; }, 0, 1,
     "\"," MARK "\r\n", 4},
    {"inside a four-byte character", [](const std::string& r) { return after(r, u8"é") + 3; }, 0, 3,
     "\"," MARK "\r\n", 4},
    {"right after the quote that opens the detail",
     [](const std::string& r) { return after(r, "=65,\""); }, 0, 0, "\"," MARK "\r\n", 4},
    {"right before the final line end", [](const std::string& r) { return r.size() - 2; }, 0, 0,
     "," MARK "\r\n", 4},
    {"between CR and LF", [](const std::string& r) { return r.size() - 1; }, 0, 0, "\n", 5},
    {"right after a field separator", [](const std::string& r) { return after(r, ","); }, 0, 0,
     "," MARK "\r\n", 4},
    {"inside a character, then NUL bytes",
     [](const std::string& r) { return after(r, u8"病") - 1; }, 70000, 2, "\"," MARK "\r\n", 4},
    {"after the whole record, then NUL bytes", [](const std::string& r) { return r.size(); }, 100,
     0, "", 5},
};

TEST_F(RecordFault, SavesAfterATornRecordLeaveEveryRecordWhole) {
  std::string path = record_file_under(data.path);
  for (const TornCase& c : kTornCases) {
    std::remove(path.c_str());
    for (int i = 0; i < 3; ++i) ASSERT_EQ(kRecordStepNone, save(kTornDetail).failed_step);
    std::string bytes = read_whole_file(path);
    size_t header_end = bytes.find("\r\n") + 2;
    std::string record = bytes.substr(header_end, (bytes.size() - header_end) / 3);
    std::string sound = bytes.substr(0, bytes.size() - record.size());
    size_t at = c.at(record);
    write_whole_file(path, sound + record.substr(0, at) + std::string(c.nul_bytes, '\0'));
    for (int i = 0; i < 2; ++i) ASSERT_EQ(kRecordStepNone, save(kTornDetail).failed_step) << c.name;
    std::string kept = sound + record.substr(0, at - c.cut_bytes);
    EXPECT_EQ(kept + c.closing + record + record, read_whole_file(path)) << c.name;
#ifndef _WIN32
    // The header, then every record whole but the torn one, a row of its own.
    std::string out = run_reader(path);
    std::string whole_row = "8 " + hex_of(utf8_of(kTornDetail)) + "\n";
    std::string marked_row = " " + hex_of(MARK) + "\n";
    size_t rows = 0, whole = 0, marked = 0;
    for (size_t i = 0; (i = out.find('\n', i)) != std::string::npos; ++i) ++rows;
    for (size_t i = 0; (i = out.find(whole_row, i)) != std::string::npos; ++i) ++whole;
    for (size_t i = 0; (i = out.find(marked_row, i)) != std::string::npos; ++i) ++marked;
    EXPECT_EQ(c.whole, whole) << c.name;
    // The torn record, and only it, ends with the mark.
    EXPECT_EQ(5 - c.whole, marked) << c.name;
    EXPECT_EQ(6u, rows) << c.name;
    EXPECT_EQ(std::string::npos, out.find("reader failed")) << c.name;
#endif
  }
}

// Pieces of the read: a quote opening a field just after one piece ends
// with a comma; the next piece ends with a quote, which the first byte of the
// third shows to be doubled (still inside) or closing.
TEST_F(RecordFault, QuotesAcrossReadPiecesAreReadAsOne) {
  struct Case {
    const char* third;    // the start of the third piece, and the torn end
    const char* closing;  // what the mend writes after it
  } cases[] = {
      {"\"c\r\n", "\"," MARK "\r\n"},
      {",c", "," MARK "\r\n"},
  };
  ASSERT_EQ(kRecordStepNone, save(L"d").failed_step);
  std::string path = record_file_under(data.path);
  std::string first = read_whole_file(path);
  size_t head = first.find("\r\n") + 2;
  std::string record = first.substr(head);
  for (const Case& c : cases) {
    // The pieces are read from after the byte-order mark; the comma ends the first.
    std::string text = first.substr(0, head) + std::string(65538 - head, 'a') + ",\"" +
                       std::string(65534, 'b') + "\"" + c.third;
    write_whole_file(path, text);
    ASSERT_EQ(kRecordStepNone, save(L"d").failed_step) << c.third;
    EXPECT_TRUE(text + c.closing + record == read_whole_file(path)) << c.third;
  }
}

// A first save cut at every byte of the byte-order mark and header (0: an
// empty file, as a failure right after the create leaves), perhaps followed
// by NUL bytes: the head is completed, and both records read back whole.
TEST_F(RecordFault, FirstSaveCutShortIsCompleted) {
  ASSERT_EQ(kRecordStepNone, save(L"d").failed_step);
  std::string path = record_file_under(data.path);
  std::string whole = read_whole_file(path);
  size_t head = whole.find("\r\n") + 2;
  std::string record = whole.substr(head);
  for (size_t nul_bytes : {0, 5})
    for (size_t at = 0; at <= head; ++at) {
      write_whole_file(path, whole.substr(0, at) + std::string(nul_bytes, '\0'));
      ASSERT_EQ(kRecordStepNone, save(L"d").failed_step) << at;
      ASSERT_EQ(kRecordStepNone, save(L"d").failed_step) << at;
      EXPECT_EQ(whole + record, read_whole_file(path)) << at << " " << nul_bytes;
    }
#ifndef _WIN32
  std::string out = run_reader(path);
  std::string whole_row = "8 " + hex_of("d") + "\n";
  EXPECT_EQ("8 " + hex_of(u8"结果") + "\n" + whole_row + whole_row, out);
#endif
}

// Files another program saved (in its own encoding, with its own header),
// and this program's own files as a spreadsheet saves them back as UTF-8
// (without the byte-order mark, with LF line ends) or with what a person
// or an earlier version added, which a save closes as it would a torn row.
struct ForeignCase {
  const char* name;
  std::string bytes;
  bool foreign;
  const char* closing = "";
};

const std::string kOwnHeader = u8"时间,工具,结果";
const std::string kOwnHead = "\xEF\xBB\xBF" + kOwnHeader + "\r\n";
const std::string kFullHeader = u8"时间,工具,GCS,血肿量,破入脑室(1/0),幕下出血(1/0),年龄,结果";

const ForeignCase kForeignCases[] = {
    {"GBK", "\xca\xb1\xbc\xe4,\xb9\xa4\xbe\xdf,\xbd\xe1\xb9\xfb\r\n2025-03-14,ICH,\xd1\xaa", true},
    {"Latin-1", "Zeit,Werkzeug\r\n2025-03-14,caf\xe9", true},
    {"UTF-16",
     std::string("\xff\xfe\xf6\x65\xf4\x95,\x00\r\x00\n\x00"
                 "A\x00",
                 14),
     true},
    {"UTF-8 with another header",
     "\xEF\xBB\xBF"
     u8"日期,工具,结果\r\n1,2,\xE7\x97",
     true},
    {"a header whose cells were quoted", "\"时间\",\"工具\",\"结果\"\n1,2,3\n", true},
    {"a header with a column of another's", u8"时间,工具,GCS,体重,结果\n", true},
    {"a header line never ended", kFullHeader, true},
    // The run of NUL bytes at its end stays too.
    {"our header, then GBK", kOwnHead + "2025-03-14,\xca\xb1\xbc\xe4\r\n" + std::string(5, '\0'),
     true},
    {"a byte that starts no character", kOwnHead + "a\xF8", true},
    {"an overlong form", kOwnHead + "\xE0\x80\xAF\r\n", true},
    {"an overlong four-byte form", kOwnHead + "\xF0\x8F\xBF\xBF\r\n", true},
    {"a surrogate", kOwnHead + "\xED\xA0\x80\r\n", true},
    {"past U+10FFFF", kOwnHead + "\xF4\x90\x80\x80\r\n", true},
    {"a character missing its last byte", kOwnHead + "\xE7\x97,\r\n", true},
    // The last three bytes are read one by one.
    {"a lead byte without its continuation at the end", kOwnHead + "\xE7\x41\x42", true},
    {"U+D7FF at the very end", kOwnHead + "\xED\x9F\xBF", false, "," MARK "\r\n"},
    {"without the byte-order mark, LF", kFullHeader + "\n1,2,\"a\nb\"\n", false},
    {"with the byte-order mark, LF", "\xEF\xBB\xBF" + kFullHeader + "\n1,2,3\n", false},
    {"without the byte-order mark, CR LF, the header alone", kFullHeader + "\r\n", false},
    {"an unterminated last row after an LF file", kOwnHeader + "\n1,2,3\n4,5", false,
     "," MARK "\r\n"},
    {"a line added by hand", kOwnHead + u8"手写一行\r\n", false},
    // A double quote opens a quoted field only at the start of a field.
    {"a hand-added row opening a quote", kOwnHead + "\"a\r\n", false, "\"," MARK "\r\n"},
    {"a quote after a bare CR", kOwnHead + "a\r\"b", false, "\"," MARK "\r\n"},
    {"a quote inside a hand-added cell", kOwnHead + "a\"b\r\n", false},
    {"the header with one item fewer",
     "\xEF\xBB\xBF"
     u8"时间,工具,GCS,血肿量,破入脑室(1/0),年龄,结果\r\n1,2,3,4,5,6,7\r\n",
     false},
    // The text is read in pieces of 64 KiB from after the byte-order mark:
    // a character across two of them.
    {"a character across two pieces",
     kOwnHead + std::string(65538 - kOwnHead.size(), 'a') + "\xE0\xA0\x80" + "bbbb\n", false},
};

TEST_F(RecordFault, AFileAnotherProgramWroteKeepsEveryByte) {
  std::string path = record_file_under(data.path);
  for (const ForeignCase& c : kForeignCases) {
    ASSERT_EQ(kRecordStepNone, save(L"d").failed_step);  // the folder, and a record to compare
    std::string own = read_whole_file(path);
    std::string record = own.substr(own.find("\r\n") + 2);
    write_whole_file(path, c.bytes);
    RecordOutcome done = save(L"d");
    EXPECT_EQ(path, narrow(place)) << c.name;
    if (c.foreign) {
      EXPECT_EQ(kRecordStepForeign, done.failed_step) << c.name;
      EXPECT_EQ(kPlatformDenied, done.result) << c.name;
      EXPECT_EQ(0u, done.os_error) << c.name;  // refused by a rule, not by the system
      EXPECT_TRUE(c.bytes == read_whole_file(path)) << c.name;
    } else {
      EXPECT_EQ(kRecordStepNone, done.failed_step) << c.name;
      EXPECT_TRUE(c.bytes + c.closing + record == read_whole_file(path)) << c.name;
    }
    std::remove(path.c_str());
  }
}

// A tool whose header does not fit the head's buffer.
const std::wstring kLongLabel(1000, L'长');
const ParameterDef kLongLabelled = {"x", kLongLabel.c_str(), L"", 0};

TEST_F(RecordFault, FailuresBeforeTheOpenWriteNothing) {
  struct Case {
    const char* name;
    void (*inject)();
    RecordStep step;
    PlatformResult result;
    unsigned long (*os_error)();
    std::string (*place)(const std::string& data_folder);  // as the failure leaves it
    size_t data_chars;             // > 0: a data folder this long, within the test's own
    bool file_in_the_way = false;  // a file stands where the records folder goes
    bool long_labels = false;
  } cases[] = {
      {"folder creation", fail_folder_creation, kRecordStepFolder, kPlatformDenied,
       access_denied_error, records_folder_under, 0},
      {"a file where the folder goes", [] {}, kRecordStepFolder, kPlatformExists,
       already_exists_error, records_folder_under, 0, true},
      {"open (read-only file)", fail_open_for_append, kRecordStepOpen, kPlatformDenied,
       access_denied_error, record_file_under, 0},
      {"head too long", [] {}, kRecordStepWrite, kPlatformTooLong, no_error, record_file_under, 0,
       false, true},
#ifndef _WIN32
      // The records folder fits the path buffer, the file's name no longer
      // does: cut short, the path would name another file; likewise the data
      // folder and the records folder. (A Windows data folder is at most
      // MAX_PATH characters long.)
      {"record path too long", [] {}, kRecordStepFolder, kPlatformTooLong, no_error,
       records_folder_under, kRecordPathCapacity - 25},
      {"records folder too long", [] {}, kRecordStepFolder, kPlatformTooLong, no_error,
       [](const std::string&) { return std::string(); }, kRecordPathCapacity - 15},
      {"data folder too long", [] {}, kRecordStepFolder, kPlatformTooLong,
       [] { return static_cast<unsigned long>(ENAMETOOLONG); },
       [](const std::string&) { return std::string(); }, kRecordPathCapacity},
#endif
  };
  for (const Case& c : cases) {
    std::string folder = data.path;
    if (c.data_chars > 0) {  // in names of at most 100 characters
      while (c.data_chars - folder.size() > 101) folder += "/" + std::string(100, 'd');
      folder += "/" + std::string(c.data_chars - folder.size() - 1, 'd');
    }
    if (c.file_in_the_way) {
      std::string suite = folder + static_cast<char>(kPlatformPathSeparator) + "XeluMedSuite";
      unsigned long error = 0;
      ASSERT_EQ(kPlatformOk, platform_create_folder(widen(suite).c_str(), &error));
      write_whole_file(records_folder_under(folder), "x");
    }
    ToolDef tool = *get_tool();
    if (c.long_labels) tool.parameters = &kLongLabelled, tool.parameter_count = 1;
    use_data_folder(widen(folder));
    c.inject();
    RecordOutcome done = record_save(&tool, kValues, L"d", &kWhen, place, kRecordPathCapacity);
    clear_faults();
    EXPECT_EQ(c.step, done.failed_step) << c.name;
    EXPECT_EQ(c.result, done.result) << c.name;
    EXPECT_EQ(c.os_error(), done.os_error) << c.name;
    EXPECT_EQ(c.place(folder), narrow(place)) << c.name;
    EXPECT_FALSE(file_exists(record_file_under(folder))) << c.name;
    std::remove(records_folder_under(folder).c_str());
  }
}

// Another process holding the file: the save waits for it, on a clock of the
// test's own, and either writes once the hold is granted or gives up after
// about two seconds with the file as it was. A hold that fails for another
// reason fails at once, with the system's own error.
TEST_F(RecordFault, HeldFileIsWaitedForThenWrittenOrLeftAlone) {
  struct Case {
    const char* name;
    int refusals;    // attempts refused by the stand-in; < 0: all of them
    bool held_here;  // a real hold taken on the file by this test meanwhile
    RecordStep step;
    PlatformResult result;
    void (*refuse)(int times) = refuse_hold;
    unsigned long (*os_error)() = nullptr;  // checked when given
  } cases[] = {
      {"refused, then granted", 3, false, kRecordStepNone, kPlatformOk},
      {"removed between the two opens, then granted", 2, false, kRecordStepNone, kPlatformOk,
       remove_between_opens},
#ifndef _WIN32
      {"removed once locked, then granted", 1, false, kRecordStepNone, kPlatformOk,
       [](int times) { misname_locked_file(times, true); }},
      {"replaced once locked, then granted", 1, false, kRecordStepNone, kPlatformOk,
       [](int times) { misname_locked_file(times, false); }},
      {"stat and fstat of the file failing", 0, false, kRecordStepOpen, kPlatformIoError,
       [](int) { fail_status_checks(false, true); }, device_error},
      {"stat of the file failing, its fstat not", 0, false, kRecordStepOpen, kPlatformIoError,
       [](int) { fail_status_checks(false, false); }, device_error},
      {"the records folder's stat failing", 0, false, kRecordStepFolder, kPlatformIoError,
       [](int) { fail_status_checks(true, true); }, device_error},
#endif
      {"refused for longer than the wait", -1, false, kRecordStepOpen, kPlatformBusy},
      {"held by another open of the file", 0, true, kRecordStepOpen, kPlatformBusy},
  };
  std::wstring detail = long_detail();
  for (const Case& c : cases) {
    ASSERT_EQ(kRecordStepNone, save(L"first\r\n").failed_step);
    std::string path = record_file_under(data.path);
    std::string before = read_whole_file(path);
    PlatformHeldFile other = {};
    unsigned long other_error = 0;
    if (c.held_here) {
      ASSERT_EQ(kPlatformOk, platform_hold_file(place, &other, &other_error)) << c.name;
    }
    use_fake_clock();
    c.refuse(c.refusals);
    RecordOutcome done = save(detail.c_str());
    int sleeps = sleep_calls();
    unsigned long long waited = fake_clock_ms();
    clear_faults();
    if (c.held_here) platform_release_file(&other);
    EXPECT_EQ(c.step, done.failed_step) << c.name;
    EXPECT_EQ(c.result, done.result) << c.name;
    if (c.os_error) { EXPECT_EQ(c.os_error(), done.os_error) << c.name; }
    std::string after = read_whole_file(path);
    if (c.step == kRecordStepNone) {
      EXPECT_EQ(c.refusals, sleeps) << c.name;
      EXPECT_EQ(0, after.compare(0, before.size(), before)) << c.name;
      EXPECT_EQ(utf8_of(detail) + "\"\r\n", after.substr(after.size() - utf8_of(detail).size() - 3))
          << c.name;
    } else {
      if (c.result == kPlatformBusy) {
        EXPECT_GE(waited, 2000u) << c.name;
        EXPECT_LT(waited, 2100u) << c.name;
      } else {
        EXPECT_EQ(0, sleeps) << c.name;
      }
      EXPECT_TRUE(before == after) << c.name;
      // Once the other hold ends, the next save goes through.
      EXPECT_EQ(kRecordStepNone, save(L"later").failed_step) << c.name;
    }
  }
}

TEST_F(RecordFault, FailedLookupNeverFallsBackToTheDriveRoot) {
  fail_data_folder_lookup();
  RecordOutcome done = save(L"d");
  EXPECT_EQ(kRecordStepLookup, done.failed_step);
  EXPECT_EQ(kPlatformNotFound, done.result);
  EXPECT_EQ(0, place[0]);
  // Nothing was written anywhere, the drive root included.
  EXPECT_EQ(0, write_calls());
}

#ifndef _WIN32
// A real device that refuses every write: the failure surfaces when the
// stream is flushed, with the kernel's own error.
TEST_F(RecordFault, FullDiskDeviceIsReportedAsAFailure) {
  std::string folder = records_folder_under(data.path);
  ASSERT_EQ(kRecordStepNone, save(L"first").failed_step);
  std::string path = record_file_under(data.path);
  ASSERT_EQ(0, std::remove(path.c_str()));
  ASSERT_EQ(0, symlink("/dev/full", path.c_str()));
  RecordOutcome done = save(L"d");
  EXPECT_NE(kRecordStepNone, done.failed_step);
  EXPECT_EQ(kPlatformIoError, done.result);
  EXPECT_EQ(static_cast<unsigned long>(ENOSPC), done.os_error);
}
#endif

}  // namespace
