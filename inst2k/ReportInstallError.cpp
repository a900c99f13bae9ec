#include "inst2k/ReportInstallError.h"

#include "inst2k/IInst2kSystem.h"
#include "inst2k/Inst2kState.h"
#include "sysutil/Language.h"
#include "sysutil/Text.h"
#include "sysutil/Trace.h"

namespace inst2k {

std::string LoadLibString(std::uint32_t id) {
  // The table of the language the system default language selects, as the
  // installer's texts follow it.
  IInst2kSystem& sys = LibSys();
  std::uint16_t language = 0x0409;  // English (United States)
  switch (UiLanguageOf(sys.GetSystemDefaultLangID())) {
    case TUiLanguage::SimplifiedChinese:
      language = 0x0804;
      break;
    case TUiLanguage::TraditionalChinese:
      language = 0x0404;
      break;
    case TUiLanguage::English:
      break;
  }
  return sys.LoadString(ModuleState().ModuleInstance, id, kStringTableChars, language);
}

std::string FormatLibText(const std::string& pattern, const std::vector<TFormatArg>& args) {
  // The program's one formatter works on UTF-16: the ANSI bytes pass through
  // it one by one and come back unchanged. Every directive is ASCII, and no
  // byte of a double-byte character is a percent sign.
  auto widen = [](std::string_view s) {
    TString w;
    for (unsigned char c : s) w.push_back(c);
    return w;
  };
  std::vector<text::FormatArg> wide;
  for (const TFormatArg& a : args) {
    if (const auto* s = std::get_if<std::string>(&a))
      wide.emplace_back(widen(*s));
    else
      wide.emplace_back(static_cast<long long>(std::get<std::uint32_t>(a)));
  }
  const TString out = text::Format(widen(pattern), wide);
  std::string narrow;
  for (char16_t c : out) narrow.push_back(static_cast<char>(c));
  return narrow;
}

std::uint32_t ReportInstallError(const std::string& context, THandle owner) {
  IInst2kSystem& sys = LibSys();
  TModuleState& st = ModuleState();
  const std::uint32_t err = sys.GetLastError();
  st.LastErrorCode = err;
  std::string systemText;
  sys.FormatSystemMessage(err, kSystemMessageChars, systemText);
  trace::Call(sys.AnsiToWide(context), err, sys.AnsiToWide(systemText));
  if (st.ShowErrorBox) {
    std::string message;
    std::string text;
    if (sys.FormatSystemMessage(err, kSystemMessageChars, message))
      text = FormatLibText(LoadLibString(kIdsFailWithMessage), {context, message});
    else
      text = FormatLibText(LoadLibString(kIdsFailWithCode), {context, err});
    sys.MessageBox(owner ? owner : st.OwnerWindow, text, LoadLibString(kIdsErrorCaption), mb::Ok | mb::IconError);
  }
  sys.SetLastError(err);
  return err;
}

}  // namespace inst2k
