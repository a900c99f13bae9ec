// The installer's command line: how it runs (with the window, with the window
// showing progress only, or hidden), what it does (install, remove a model,
// list the models, show the usage) and the switches' values.
#pragma once

#include <vector>

#include "sysutil/Text.h"

enum class TRunMode { Interactive, Passive, Quiet };
enum class TRunCommand { Install, Uninstall, List, Usage };

struct TCommandLine {
  TRunMode Mode = TRunMode::Interactive;
  TRunCommand Command = TRunCommand::Install;
  TString Model;  // /model: the printer model as the package description names it
  TString Port;   // /port: install offline on this port
  TString Log;    // /log: the install record's file
  // Why the command line cannot be acted on (English, for the record), and
  // the argument it is about; empty when it can.
  TString Error;
  TString BadArgument;

  bool Valid() const { return Error.empty(); }
  bool Unattended() const { return Mode != TRunMode::Interactive; }
};

// Splits a command line into its arguments by the system's rules
// (CommandLineToArgvW): the program name ends at the first blank or at its
// closing quote; then 2n backslashes before a quote give n and the quote
// opens or closes a quoted part, 2n+1 give n and a literal quote.
std::vector<TString> SplitCommandLine(TStringView commandLine);

// Reads the arguments after the program name. Switches start with '/' or '-'
// and match without regard to letter case.
TCommandLine ParseArguments(const std::vector<TString>& args);
// The whole command line, program name first.
TCommandLine ParseCommandLine(TStringView commandLine);
