// The installer's command line. The input is an argument list (split at
// newlines). Checks: the arguments written back with the system's quoting
// rules split into the same list; a command line the parser accepts names a
// model wherever a run without a person or a removal needs one, and a
// refusal names one of the arguments.
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "installer/CommandLine.h"

namespace {

// One argument quoted so that CommandLineToArgvW gives it back.
TString Quoted(const TString& arg) {
  TString out = u"\"";
  size_t slashes = 0;
  for (char16_t c : arg) {
    if (c == u'\\') {
      ++slashes;
      continue;
    }
    out.append(c == u'"' ? slashes * 2 + 1 : slashes, u'\\');
    slashes = 0;
    out.push_back(c);
  }
  out.append(slashes * 2, u'\\');
  return out + u"\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const TString all = text::FromUtf8(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<TString> args{u"C:\\setup.exe"};
  for (size_t pos = 0; pos <= all.size();) {
    size_t end = all.find(u'\n', pos);
    if (end == TString::npos) end = all.size();
    args.push_back(all.substr(pos, end - pos));
    pos = end + 1;
  }
  TString line = args[0];
  for (size_t i = 1; i < args.size(); ++i) line += u" " + Quoted(args[i]);
  FUZZ_CHECK(SplitCommandLine(line) == args);

  const TCommandLine cl = ParseCommandLine(line);
  if (cl.Valid()) {
    if (cl.Command == TRunCommand::Uninstall || (cl.Unattended() && cl.Command == TRunCommand::Install))
      FUZZ_CHECK(!cl.Model.empty());
  } else {
    bool named = false;
    for (const TString& a : args) named = named || a == cl.BadArgument;
    FUZZ_CHECK(named || cl.BadArgument.starts_with(u"/"));
  }
  return 0;
}
