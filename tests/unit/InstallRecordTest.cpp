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

TEST(InstallRecord, HeldRecordOpensOnceAndKeepsEveryLineWhole) {
  // What another program does to the record between two held lines.
  struct Row {
    const char* name;
    void (*between)(FakeRecord&, const TString& path);
    int opens;
    const char* lines;  // the record's texts after the line's time, program and kind
  } rows[] = {
      {"nothing", [](FakeRecord&, const TString&) {}, 1, "one|two|"},
      {"adds a line", [](FakeRecord& r, const TString& p) { r.Files[p] += "other\r\n"; }, 1, "one|other|two|"},
      {"deletes it", [](FakeRecord& r, const TString& p) { r.Files.erase(p); }, 2, "two|"},
      {"fills it", [](FakeRecord& r, const TString& p) { r.Files[p] += std::string(trace::kRotateBytes, 'x'); }, 2,
       "two|"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ScopedMachine m;
    {
      trace::THold outer;
      {
        trace::THold inner;  // holders nest: the outer one keeps the record open
        trace::Msg(u"one");
      }
      r.between(m.record, trace::RecordPath());
      trace::Msg(u"two");
    }
    EXPECT_EQ(m.record.Opens, r.opens);
    EXPECT_FALSE(m.record.Keep);
    const std::string texts = std::regex_replace(m.record.Text(), std::regex(R"([^\r\n]*\] I )"), "");
    EXPECT_EQ(std::regex_replace(texts, std::regex("\r\n"), "|"), r.lines);
  }
}

}  // namespace
