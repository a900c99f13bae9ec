#include "sysutil/Language.h"

TUiLanguage UiLanguageOf(std::uint16_t langId) {
  switch (langId) {
    case 0x0404:  // Chinese (Taiwan)
    case 0x0C04:  // Chinese (Hong Kong SAR)
    case 0x1404:  // Chinese (Macao SAR)
      return TUiLanguage::TraditionalChinese;
    case 0x0804:  // Chinese (China)
    case 0x1004:  // Chinese (Singapore)
      return TUiLanguage::SimplifiedChinese;
    default:
      return TUiLanguage::English;
  }
}
