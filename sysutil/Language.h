// The one table of system language identifiers the program tells apart.
#pragma once

#include <cstdint>

enum class TUiLanguage { English, SimplifiedChinese, TraditionalChinese };

// Chinese of Taiwan, Hong Kong SAR and Macao SAR: Traditional; of China and
// Singapore: Simplified; every other language: English.
TUiLanguage UiLanguageOf(std::uint16_t langId);
