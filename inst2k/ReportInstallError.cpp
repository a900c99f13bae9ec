#include "inst2k/ReportInstallError.h"

#include <cstdio>

#include "inst2k/IInst2kSystem.h"
#include "inst2k/Inst2kState.h"

namespace inst2k {

std::string LoadLibString(std::uint32_t id) {
  return LibSys().LoadString(ModuleState().ModuleInstance, id, kStringTableChars);
}

std::string FormatLibText(const std::string& pattern, const std::vector<TFormatArg>& args) {
  std::string out;
  size_t next = 0;
  auto nextText = [&]() -> std::string {
    if (next >= args.size()) return {};
    const TFormatArg& a = args[next++];
    if (const auto* s = std::get_if<std::string>(&a)) return *s;
    return std::to_string(std::get<std::uint32_t>(a));
  };
  auto nextNumber = [&]() -> std::uint32_t {
    if (next >= args.size()) return 0;
    const TFormatArg& a = args[next++];
    if (const auto* n = std::get_if<std::uint32_t>(&a)) return *n;
    return 0;
  };
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (c != '%' || i + 1 >= pattern.size()) {
      out.push_back(c);
      continue;
    }
    size_t j = i + 1;
    bool zero = false;
    if (pattern[j] == '0') {
      zero = true;
      ++j;
    }
    int width = 0;
    while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9' && width < 64)
      width = width * 10 + (pattern[j++] - '0');
    if (j >= pattern.size()) {
      out.append(pattern, i, std::string::npos);
      break;
    }
    char conv = pattern[j];
    std::string piece;
    switch (conv) {
      case '%':
        piece = "%";
        break;
      case 's':
        piece = nextText();
        break;
      case 'X':
      case 'x':
      case 'u':
      case 'd': {
        char buf[16];
        const std::uint32_t v = nextNumber();
        if (conv == 'X')
          std::snprintf(buf, sizeof buf, "%X", v);
        else if (conv == 'x')
          std::snprintf(buf, sizeof buf, "%x", v);
        else if (conv == 'u')
          std::snprintf(buf, sizeof buf, "%u", v);
        else
          std::snprintf(buf, sizeof buf, "%d", static_cast<int>(v));
        piece = buf;
        break;
      }
      default:
        piece = pattern.substr(i, j - i + 1);
        break;
    }
    if (static_cast<int>(piece.size()) < width) piece.insert(0, width - piece.size(), zero ? '0' : ' ');
    out += piece;
    i = j;
  }
  return out;
}

std::uint32_t ReportInstallError(const std::string& context, THandle owner) {
  IInst2kSystem& sys = LibSys();
  TModuleState& st = ModuleState();
  const std::uint32_t err = sys.GetLastError();
  st.LastErrorCode = err;
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
