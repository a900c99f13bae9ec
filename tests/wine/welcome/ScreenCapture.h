// Screenshots for the Wine tests: a part of the screen saved as a PNG file.
#pragma once

#include "win32/WinApi.h"

#include <string>

// Copies `area` (screen coordinates) from the screen and writes it to `path`
// as PNG. Returns an empty text on success, else what went wrong.
std::wstring SaveScreenPng(const RECT& area, const std::wstring& path);

// The folder docs\screenshots of the repository (from DS_ROOT_WIN), or empty
// when the test runs without it.
std::wstring ScreenshotFolder();
