#include "sysutil/UiTexts.h"

#include "base/Fatal.h"
#include "platform/ISystem.h"

namespace {

constexpr TUiTextRow kRows[] = {
#include "sysutil/UiTextsTable.inc"
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == static_cast<size_t>(TUiText::Count));

}  // namespace

const TUiTextRow& UiTextRow(TUiText id) {
  const size_t i = static_cast<size_t>(id);
  if (i >= static_cast<size_t>(TUiText::Count) || kRows[i].Id != id) FatalError("UiTextRow");
  return kRows[i];
}

TString UiText(TUiText id, TUiLanguage language) {
  const TUiTextRow& row = UiTextRow(id);
  switch (language) {
    case TUiLanguage::SimplifiedChinese:
      return row.Text[1];
    case TUiLanguage::TraditionalChinese:
      return row.Text[2];
    default:
      return row.Text[0];
  }
}

TString SystemUiText(TUiText id) { return UiText(id, UiLanguageOf(Sys().GetSystemDefaultLangID())); }
