// The portable file system: Windows paths over a drive map, and the kernel32 contracts
// the install engine relies on.
#include "platform/portable/file_system.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "tests/support/host_folder.h"

namespace {

class PortableFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.MapDrive('C', drive.Path());
    files.MapDrive('e', office.Path());
  }

  HANDLE Open(const char* path, DWORD access, DWORD disposition, DWORD share = 0) {
    return files.CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  bool WriteText(HANDLE file, const std::string& text) {
    DWORD written = 0;
    return files.WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
  }
  std::string ReadAll(HANDLE file) {
    std::string text;
    char chunk[7];  // small on purpose: several reads per file
    DWORD got = 0;
    while (files.ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
    return text;
  }

  HostFolder drive;
  HostFolder office;
  PortableFileSystem files;
};

TEST_F(PortableFileSystemTest, WindowsPathsResolveUnderTheDriveMapWithoutRegardToCase) {
  office.MakeFolder("Office/STARTUP");
  office.WriteFile("Office/Winword.exe", "MZ");

  for (const char* path :
       {"E:\\Office\\STARTUP", "e:/office/startup", "E:\\OFFICE\\Startup\\", "e:\\Office/./x\\..\\STARTUP", "E:\\"})
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, files.GetFileAttributesA(path)) << path;

  DWORD file = files.GetFileAttributesA("E:\\OFFICE\\WINWORD.EXE");
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, file);
  EXPECT_EQ(0u, file & FILE_ATTRIBUTE_DIRECTORY);
  // A file named as if it were a folder, a missing name or folder, an unmapped drive, no name, a wildcard.
  const std::pair<const char*, DWORD> missing[] = {
      {"E:\\Office\\Winword.exe\\", ERROR_INVALID_NAME}, {"E:\\Office\\Templates", ERROR_FILE_NOT_FOUND},
      {"E:\\Missing\\Templates", ERROR_PATH_NOT_FOUND},    {"Q:\\", ERROR_PATH_NOT_FOUND},
      {"", ERROR_PATH_NOT_FOUND},                         {nullptr, ERROR_INVALID_PARAMETER},
      {"E:\\Office\\Win?ord.exe", ERROR_INVALID_NAME}};
  for (const auto& [path, error] : missing) {
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, files.GetFileAttributesA(path)) << (path ? path : "null");
    EXPECT_EQ(error, files.LastError()) << (path ? path : "null");
  }
}

TEST_F(PortableFileSystemTest, NewNamesAreMadeAsGivenInsideFoldersFoundByAnyCase) {
  drive.MakeFolder("Program Files");
  HANDLE file = Open("c:\\PROGRAM FILES\\Readme.HTM", GENERIC_WRITE, CREATE_ALWAYS);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  EXPECT_TRUE(files.CloseHandle(file));
  EXPECT_TRUE(drive.Exists("Program Files/Readme.HTM"));

  EXPECT_TRUE(files.CreateDirectoryA("C:\\program files\\Vessora", nullptr));
  EXPECT_TRUE(drive.Exists("Program Files/Vessora"));
  std::string host;
  ASSERT_TRUE(files.HostPath("C:/PROGRAM FILES/VESSORA/new.txt", &host));
  EXPECT_EQ(drive / "Program Files/Vessora/new.txt", host);
}

TEST_F(PortableFileSystemTest, PathTextsOfMaxPathOrMoreAreRefused) {
  std::string folder = "C:\\" + std::string(200, 'a');
  ASSERT_TRUE(files.CreateDirectoryA(folder.c_str(), nullptr));
  std::string fits = folder + "\\" + std::string(MAX_PATH - 1 - folder.size() - 1, 'b');
  ASSERT_EQ(MAX_PATH - 1u, fits.size());
  HANDLE file = Open(fits.c_str(), GENERIC_WRITE, CREATE_NEW);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  files.CloseHandle(file);

  std::string tooLong = fits + "c";
  EXPECT_EQ(INVALID_HANDLE_VALUE, Open(tooLong.c_str(), GENERIC_WRITE, CREATE_NEW));
  EXPECT_EQ(ERROR_FILENAME_EXCED_RANGE, files.LastError());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, files.GetFileAttributesA(tooLong.c_str()));
  // A short relative name that becomes too long against the current folder.
  ASSERT_TRUE(files.SetCurrentFolder(folder));
  EXPECT_EQ(INVALID_HANDLE_VALUE, Open(std::string(60, 'd').c_str(), GENERIC_WRITE, CREATE_NEW));
}

