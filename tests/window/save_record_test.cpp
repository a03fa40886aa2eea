// The save-record command through the window: the refusal without a result,
// the record in the local application data folder of the Wine prefix, and the
// failures, each told by its cause, the file left as it was.
#include <windows.h>

#include <cwchar>
#include <string>

#include "app/win32/window_state.h"
#include "base/text.h"
#include "platform/syscall_faults.h"
#include "records/record_file.h"
#include "window/window_fixture.h"

namespace {

std::wstring record_path() {
  wchar_t folder[kRecordPathCapacity];
  unsigned long os_error = 0;
  if (record_folder(folder, kRecordPathCapacity, &os_error) != kPlatformOk) return L"";
  return std::wstring(folder) + L"\\T148.csv";
}

std::string file_bytes(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

// A text for a failure message: the window tests print no wide text.
std::string narrow_text(const std::wstring& text) {
  char bytes[4096];
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes,
                              sizeof bytes, nullptr, nullptr);
  return std::string(bytes, n > 0 ? static_cast<size_t>(n) : 0);
}

bool starts_with(const wchar_t* text, const wchar_t* prefix) {
  return std::wstring(text).rfind(prefix, 0) == 0;
}

TEST_F(MainWindowTest, SaveWithoutAResultAsksForACalculationFirst) {
  std::wstring path = record_path();
  std::string before = file_bytes(path);
  for (NoResultCause cause : {kNeverCalculated, kFieldChanged, kValueRefused}) {
    SCOPED_TRACE(cause);
    leave_no_result(cause);
    wchar_t status_before[kStatusCapacity];
    text_copy(status_before, kStatusCapacity, g_window.status);
    click(1002);
    expect_one_box(L"请先点击“计算”生成结果，再保存记录。", L"提示", MB_ICONINFORMATION);
    EXPECT_STREQ(g_window.status, status_before);
    EXPECT_EQ(file_bytes(path), before);
  }
}

TEST_F(MainWindowTest, SaveAppendsOneRecordAndConfirms) {
  std::wstring path = record_path();
  ASSERT_FALSE(path.empty());
  std::string before = file_bytes(path);
  set_input(0, L"7");
  click(1001);
  g_message_box_count = 0;
  click(1002);
  ASSERT_EQ(g_message_box_count, 1);
  EXPECT_STREQ(g_last_message_box.caption, L"已保存");
  EXPECT_STREQ(g_last_message_box.text, L"本次结果已追加保存到本地记录（CSV，可用 Excel 打开）。");
  EXPECT_STREQ(g_window.status, (L"记录已保存：" + path).c_str());

  std::string after = file_bytes(path);
  ASSERT_GT(after.size(), before.size());
  EXPECT_EQ(after.compare(0, before.size(), before), 0) << "earlier records must stay as they were";
  std::string added = after.substr(before.size());
  if (before.empty()) { EXPECT_EQ(added.compare(0, 3, "\xEF\xBB\xBF"), 0); }
  EXPECT_NE(added.find(",ICH 脑出血评分,GCS=7,血肿量=20,破入脑室(1/0)=0,幕下出血(1/0)=0,年龄=65,"
                       "\"ICH 评分：1 分\r\n估计病死率：13 %\r\n\"\r\n"),
            std::string::npos);
}

enum Named { kFileNamed, kFolderNamed, kNothingNamed };

// Each cause of a failed save has a message and a status of its own, and the
// file keeps every byte. Another program holding the file is a real second
// handle sharing only reading, as a spreadsheet showing the file opens it; the
// wait for it passes on the test's own clock. The other causes come from the
// fault stand-ins. A cause without a message of its own is told as a failure
// and the system's code alone.
TEST_F(MainWindowTest, FailedSaveSaysWhatHappenedAndLeavesTheFile) {
  struct Case {
    const char* name;
    void (*inject)();  // null: a second handle holds the file
    const wchar_t* says;
    const wchar_t* status;
    const wchar_t* code = nullptr;  // the system's code the message ends with, when checked
    bool untouched = true;          // the message says the file was left as it was
    Named named = kFileNamed;       // what the message names
    bool advice = true;             // a paragraph of advice follows the file's name
  } cases[] = {
      {"held by another program", nullptr, L"其他程序占用",
       L"记录保存失败（文件被其他程序占用）："},
      {"writing not permitted", fail_open_for_append, L"没有写入记录文件的权限",
       L"记录保存失败（没有写入权限）："},
      {"disk full", [] { fail_write_after(0); }, L"磁盘已满",
       L"记录保存失败（磁盘已满或读写出错）：", nullptr, false},
      {"a network folder out of reach", [] { fail_folder_creation_with(unreachable_error()); },
       L"网络位置或驱动器无法访问", L"记录保存失败（无法访问记录文件夹）：",
       L"（系统错误代码：53）", true, kFolderNamed},
      {"a cause without a message of its own",
       [] { fail_open_for_append_with(unexplained_error()); },
       L"保存记录时出错，本次记录未保存，文件未作任何改动：\n", L"记录保存失败：",
       L"\n（系统错误代码：4）", true, kFileNamed, false},
      // ERROR_PATH_NOT_FOUND, as the platform tells a lookup that found nothing.
      {"the data folder unknown", fail_data_folder_lookup, L"文件未作任何改动。", L"记录保存失败：",
       L"。\n（系统错误代码：3）", true, kNothingNamed, false},
  };
  std::wstring path = record_path();
  std::wstring folder = path.substr(0, path.rfind(L'\\'));
  click(1001);
  click(1002);  // makes sure the folder and the file exist
  std::string before = file_bytes(path);
  ASSERT_FALSE(before.empty());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HANDLE holder = INVALID_HANDLE_VALUE;
    {
      SyscallFaultScope faults;
      use_fake_clock();
      if (c.inject) {
        c.inject();
      } else {
        holder = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                             nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
      }
      g_message_box_count = 0;
      click(1002);
    }
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    ASSERT_EQ(g_message_box_count, 1);
    std::wstring text = g_last_message_box.text;
    EXPECT_NE(text.find(c.says), std::wstring::npos) << narrow_text(text);
    for (const Case& other : cases) {
      if (&other != &c) { EXPECT_EQ(text.find(other.says), std::wstring::npos) << other.name; }
    }
    if (!c.inject) { EXPECT_NE(text.find(L"表格程序"), std::wstring::npos); }
    EXPECT_EQ(c.advice, text.find(L"\n\n") != std::wstring::npos) << narrow_text(text);
    if (c.code) {
      EXPECT_EQ(text.substr(text.size() - std::wcslen(c.code)), c.code) << narrow_text(text);
    }
    if (c.named != kNothingNamed) {
      EXPECT_NE(text.find(c.named == kFolderNamed ? folder + L"\n" : path), std::wstring::npos)
          << "the message names the file, or the folder it could not reach";
    }
    EXPECT_EQ(c.untouched, text.find(L"文件未作任何改动") != std::wstring::npos);
    EXPECT_EQ(g_last_message_box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_TRUE(starts_with(g_window.status, c.status)) << narrow_text(g_window.status);
    EXPECT_EQ(file_bytes(path), before);
  }
}

// A header too long for its buffer is the tool's own limit: told as a
// failure without a cause or a system code, the file left alone.
TEST_F(MainWindowTest, SaveOfAToolWhoseHeaderDoesNotFitGuessesNoCause) {
  std::wstring path = record_path();
  click(1001);
  click(1002);
  std::string before = file_bytes(path);
  const std::wstring label(1000, L'长');
  ParameterDef parameters[kMaxParameters] = {};
  ToolDef tool = *g_window.tool;
  for (int i = 0; i < tool.parameter_count; ++i) parameters[i] = tool.parameters[i];
  parameters[0].label = label.c_str();
  tool.parameters = parameters;
  const ToolDef* shown = g_window.tool;
  g_window.tool = &tool;
  g_message_box_count = 0;
  click(1002);
  g_window.tool = shown;
  ASSERT_EQ(g_message_box_count, 1);
  EXPECT_EQ(std::wstring(g_last_message_box.text), L"保存记录时出错，本次记录未保存：\n" + path);
  EXPECT_EQ(file_bytes(path), before);
}

// A spreadsheet saved the file in its own encoding (GBK here): the save
// refuses, names the file, says to move or rename it out of its folder, and
// changes no byte.
TEST_F(MainWindowTest, SaveIntoAFileAnotherProgramWroteRefusesAndNamesTheWayOut) {
  std::wstring path = record_path();
  click(1001);
  click(1002);  // makes sure the folder exists
  const char gbk[] = "\xca\xb1\xbc\xe4,\xb9\xa4\xbe\xdf\r\n1,\xd1\xaa";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, gbk, sizeof gbk - 1, &written, nullptr);
  CloseHandle(file);
  g_message_box_count = 0;
  click(1002);
  std::string after = file_bytes(path);
  DeleteFileW(path.c_str());

  ASSERT_EQ(g_message_box_count, 1);
  EXPECT_STREQ(g_last_message_box.caption, L"保存失败");
  std::wstring text = g_last_message_box.text;
  std::wstring folder = path.substr(0, path.rfind(L'\\'));
  EXPECT_NE(text.find(L"文件未作任何改动：\n" + path + L"\n"), std::wstring::npos)
      << narrow_text(text);
  EXPECT_NE(text.find(L"请将它从文件夹“" + folder + L"”中移走或重命名"), std::wstring::npos)
      << narrow_text(text);
  EXPECT_EQ(text.find(L"系统错误代码"), std::wstring::npos) << "no system call failed";
  EXPECT_EQ(g_last_message_box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
  EXPECT_TRUE(starts_with(g_window.status, L"记录保存失败（文件格式不符）："));
  EXPECT_EQ(after, std::string(gbk));
}

}  // namespace
