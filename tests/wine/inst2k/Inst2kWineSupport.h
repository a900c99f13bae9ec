// Helpers of the device-install library's and the host's Wine tests: the
// runner's folders, temporary folders and files, child processes and the
// registry values the tests look at.
#pragma once

#include "win32/WinApi.h"

#include <string>

namespace inst2kwine {

// The demo model of the demo package and the USB printer node made for it.
inline const char* const kDemoHwid = "TessaronTS-2100A1B2";
inline const char* const kDemoFirstHwid = "USBPRINT\\TessaronTS-2100A1B2";
inline const char* const kDemoInstanceId = "USBPRINT\\TESSARONTS-2100A1B2\\7&1A2B3C4D&0&USB001";
inline const char* const kNoSuchHwid = "NoSuchVendorModel_0000";

std::wstring Env(const wchar_t* name);
std::wstring Join(const std::wstring& dir, const std::wstring& name);
bool FileExists(const std::wstring& path);
std::string Narrow(const std::wstring& s);  // ANSI code page
std::wstring Widen(const std::string& s);   // ANSI code page

// dist\win64 and the Wine test programs' folder, from the runner.
std::wstring DistWin64();
std::wstring DistWin32();  // empty when the runner gave none
std::wstring WineTestsDir();
// The device-install library a program of this one's bitness loads.
std::wstring OwnLibrary();
// The demo package's TS-2100 INF in the work tree.
std::wstring DemoInf();

// A new empty folder below %TEMP% (name may hold any characters).
std::wstring NewTempFolder(const std::wstring& tag);
void DeleteTree(const std::wstring& dir);

// Starts a program with this command line and current folder (hidden, no
// console); false when it did not start.
bool Start(const std::wstring& commandLine, const std::wstring& cwd, PROCESS_INFORMATION& pi,
           DWORD creationFlags = DETACHED_PROCESS);
// Runs a program to its end; its exit code, or 0xFFFFFFFF when it did not
// start or end within the time.
DWORD Run(const std::wstring& commandLine, const std::wstring& cwd = L"", DWORD timeoutMs = 60000);

// The device tree tool: creates or removes the demo node and the "USB" setup class.
DWORD DevNodeTool(const std::wstring& args);
// Whether the prefix registers the "USB" setup class of its own.
bool UsbClassRegistered();
// Waits for a started host, expects it to end with exit code 0, closes its handles.
void ExpectHostEndsCleanly(PROCESS_INFORMATION& host, DWORD timeoutMs = 20000);

// A file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);

// An export cast to its own function type.
template <class Fn>
Fn Proc(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// HKLM string value read as bytes (no conversion); false when missing.
bool ReadHklmValue(const std::string& key, const std::string& name, DWORD& type, std::string& data);

}  // namespace inst2kwine
