#include "installer/NoticeTexts.h"

#include "config/LangStrings.h"

namespace notice {

TString FolderInUse(const TString& folder) { return text::Format(LangText(TUiText::BufferFolderInUse), {folder}); }

TString TextNotInCodePage(const TString& text) {
  return text::Format(LangText(TUiText::TextNotInCodePage), {text});
}

TString PackageFileMissing(const TString& path) {
  return text::Format(LangText(TUiText::PackageFileMissing), {path});
}

TString PackageFolderMissing(const TString& path) {
  return text::Format(LangText(TUiText::PackageFolderMissing), {path});
}

}  // namespace notice
