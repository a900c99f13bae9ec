// The installer's command line: splitting by the system's rules, the
// switches and what makes a command line invalid, and the exit codes.
#include <gtest/gtest.h>

#include "installer/CommandLine.h"
#include "installer/RunOutcome.h"

namespace {

TEST(CommandLine, SplitsLikeTheSystem) {
  const struct {
    TStringView line;
    std::vector<TString> args;
  } rows[] = {
      {u"setup.exe", {u"setup.exe"}},
      {u"\"C:\\Program Files\\setup.exe\"  /quiet\t-Model  \"TS 1\"",
       {u"C:\\Program Files\\setup.exe", u"/quiet", u"-Model", u"TS 1"}},
      {u"C:\\a\\b\"c d\"e.exe x", {u"C:\\a\\bc de.exe", u"x"}},  // the program name: quotes group only
      {u"s a\\\\\\\"b \"c\\\\\" d\\e", {u"s", u"a\\\"b", u"c\\", u"d\\e"}},
      {u"s \"a \"\"b\"\" c\" \"\"", {u"s", u"a \"b\" c", u""}},
      {u"s \"unterminated arg", {u"s", u"unterminated arg"}},
  };
  for (const auto& r : rows) EXPECT_EQ(SplitCommandLine(r.line), r.args) << text::ToUtf8(TString(r.line));
}

TEST(CommandLine, SwitchesAndRefusals) {
  using M = TRunMode;
  using C = TRunCommand;
  const struct {
    TStringView line;
    TRunMode mode;
    TRunCommand command;
    TString model, port, log, bad;  // bad: the argument a refusal names
  } rows[] = {
      {u"s", M::Interactive, C::Install, u"", u"", u"", u""},
      {u"s /QUIET -model \"TS 1\" /Port LPT2: /log C:\\r.log", M::Quiet, C::Install, u"TS 1", u"LPT2:", u"C:\\r.log",
       u""},
      {u"s -passive /model X", M::Passive, C::Install, u"X", u"", u"", u""},
      {u"s /model X", M::Interactive, C::Install, u"X", u"", u"", u""},
      {u"s /quiet /uninstall /model X", M::Quiet, C::Uninstall, u"X", u"", u"", u""},
      {u"s /uninstall /model X", M::Interactive, C::Uninstall, u"X", u"", u"", u""},
      {u"s /list", M::Interactive, C::List, u"", u"", u"", u""},
      {u"s /quiet /bogus /?", M::Interactive, C::Usage, u"", u"", u"", u""},  // the usage wins
      {u"s -HELP", M::Interactive, C::Usage, u"", u"", u"", u""},
      // Refusals.
      {u"s /bogus", M::Interactive, C::Install, u"", u"", u"", u"/bogus"},
      {u"s stray", M::Interactive, C::Install, u"", u"", u"", u"stray"},
      {u"s /quiet", M::Quiet, C::Install, u"", u"", u"", u"/quiet"},
      {u"s /passive /port LPT1:", M::Passive, C::Install, u"", u"LPT1:", u"", u"/passive"},
      {u"s /quiet /passive /model X", M::Passive, C::Install, u"X", u"", u"", u"/passive"},
      {u"s /model", M::Interactive, C::Install, u"", u"", u"", u"/model"},
      {u"s /model /quiet", M::Quiet, C::Install, u"", u"", u"", u"/model"},
      {u"s /model \"\"", M::Interactive, C::Install, u"", u"", u"", u"/model"},
      {u"s /model A /model B", M::Interactive, C::Install, u"B", u"", u"", u"/model"},
      {u"s /uninstall", M::Interactive, C::Uninstall, u"", u"", u"", u"/uninstall"},
      {u"s /uninstall /model X /port LPT1:", M::Interactive, C::Uninstall, u"X", u"LPT1:", u"", u"/port"},
      {u"s /list /model X", M::Interactive, C::List, u"X", u"", u"", u"/list"},
      {u"s /list /uninstall", M::Interactive, C::Uninstall, u"", u"", u"", u"/list"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(text::ToUtf8(TString(r.line)));
    const TCommandLine cl = ParseCommandLine(r.line);
    EXPECT_EQ(cl.Mode, r.mode);
    EXPECT_EQ(cl.Command, r.command);
    EXPECT_EQ(cl.Model, r.model);
    EXPECT_EQ(cl.Port, r.port);
    EXPECT_EQ(cl.Log, r.log);
    EXPECT_EQ(cl.BadArgument, r.bad);
    EXPECT_EQ(cl.Valid(), r.bad.empty());
  }
}

TEST(CommandLine, ExitCodesAreThoseDeploymentToolsKnow) {
  const struct {
    TRunOutcome outcome;
    int code;
  } rows[] = {{TRunOutcome::Succeeded, 0},         {TRunOutcome::RestartNeeded, 3010},
              {TRunOutcome::RestartStarted, 1641}, {TRunOutcome::Busy, 1618},
              {TRunOutcome::Cancelled, 1602},      {TRunOutcome::Failed, 1603},
              {TRunOutcome::BadCommandLine, 1639}};
  for (const auto& r : rows) EXPECT_EQ(ExitCodeOf(r.outcome), r.code);
}

}  // namespace
