#include "config/LangStrings.h"

#include <algorithm>

#include "platform/IFileSystem.h"
#include "platform/ISystem.h"
#include "sysutil/Trace.h"

TLangOptions g_LangOptions;
strInstaller g_strInstaller;

namespace {
const TString kEscapedBreak = u"\\r\\n";

TString Breaks(const TString& s) { return text::ReplaceAllTextAscii(s, kEscapedBreak, u"\r\n"); }
}  // namespace

void TLangOptions::LoadFromFile(const TString& FileName) {
  if (!Fs().FileExists(FileName)) return;
  auto ini = std::make_unique<TProfileFile>();
  if (!ini->Open(FileName)) return;
  LoadFromProfile(std::move(ini));
}

void TLangOptions::LoadFromProfile(std::unique_ptr<TProfileFile> Ini) {
  m_Ini = std::move(Ini);
  LoadSettings(m_Ini.get());
}

void TLangOptions::LoadSettings(TProfileFile* Ini) {
  if (!Ini) return;
  g_strInstaller.CompanyIndex = Ini->ReadInteger(u"Settings", u"OEMCOmpanyIndex", 1);
  LoadGlobalStrings();
}

TString TLangOptions::GetOptionString(const TString& SectionName, const TString& ItemName,
                                      const TString& DefaultValue) const {
  if (!m_Ini) return {};
  return m_Ini->ReadString(SectionName, ItemName, DefaultValue);
}

void TLangOptions::LoadGlobalStrings() {
  strInstaller& s = g_strInstaller;
  TString n = text::IntToStr(s.CompanyIndex);
  const TString oem = u"OEMCOmpany";
  s.OEMManufactor = g_LangOptions.GetOptionString(oem, u"Name." + n, u"");
  s.OEMBMLogo = g_LangOptions.GetOptionString(oem, u"Logo." + n, u"BM_LOGO_TESSARON");
  s.OEMLogoUrl = g_LangOptions.GetOptionString(oem, u"LogoURL." + n, u"");
  s.OEMColor = g_LangOptions.GetOptionString(oem, u"Color." + n, u"800080");
  s.OEMMainTitle = g_LangOptions.GetOptionString(oem, u"MainTitle." + n, u"");

  const TString dt = u"DialogText";
  auto raw = [&](const char16_t* key, const char16_t* def) { return g_LangOptions.GetOptionString(dt, key, def); };
  auto br = [&](const char16_t* key) { return Breaks(g_LangOptions.GetOptionString(dt, key, u"")); };
  s.Loading = raw(u"Loading", u"Loading");
  s.Installing = raw(u"Installing", u"Installing");
  s.InstallEnd = raw(u"InstallEnd", u"Install end");
  s.NoticeTitle = raw(u"NoticeTitle", u"");
  s.ClickInstallToStart = br(u"ClickInstallToStart");
  s.SelectAPrinterDriver = br(u"SelectAPrinterDriver");
  s.InstallBeforeNeedUninstall = br(u"InstallBeforeNeedUninstall");
  s.BeforeInstallPrompt = br(u"BeforeInstallPrompt");
  s.ExistSamePrinterAndUpdate = br(u"ExistSamePrinterAndUpdate");
  s.DeletePrinterIsPrinting = br(u"DeletePrinterIsPrinting");
  s.InstallSuccessStr = br(u"InstallSuccessStr");
  s.InstallCancelStr = br(u"InstallCancelStr");
  s.InstallFailStr = br(u"InstallFailStr");
  s.InstallFailCode = br(u"InstallFailCode");
  s.InstallFailReasonUnknow = br(u"InstallFailReasonUnknow");
  s.RestartPrompt = br(u"RestartPrompt");
  s.InstallOnline = br(u"InstallOnline");
  s.InstallRetry = br(u"InstallRetry");
  s.CMDParameterError = br(u"CMDParameterError");
  s.BeforeUnInstallPrompt = br(u"BeforeUnInstallPrompt");
  s.DeletePrinterSucceed = br(u"DeletePrinterSucceed");
  s.DeletePrinterError = br(u"DeletePrinterError");
  s.DeletePrinterDriverError = br(u"DeletePrinterDriverError");
  s.RestartWindowsimmediately = br(u"RestartWindowsimmediately");
}

void TLangOptions::LoadControlsCaption(IControlsForm& frm, const TString& strIniSection) const {
  frm.SetFormCaption(GetOptionString(strIniSection, u"ProgramTitle", u""));
  for (int i = 0; i < frm.ComponentCount(); ++i) {
    TString value = GetOptionString(strIniSection, frm.ComponentName(i), u"");
    if (value.empty()) continue;
    switch (frm.ComponentKind(i)) {
      case TControlKind::Button:
      case TControlKind::Label:
        frm.SetComponentCaption(i, value);
        break;
      case TControlKind::Edit:
      case TControlKind::GroupBox:
        frm.SetComponentCaption(i, value);
        frm.SetComponentHint(i, value);
        break;
      case TControlKind::OtherControl:
      case TControlKind::NonVisual:
        break;
    }
  }
}

void TLangOptions::SaveSettings(TProfileFile*) {}
void TLangOptions::LoadStringsFromFile(const TString&) {}

TString LangText(TUiText id) {
  const TString key = UiTextRow(id).Key;
  if (key.empty() || !g_LangOptions.HasFile()) return SystemUiText(id);
  const TString value = Breaks(g_LangOptions.GetOptionString(u"DialogText", key, u""));
  return value.empty() ? SystemUiText(id) : value;
}

TString WithRecordLine(const TString& failure) {
  const TString record = trace::RecordPath();
  return record.empty() ? failure : failure + u"\r\n\r\n" + text::Format(LangText(TUiText::RecordLine), {record});
}

std::uint32_t BrandColor(const TString& oemColor) {
  std::int32_t v = 0;
  // "$" + text: a valid hexadecimal number only when the text is bare hex
  // digits (no sign, prefix or white space, which the integer reading would
  // pass over).
  const bool hexDigits = std::all_of(oemColor.begin(), oemColor.end(), [](char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
  });
  if (!oemColor.empty() && hexDigits && text::TryParseInt(u"$" + oemColor, v)) return static_cast<std::uint32_t>(v);
  return 0x800080;
}
