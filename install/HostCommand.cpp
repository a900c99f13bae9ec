// The 64-bit install host's command line, and the port of a device.
#include "install/InstallFunc.h"
#include "sysutil/Paths.h"

TString HostCommandLine(const TString& hostPath, std::int32_t window, const TString& dllPath, const TString& infPath,
                        const TString& hardwareId, const TString& currentDir) {
  const TString hostFolder = paths::ExtractFilePath(paths::FullPath(hostPath, currentDir));
  auto relative = [&](const TString& p) { return paths::RelativePath(hostFolder, paths::FullPath(p, currentDir)); };
  // The host path is quoted: the workspace lies in the user's temporary
  // folder, and a blank in it would make the system try shorter program
  // paths first. The host reads only the options after the program name.
  return u"\"" + hostPath + u"\" /Handle " + text::IntToStr(window) + u" /Dll \"" + relative(dllPath) + u"\" /Inf \"" +
         relative(infPath) + u"\" /HWID " + hardwareId;
}

TString CutPortFromInstanceId(const TString& idAndPort) {
  if (idAndPort.find(u"USBPRINT") != TString::npos) {
    size_t at = idAndPort.find(u"&USB");
    return idAndPort.substr(at == TString::npos ? 0 : at + 1, 6);
  }
  if (idAndPort.find(u"LPTENUM") != TString::npos) {
    size_t at = idAndPort.find(u"&LPT");
    return idAndPort.substr(at == TString::npos ? 0 : at + 1, 4) + u":";
  }
  return {};
}
