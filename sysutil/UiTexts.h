// The program's texts beside the documented ones of the strings file, in the
// three languages, compiled in (generated with the strings files by
// scripts/make-resources.py). The installer reads a keyed text from its
// strings file once that is loaded (config/LangStrings: LangText); before
// that, and in the 64-bit host throughout, the text comes from this table in
// the language the system default language selects (UiLanguageOf).
#pragma once

#include "sysutil/Language.h"
#include "sysutil/Text.h"

enum class TUiText {
#include "sysutil/UiTextIds.inc"
  Count
};

struct TUiTextRow {
  TUiText Id;
  const char16_t* Key;      // in section "DialogText"; empty: none
  const char16_t* Text[3];  // English, Simplified Chinese, Traditional Chinese
};

const TUiTextRow& UiTextRow(TUiText id);
TString UiText(TUiText id, TUiLanguage language);
// The text in the version the system default language selects (system port).
TString SystemUiText(TUiText id);