TEST_F(PortableFileSystemTest, RelativePathsStartFromTheCurrentFolder) {
  drive.MakeFolder("Work/Sub");
  drive.WriteFile("Work/Sub/a.txt", "abc");
  drive.WriteFile("top.txt", "top");
  EXPECT_EQ("C:\\", files.CurrentFolder());
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, files.GetFileAttributesA("top.txt"));

  ASSERT_TRUE(files.SetCurrentFolder("c:\\work"));
  for (const char* path : {"sub\\A.TXT", "C:sub\\a.txt", "..\\top.txt", "\\top.txt"})
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, files.GetFileAttributesA(path)) << path;
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, files.GetFileAttributesA("top.txt"));

  EXPECT_FALSE(files.SetCurrentFolder("C:\\Nowhere"));
  EXPECT_FALSE(files.SetCurrentFolder("C:\\top.txt"));
  EXPECT_EQ("C:\\work", files.CurrentFolder());
}

TEST_F(PortableFileSystemTest, CreateFileFollowsEachDispositionAndFailsWithTheWin32Error) {
  drive.MakeFolder("Folder");
  drive.WriteFile("old.txt", "old content");
  const struct {
    const char* path;
    DWORD access, disposition, error;
  } refused[] = {
      {"C:\\old.txt", GENERIC_WRITE, CREATE_NEW, ERROR_FILE_EXISTS},
      {"C:\\none.txt", GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
      {"C:\\Folder", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {"C:\\Folder", GENERIC_WRITE, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
      {"C:\\", GENERIC_WRITE, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
      {"C:\\Missing\\a.txt", GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
      {"C:\\old.txt\\a.txt", GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
      {"D:\\a.txt", GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},  // a drive not mapped
      {"C:\\new.txt", GENERIC_WRITE, 99, ERROR_INVALID_PARAMETER},
  };
  for (const auto& r : refused) {
    EXPECT_EQ(INVALID_HANDLE_VALUE, Open(r.path, r.access, r.disposition)) << r.path;
    EXPECT_EQ(r.error, files.LastError()) << r.path;
  }
  EXPECT_FALSE(drive.Exists("Missing"));
  EXPECT_FALSE(drive.Exists("new.txt"));
  EXPECT_EQ(0u, files.OpenHandleCount());

  HANDLE kept = Open("C:\\OLD.TXT", GENERIC_READ, OPEN_ALWAYS);
  ASSERT_NE(INVALID_HANDLE_VALUE, kept);
  EXPECT_EQ(ERROR_ALREADY_EXISTS, files.LastError());
  EXPECT_EQ("old content", ReadAll(kept));
  files.CloseHandle(kept);

  // Replaced: empty, then read, written and sized through one handle.
  HANDLE replaced = Open("C:\\old.txt", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  ASSERT_NE(INVALID_HANDLE_VALUE, replaced);
  DWORD high = 77;
  EXPECT_EQ(0u, files.GetFileSize(replaced, &high));
  EXPECT_EQ(0u, high);
  EXPECT_TRUE(WriteText(replaced, "0123456789"));
  EXPECT_EQ(10u, files.GetFileSize(replaced, nullptr));
  EXPECT_TRUE(WriteText(replaced, "ab"));
  // Reading at the end gives TRUE and nothing.
  char byte = 0;
  DWORD got = 99;
  EXPECT_TRUE(files.ReadFile(replaced, &byte, 1, &got, nullptr));
  EXPECT_EQ(0u, got);
  EXPECT_TRUE(files.CloseHandle(replaced));
  EXPECT_EQ("0123456789ab", drive.ReadFile("old.txt"));

  HANDLE made = Open("C:\\made.txt", GENERIC_WRITE, OPEN_ALWAYS);
  ASSERT_NE(INVALID_HANDLE_VALUE, made);
  EXPECT_EQ(ERROR_SUCCESS, files.LastError());
  files.CloseHandle(made);
  EXPECT_TRUE(drive.Exists("made.txt"));
}

TEST_F(PortableFileSystemTest, HandlesAreCheckedAndKeepTheirAccess) {
  drive.WriteFile("a.txt", "abc");
  HANDLE reader = Open("C:\\a.txt", GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE);
  HANDLE writer = Open("C:\\a.txt", GENERIC_WRITE, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_NE(INVALID_HANDLE_VALUE, reader);
  ASSERT_NE(INVALID_HANDLE_VALUE, writer);
  char buffer[4];
  DWORD count = 5;
  EXPECT_FALSE(files.WriteFile(reader, "x", 1, &count, nullptr));
  EXPECT_EQ(ERROR_ACCESS_DENIED, files.LastError());
  EXPECT_EQ(0u, count);
  EXPECT_FALSE(files.ReadFile(writer, buffer, 1, &count, nullptr));
  EXPECT_EQ("abc", drive.ReadFile("a.txt"));

  EXPECT_TRUE(files.CloseHandle(reader));
  EXPECT_TRUE(files.CloseHandle(writer));
  // Closed, never issued, or the failure value: each call fails cleanly.
  for (HANDLE bad : {reader, writer, static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE,
                     reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x12345))}) {
    EXPECT_FALSE(files.CloseHandle(bad));
    EXPECT_EQ(ERROR_INVALID_HANDLE, files.LastError());
    EXPECT_FALSE(files.ReadFile(bad, buffer, 1, &count, nullptr));
    EXPECT_FALSE(files.WriteFile(bad, "x", 1, &count, nullptr));
    EXPECT_EQ(INVALID_FILE_SIZE, files.GetFileSize(bad, nullptr));
  }
  // Handles are not handed out twice.
  HANDLE again = Open("C:\\a.txt", GENERIC_READ, OPEN_EXISTING);
  EXPECT_NE(reader, again);
  EXPECT_NE(writer, again);
  files.CloseHandle(again);
}

TEST_F(PortableFileSystemTest, SharingIsEnforcedAsOnWindows) {
  HANDLE exclusive = Open("C:\\t.tmp", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS, 0);
  ASSERT_NE(INVALID_HANDLE_VALUE, exclusive);
  EXPECT_TRUE(WriteText(exclusive, "payload"));
  EXPECT_EQ(INVALID_HANDLE_VALUE, Open("C:\\T.TMP", GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ));
  EXPECT_EQ(ERROR_SHARING_VIOLATION, files.LastError());
  // Neither replaced nor deleted while it is open.
  EXPECT_EQ(INVALID_HANDLE_VALUE, Open("C:\\t.tmp", GENERIC_WRITE, CREATE_ALWAYS, FILE_SHARE_READ));
  EXPECT_FALSE(files.DeleteFileA("C:\\t.tmp"));
  EXPECT_EQ(ERROR_SHARING_VIOLATION, files.LastError());
  EXPECT_EQ("payload", drive.ReadFile("t.tmp"));
  files.CloseHandle(exclusive);

  HANDLE first = Open("C:\\t.tmp", GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ);
  HANDLE second = Open("C:\\t.tmp", GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ);
  EXPECT_NE(INVALID_HANDLE_VALUE, first);
  EXPECT_NE(INVALID_HANDLE_VALUE, second);
  EXPECT_EQ(INVALID_HANDLE_VALUE, Open("C:\\t.tmp", GENERIC_WRITE, OPEN_EXISTING, FILE_SHARE_READ));
  files.CloseHandle(first);
  files.CloseHandle(second);
  EXPECT_TRUE(files.DeleteFileA("C:\\t.tmp"));
}

TEST_F(PortableFileSystemTest, TempPathIsMadeOnDemandAndReportedAsWin32Does) {
  char buffer[MAX_PATH];
  DWORD length = files.GetTempPathA(MAX_PATH, buffer);
  EXPECT_STREQ("C:\\WINDOWS\\TEMP\\", buffer);
  EXPECT_EQ(std::strlen(buffer), length);
  EXPECT_TRUE(drive.Exists("WINDOWS/TEMP"));

  // Too small: the size needed, terminator included, and the buffer untouched.
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(length + 1, files.GetTempPathA(length, buffer));
  EXPECT_EQ('x', buffer[0]);

  files.SetTempFolder("c:\\windows\\Temp2");  // the existing WINDOWS folder is reused
  EXPECT_EQ(17u, files.GetTempPathA(MAX_PATH, buffer));
  EXPECT_STREQ("c:\\windows\\Temp2\\", buffer);
  EXPECT_TRUE(drive.Exists("WINDOWS/Temp2"));

  files.SetTempFolder("Z:\\TEMP\\");
  EXPECT_EQ(0u, files.GetTempPathA(MAX_PATH, buffer));
}

TEST_F(PortableFileSystemTest, TempFileNamesAreUniqueAndCreatedEmpty) {
  char folder[MAX_PATH];
  ASSERT_NE(0u, files.GetTempPathA(MAX_PATH, folder));
  std::set<std::string> names;
  for (int i = 0; i < 20; ++i) {
    char name[MAX_PATH];
    UINT number = files.GetTempFileNameA(folder, "vsqx", 0, name);
    ASSERT_NE(0u, number);
    char expected[MAX_PATH];
    std::snprintf(expected, sizeof expected, "C:\\WINDOWS\\TEMP\\vsq%04X.tmp", number);
    EXPECT_STREQ(expected, name);
    EXPECT_EQ(0u, files.GetFileAttributesA(name) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(names.insert(name).second);
  }
  // An existing name is skipped, not reused.
  drive.WriteFile("WINDOWS/TEMP/vsq0015.tmp", "taken");
  drive.WriteFile("WINDOWS/TEMP/vsq0016.tmp", "taken");
  char name[MAX_PATH];
  EXPECT_EQ(0x17u, files.GetTempFileNameA(folder, "vsq", 0, name));
  EXPECT_EQ("taken", drive.ReadFile("WINDOWS/TEMP/vsq0015.tmp"));

  // A given number only forms the name.
  EXPECT_EQ(0xBEEFu, files.GetTempFileNameA("C:\\Nowhere", "vsq", 0xBEEF, name));
  EXPECT_STREQ("C:\\Nowhere\\vsqBEEF.tmp", name);
  EXPECT_FALSE(drive.Exists("Nowhere"));
  // A missing folder: failure and an empty name, never a stale one.
  EXPECT_EQ(0u, files.GetTempFileNameA("C:\\Nowhere\\", "vsq", 0, name));
  EXPECT_STREQ("", name);
}

TEST_F(PortableFileSystemTest, CreateDirectoryMakesOneLevelAndDeleteRemovesFilesOnly) {
  EXPECT_TRUE(files.CreateDirectoryA("C:\\Program Files", nullptr));
  EXPECT_FALSE(files.CreateDirectoryA("C:\\PROGRAM FILES\\", nullptr));
  EXPECT_EQ(ERROR_ALREADY_EXISTS, files.LastError());
  EXPECT_FALSE(files.CreateDirectoryA("C:\\a\\b", nullptr));
  EXPECT_EQ(ERROR_PATH_NOT_FOUND, files.LastError());
  EXPECT_FALSE(drive.Exists("a"));

  drive.WriteFile("Program Files/x.txt", "x");
  EXPECT_FALSE(files.DeleteFileA("C:\\Program Files"));
  EXPECT_FALSE(files.DeleteFileA("C:\\Program Files\\y.txt"));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, files.LastError());
  EXPECT_TRUE(files.DeleteFileA("c:\\program files\\X.TXT"));
  EXPECT_FALSE(drive.Exists("Program Files/x.txt"));
  EXPECT_TRUE(drive.Exists("Program Files"));
}

}  // namespace
