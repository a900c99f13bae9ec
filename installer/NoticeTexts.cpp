#include "installer/NoticeTexts.h"

#include "config/LangStrings.h"

namespace notice {

namespace {

TString Notice(const char16_t* key, const char16_t* english, const TString& subject) {
  TString text = g_LangOptions.GetOptionString(u"DialogText", key, u"");
  if (text.empty()) text = english;
  return text::Format(text::ReplaceAllTextAscii(text, u"\\r\\n", u"\r\n"), {subject});
}

}  // namespace

TString FolderInUse(const TString& folder) {
  return Notice(u"BufferFolderInUse",
                u"The folder \"%s\" cannot be replaced: files in it are in use by another program.\r\n"
                u"Close that program and install again. Nothing has been changed.",
                folder);
}

TString TextNotInCodePage(const TString& text) {
  return Notice(u"TextNotInCodePage",
                u"\"%s\" cannot be written in this system's language for non-Unicode programs, so the driver "
                u"cannot be installed with it. Nothing has been changed.",
                text);
}

TString PackageFileMissing(const TString& path) {
  return Notice(u"PackageFileMissing",
                u"The file \"%s\" of the driver package cannot be found. Nothing has been changed.", path);
}

TString PackageFolderMissing(const TString& path) {
  return Notice(u"PackageFolderMissing",
                u"The folder \"%s\" of the driver package cannot be found. Nothing has been changed.", path);
}

}  // namespace notice
