#include "installer/CommandLine.h"

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The switch's name without its '/' or '-', in lower case; empty for a value.
TString SwitchName(const TString& arg) {
  if (arg.size() < 2 || (arg[0] != u'/' && arg[0] != u'-')) return {};
  return text::LowerAscii(arg.substr(1));
}

}  // namespace

std::vector<TString> SplitCommandLine(TStringView line) {
  std::vector<TString> args;
  size_t i = 0;
  // The program name: no escapes, quotes only group.
  TString program;
  bool quoted = false;
  for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i) {
    if (line[i] == u'"')
      quoted = !quoted;
    else
      program.push_back(line[i]);
  }
  args.push_back(program);
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    TString arg;
    quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
      size_t slashes = 0;
      while (i < line.size() && line[i] == u'\\') ++slashes, ++i;
      if (i < line.size() && line[i] == u'"') {
        arg.append(slashes / 2, u'\\');
        if (slashes % 2) {
          arg.push_back(u'"');
        } else if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
          arg.push_back(u'"');  // "" inside a quoted part is one quote
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        arg.append(slashes, u'\\');
        if (slashes == 0 && i < line.size()) arg.push_back(line[i++]);
      }
    }
    args.push_back(arg);
  }
  return args;
}

TCommandLine ParseArguments(const std::vector<TString>& args) {
  TCommandLine cl;
  bool seen[7] = {};
  auto fail = [&](TStringView why, const TString& arg) {
    if (cl.Error.empty()) {
      cl.Error = TString(why);
      cl.BadArgument = arg;
    }
  };
  auto once = [&](int which, const TString& arg) {
    if (seen[which]) fail(u"given twice", arg);
    seen[which] = true;
  };
  auto value = [&](size_t& i, TString& into) {
    if (i + 1 >= args.size() || !SwitchName(args[i + 1]).empty() || args[i + 1].empty()) {
      fail(u"needs a value", args[i]);
      return;
    }
    into = args[++i];
  };
  bool usage = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const TString name = SwitchName(args[i]);
    if (name == u"quiet" || name == u"passive") {
      once(0, args[i]);
      cl.Mode = name == u"quiet" ? TRunMode::Quiet : TRunMode::Passive;
    } else if (name == u"model") {
      once(1, args[i]);
      value(i, cl.Model);
    } else if (name == u"port") {
      once(2, args[i]);
      value(i, cl.Port);
    } else if (name == u"log") {
      once(3, args[i]);
      value(i, cl.Log);
    } else if (name == u"uninstall") {
      once(4, args[i]);
      cl.Command = TRunCommand::Uninstall;
    } else if (name == u"list") {
      once(5, args[i]);
      cl.Command = TRunCommand::List;
    } else if (name == u"?" || name == u"help") {
      usage = true;
    } else {
      fail(name.empty() ? u"is not a switch" : u"is not a known switch", args[i]);
    }
  }
  if (usage) {
    // Asking for the usage is never an error.
    cl = TCommandLine{};
    cl.Command = TRunCommand::Usage;
    return cl;
  }
  if (!cl.Valid()) return cl;
  if (seen[4] && seen[5]) fail(u"/uninstall and /list exclude each other", u"/list");
  if (cl.Command == TRunCommand::Uninstall && cl.Model.empty()) fail(u"/uninstall needs /model", u"/uninstall");
  if (cl.Command == TRunCommand::Uninstall && seen[2]) fail(u"/port belongs to an install", u"/port");
  if (cl.Command == TRunCommand::List && (seen[1] || seen[2])) fail(u"/list takes no model or port", u"/list");
  if (cl.Unattended() && cl.Command == TRunCommand::Install && cl.Model.empty())
    fail(u"an install without the window needs /model", cl.Mode == TRunMode::Quiet ? u"/quiet" : u"/passive");
  return cl;
}

TCommandLine ParseCommandLine(TStringView commandLine) {
  std::vector<TString> args = SplitCommandLine(commandLine);
  args.erase(args.begin());
  return ParseArguments(args);
}
