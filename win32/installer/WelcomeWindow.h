// The welcome splash window: borderless, topmost, translucent, with the five
// splash pictures, the brand's title and the growing "Loading" text. Its
// behaviour is TfrmWelcome's (installer/uWelcome.h).
#pragma once

#include "win32/WinApi.h"

#include "installer/jpeg/JpegImage.h"

inline constexpr wchar_t kWelcomeSplashClass[] = L"DSWelcomeSplash";
inline constexpr int kWelcomeTitleId = 3101;    // lblTitle
inline constexpr int kWelcomeLoadingId = 3102;  // lblLoading
// Answered by the splash: bit i set when picture i+1 is visible, bit 8+i set
// when picture i+1 was decoded from the resources.
inline constexpr UINT kWelcomeQueryPictures = WM_APP + 0x57;

// Shows the splash modally over `owner` (which may be null) with its title in
// `titleColor` (0x00BBGGRR) and returns when the splash has closed itself.
void ShowWelcomeSplash(HWND owner, unsigned titleColor);

// Splash picture `number` (1 to 5), the RCDATA resource "JPG_WELCOME_<number>"
// of `module`, decoded. Raises Exception when it is missing or unfit.
TJpegImage LoadWelcomePicture(HMODULE module, int number);
