// UI strings, language and OEM branding: the strings file (Strings.ini) and the
// record of texts the other units show.
#pragma once

#include <cstdint>
#include <memory>

#include "config/ControlsForm.h"
#include "sysutil/ProfileFile.h"
#include "sysutil/Text.h"
#include "sysutil/UiTexts.h"

struct strInstaller {
  std::int32_t CompanyIndex = 0;
  TString OEMManufactor;
  TString OEMBMLogo;
  TString OEMLogoUrl;
  TString OEMMainTitle;
  TString OEMColor;
  TString Loading;
  TString Installing;
  TString InstallEnd;
  TString NoticeTitle;
  TString ClickInstallToStart;
  TString SelectAPrinterDriver;
  TString InstallBeforeNeedUninstall;
  TString BeforeInstallPrompt;
  TString ExistSamePrinterAndUpdate;
  TString DeletePrinterIsPrinting;
  TString InstallSuccessStr;
  TString InstallCancelStr;
  TString InstallFailStr;
  TString InstallFailCode;
  TString InstallFailReasonUnknow;
  TString RestartPrompt;
  TString InstallOnline;
  TString InstallRetry;
  TString CMDParameterError;
  TString BeforeUnInstallPrompt;
  TString DeletePrinterSucceed;
  TString DeletePrinterError;
  TString DeletePrinterDriverError;
  TString RestartWindowsimmediately;
};

class TLangOptions {
 public:
  TLangOptions() = default;

  void LoadFromFile(const TString& FileName);
  // Keeps an already read strings file open and loads its settings.
  void LoadFromProfile(std::unique_ptr<TProfileFile> Ini);
  void LoadSettings(TProfileFile* Ini);
  TString GetOptionString(const TString& SectionName, const TString& ItemName, const TString& DefaultValue) const;
  void LoadGlobalStrings();
  void LoadControlsCaption(IControlsForm& frm, const TString& strIniSection) const;

  // Kept for the file's other users; nothing in this program calls them.
  void SaveSettings(TProfileFile* Ini);
  void LoadStringsFromFile(const TString& strStringsFile);

  bool HasFile() const { return m_Ini != nullptr; }

 private:
  std::unique_ptr<TProfileFile> m_Ini;
};

extern TLangOptions g_LangOptions;
extern strInstaller g_strInstaller;

// A text the strings file holds under its key once it is loaded (escaped line
// breaks made real); before that, or when the file lacks the key, the
// compiled-in text in the system default language's version.
TString LangText(TUiText id);
// A failure text as the user is shown it: its last line names the install
// record (when there is one). The box that shows it writes it to the record.
TString WithRecordLine(const TString& failure);

// The branding colour: "$" + OEMColor read as hexadecimal, 0x800080 (purple)
// when that is no valid number. Windows order 0x00BBGGRR.
std::uint32_t BrandColor(const TString& oemColor);
