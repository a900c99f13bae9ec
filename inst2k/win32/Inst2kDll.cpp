// The library's entry point and its nine exports: C linkage, the platform's
// standard calling convention, plain names (the build strips stdcall
// decorations). Each export hands over to its body in inst2k/Exports, which
// lets no exception out.
#include "inst2k/Exports.h"
#include "inst2k/Inst2kState.h"
#include "inst2k/win32/Win32Inst2kPorts.h"
#include "win32/WinApi.h"

#define INST2K_EXPORT extern "C" __declspec(dllexport)

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) InstallInst2kWin32Ports();
  if (reason == DLL_PROCESS_ATTACH || reason == DLL_THREAD_ATTACH)
    inst2k::OnLibraryAttach(reinterpret_cast<THandle>(instance));
  return TRUE;
}

INST2K_EXPORT void WINAPI SetDebugMode(int on) { inst2k::ExportSetDebugMode(on); }
INST2K_EXPORT void WINAPI ShowErrorCode(int on) { inst2k::ExportShowErrorCode(on); }
INST2K_EXPORT void WINAPI EnableRootID(int on) { inst2k::ExportEnableRootID(on); }
INST2K_EXPORT DWORD WINAPI LastInstallErrorCode() { return inst2k::ExportLastInstallErrorCode(); }
INST2K_EXPORT void WINAPI RefreshHW() { inst2k::ExportRefreshHW(); }

INST2K_EXPORT BOOL WINAPI FuncFindExistDevice(LPCSTR hardwareId, LPSTR hardwareIdOut, LPSTR instanceIdOut) {
  return inst2k::ExportFuncFindExistDevice(hardwareId, hardwareIdOut, instanceIdOut) ? TRUE : FALSE;
}

INST2K_EXPORT DWORD WINAPI Inst2k_IsInlineDeviceExist(HWND owner, LPCSTR hardwareId, LPCSTR infPath, DWORD flags) {
  return inst2k::ExportInst2k_IsInlineDeviceExist(reinterpret_cast<THandle>(owner), hardwareId, infPath, flags);
}

INST2K_EXPORT int WINAPI FuncInst2K(LPCSTR infPath, LPCSTR hardwareId, LPCSTR port, HWND owner) {
  return inst2k::ExportFuncInst2K(infPath, hardwareId, port, reinterpret_cast<THandle>(owner));
}

INST2K_EXPORT BOOL WINAPI Inst2k_RegistryInf(LPCSTR infPath, LPCSTR sourceLocation, LPSTR nameOut, DWORD nameSize) {
  return inst2k::ExportInst2k_RegistryInf(infPath, sourceLocation, nameOut, nameSize) ? TRUE : FALSE;
}
