// Windows path rules of the portable code, with Windows paths.
#include <gtest/gtest.h>

#include "sysutil/Paths.h"

namespace {

TEST(WindowsPaths, FullPathAgainstACurrentDirectory) {
  struct Row {
    const char16_t *path, *cwd, *full;
  } rows[] = {
      {u"x.inf", u"C:\\Pkg", u"C:\\Pkg\\x.inf"},
      {u"..\\Drv\\x.inf", u"C:\\Pkg\\Sub\\", u"C:\\Pkg\\Drv\\x.inf"},
      {u"\\Drv\\x.inf", u"D:\\Pkg", u"D:\\Drv\\x.inf"},
      {u"D:x.inf", u"D:\\Pkg", u"D:\\Pkg\\x.inf"},
      {u"E:x.inf", u"D:\\Pkg", u"E:\\x.inf"},
      {u"C:/a/./b/../c.inf", u"D:\\", u"C:\\a\\c.inf"},
      {u"..\\..\\..\\x", u"C:\\a", u"C:\\x"},
      {u"\\\\srv\\share\\d\\..\\x.inf", u"C:\\", u"\\\\srv\\share\\x.inf"},
      {u"x", u"\\\\srv\\share\\dir", u"\\\\srv\\share\\dir\\x"},
  };
  for (const Row& r : rows) EXPECT_EQ(paths::FullPath(r.path, r.cwd), r.full) << text::ToUtf8(r.path);
}

TEST(WindowsPaths, RelativeToAFolderAndDrives) {
  struct Row {
    const char16_t *base, *path, *relative;
  } rows[] = {
      {u"C:\\Temp\\tmp1\\", u"C:\\Temp\\tmp1\\inst2k64.dll", u"inst2k64.dll"},
      {u"C:\\Temp\\tmp1\\", u"C:\\Pkg\\Drv\\x.inf", u"..\\..\\Pkg\\Drv\\x.inf"},
      {u"c:\\temp\\", u"C:\\TEMP\\a\\b.inf", u"a\\b.inf"},
      {u"C:\\Temp\\", u"D:\\Pkg\\x.inf", u"D:\\Pkg\\x.inf"},
      {u"\\\\srv\\s\\a\\", u"\\\\srv\\s\\b\\x", u"..\\b\\x"},
      {u"\\\\srv\\s\\a\\", u"\\\\srv\\t\\b\\x", u"\\\\srv\\t\\b\\x"},
  };
  for (const Row& r : rows) EXPECT_EQ(paths::RelativePath(r.base, r.path), r.relative) << text::ToUtf8(r.path);
  EXPECT_TRUE(paths::SameDrive(u"c:\\a", u"C:\\b"));
  EXPECT_FALSE(paths::SameDrive(u"C:\\a", u"D:\\a"));
  EXPECT_FALSE(paths::SameDrive(u"a", u"a"));
}

TEST(WindowsPaths, PlainFileNames) {
  for (const char16_t* ok : {u"Tessaron", u"TS-2100 (A4)", u"console", u"COM0", u"LPT10", u"Ünïcode"})
    EXPECT_TRUE(paths::IsPlainFileName(ok)) << text::ToUtf8(ok);
  for (const char16_t* bad : {u"", u".", u"..", u"a\\b", u"a/b", u"C:", u"a*", u"a?", u"x.", u"x ", u"CON", u"con.txt",
                              u"Lpt1", u"COM9.inf", u"NUL ", u"a\tb", u"a|b", u"a\"b"})
    EXPECT_FALSE(paths::IsPlainFileName(bad)) << text::ToUtf8(bad);
}

TEST(WindowsPaths, BelowAFolder) {
  struct Row {
    const char16_t* path;
    bool below;
  } rows[] = {{u"C:\\Pkg\\I386\\Uni.exe", true},        {u"C:\\Pkg\\..\\Evil\\Uni.exe", false},
              {u"c:/pkg/i386/./uni.exe", true},         {u"C:\\Pkg2\\Uni.exe", false},
              {u"C:\\Pkg\\I386\\..\\..\\..\\x", false}, {u"", false}};
  for (const Row& r : rows) EXPECT_EQ(paths::IsBelow(r.path, u"C:\\Pkg\\"), r.below) << text::ToUtf8(r.path);
}

}  // namespace
