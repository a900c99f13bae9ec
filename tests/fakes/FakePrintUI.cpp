#include "fakes/FakePrintUI.h"

#include <map>

#include "sysutil/Text.h"

namespace {

// "/x value" pairs of the command line (values in double quotes may hold blanks).
std::map<TString, TString> Switches(const TString& cmd, TString& action) {
  std::vector<TString> words;
  for (size_t i = 0; i < cmd.size();) {
    while (i < cmd.size() && cmd[i] == u' ') ++i;
    if (i >= cmd.size()) break;
    TString w;
    if (cmd[i] == u'"') {
      size_t end = cmd.find(u'"', i + 1);
      w = cmd.substr(i + 1, end == TString::npos ? TString::npos : end - i - 1);
      i = end == TString::npos ? cmd.size() : end + 1;
    } else {
      size_t end = cmd.find(u' ', i);
      w = cmd.substr(i, end == TString::npos ? TString::npos : end - i);
      i = end == TString::npos ? cmd.size() : end;
    }
    words.push_back(w);
  }
  std::map<TString, TString> sw;
  for (size_t k = 0; k < words.size(); ++k) {
    if (words[k] == u"/if" || words[k] == u"/ia" || words[k] == u"/dl" || words[k] == u"/dd") action = words[k];
    if (words[k].size() == 2 && words[k][0] == u'/' && k + 1 < words.size() && words[k + 1][0] != u'/')
      sw[words[k]] = words[k + 1];
  }
  return sw;
}

}  // namespace

void FakePrintUI::Run(const TString& commandLine) {
  if (BeforeRun) BeforeRun();
  TString action;
  auto sw = Switches(commandLine, action);
  if (action == u"/dl") {
    const TString& name = sw[u"/n"];
    FakeSpooler::Printer* p = m_Spooler.Find(name);
    if (!p || Refuses.count(name) || !p->Jobs.empty()) return;
    if (m_Spooler.DefaultPrinter && text::SameTextAscii(*m_Spooler.DefaultPrinter, name))
      m_Spooler.DefaultPrinter.reset();
    m_Spooler.PrinterList.erase(m_Spooler.PrinterList.begin() + (p - m_Spooler.PrinterList.data()));
  } else if (action == u"/dd") {
    const TString& name = sw[u"/m"];
    if (Refuses.count(name) || !m_Spooler.FindDriver(name)) return;
    for (const auto& p : m_Spooler.PrinterList)
      if (text::SameTextAscii(p.Info.DriverName, name)) return;
    std::erase_if(m_Spooler.Drivers, [&](const TDriverInfo6& d) { return text::SameTextAscii(d.Name, name); });
  } else if (action == u"/ia") {
    const TString& model = sw[u"/m"];
    if (Refuses.count(model)) return;
    if (!m_Spooler.FindDriver(model)) m_Spooler.AddDriver(model);
    ++DriverInstalls;
  } else if (action == u"/if") {
    const TString& model = sw[u"/m"];
    if (Refuses.count(model)) return;
    if (!m_Spooler.FindDriver(model)) m_Spooler.AddDriver(model);
    // A name in use gets a copy number, as the print UI gives it.
    TString name = sw[u"/b"];
    for (int n = 1; m_Spooler.Find(name); ++n) name = sw[u"/b"] + u" (Copy " + text::IntToStr(n) + u")";
    m_Spooler.AddPrinter(name, model, sw[u"/r"]);
  }
}
