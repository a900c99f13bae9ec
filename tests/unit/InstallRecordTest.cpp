#include <gtest/gtest.h>

#include <regex>

#include "fakes/ScopedMachine.h"
#include "sysutil/Trace.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

TEST(InstallRecord, OneLinePerEventWithTimeProgramAndKind) {
  ScopedMachine m;
  trace::Msg(u"first\r\nsecond\nthird");
  trace::Call(u"SomeCall", 5, u"Access is denied.");
  const std::string& file = m.record.Files.at(trace::RecordPath());
  ASSERT_EQ(file.substr(0, 3), kBom);
  // local date and time with milliseconds, program and process, kind, text
  EXPECT_TRUE(std::regex_match(
      m.record.Text(), std::regex("2026-12-10 09:05:07\\.042 \\[DriverSetup 4242\\] I first \\| second \\| third\r\n"
                                  "2026-12-10 09:05:07\\.042 \\[DriverSetup 4242\\] W SomeCall: code 5 "
                                  "\\(0x00000005\\) Access is denied\\.\r\n")))
      << m.record.Text();
  EXPECT_EQ(trace::RecordPath(), m.record.Folder + u"DriverSetup.log");
}

TEST(InstallRecord, FullRecordBecomesTheOldOneBeforeTheNextLine) {
  struct Row {
    const char* name;
    std::uint64_t size;
    bool rotates;
  } rows[] = {{"just below the limit", trace::kRotateBytes - 1, false}, {"at the limit", trace::kRotateBytes, true}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ScopedMachine m;
    const TString path = trace::RecordPath(), old = path + u".1";
    m.record.Files[old] = "an older record";
    m.record.Files[path] = kBom + std::string(r.size - 3, 'x');
    trace::Msg(u"next");
    EXPECT_EQ(m.record.Files[old].size(), r.rotates ? r.size : 15u);
    const std::string& now = m.record.Files[path];
    EXPECT_EQ(now.substr(0, 3), kBom);
    EXPECT_EQ(now.size() < r.size, r.rotates);
    EXPECT_NE(now.find("next\r\n"), std::string::npos);
  }
}

// Two writers saw the same full record: the second neither rotates the first
// one's fresh record over the old one nor waits for the lock.
TEST(InstallRecord, WritersRotatingTogetherLoseNoRecord) {
  for (bool otherRotatedJustBefore : {true, false}) {  // else the other is rotating
    ScopedMachine m;
    const TString path = trace::RecordPath(), old = path + trace::kOldRecordSuffix;
    const std::string full = kBom + std::string(trace::kRotateBytes, 'x');
    m.record.Files = {{old, "older"}, {path, full}};
    if (otherRotatedJustBefore)
      m.record.BeforeLock = [&] { m.record.ReplaceRecord(path, old), m.record.AppendRecord(path, kBom, "other\r\n"); };
    else
      ASSERT_NE(m.record.LockRecord(path + trace::kRecordLockSuffix), 0u);
    trace::Msg(u"next");
    EXPECT_EQ(m.record.Files[old], otherRotatedJustBefore ? full : "older");
    EXPECT_EQ(m.record.Files[path].rfind(otherRotatedJustBefore ? kBom + "other\r\n" : full, 0), 0u);
    EXPECT_NE(m.record.Files[path].find("next\r\n"), std::string::npos);
    EXPECT_EQ(m.record.Locks.size(), otherRotatedJustBefore ? 0u : 1u) << "the lock is given back";
  }
}

TEST(InstallRecord, HeldRecordOpensOnceAndKeepsEveryLine) {
  // Between two held lines another program fills the record, or nothing happens.
  for (bool filled : {false, true}) {
    SCOPED_TRACE(filled);
    ScopedMachine m;
    {
      trace::THold outer;
      {
        trace::THold inner;  // holders nest: the outer one keeps the record open
        trace::Msg(u"one");
      }
      if (filled) m.record.Files[trace::RecordPath()] += std::string(trace::kRotateBytes, 'x');
      trace::Msg(u"two");
    }
    EXPECT_EQ(m.record.Opens, filled ? 2 : 1);  // a full record is set aside before the next line
    EXPECT_FALSE(m.record.Keep);
    const std::string texts = std::regex_replace(m.record.Text(), std::regex(R"([^\r\n]*\] I )"), "");
    EXPECT_EQ(texts, filled ? "two\r\n" : "one\r\ntwo\r\n");
    // The first line went into the record that was then set aside.
    EXPECT_EQ(m.record.Files[trace::RecordPath() + u".1"].find("] I one\r\n") != std::string::npos, filled);
  }
}

}  // namespace
