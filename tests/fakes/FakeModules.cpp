#include "fakes/FakeModules.h"

#include "platform/ISystem.h"
#include "sysutil/Paths.h"

THandle FakeModules::LoadLibrary(const TString& path) {
  for (const auto& [name, _] : Libraries)
    if (text::SameTextAscii(name, path)) {
      ++LoadCount;
      m_Loaded[m_Next] = name;
      return m_Next++;
    }
  Sys().SetLastError(126);  // ERROR_MOD_NOT_FOUND
  return 0;
}

void* FakeModules::GetProcAddress(THandle module, const char* name) {
  auto it = m_Loaded.find(module);
  if (it == m_Loaded.end()) return nullptr;
  auto& exports = Libraries[it->second];
  auto e = exports.find(name);
  return e == exports.end() ? nullptr : e->second;
}

void FakeModules::FreeLibrary(THandle module) { m_Loaded.erase(module); }

TString ProgramNameOf(const TString& commandLine) {
  TString first;
  if (!commandLine.empty() && commandLine[0] == u'"') {
    size_t end = commandLine.find(u'"', 1);
    first = commandLine.substr(1, end == TString::npos ? TString::npos : end - 1);
  } else {
    first = commandLine.substr(0, commandLine.find(u' '));
  }
  return paths::ExtractFileName(first);
}

bool FakeProcess::StartProcess(const TStartup& startup, TProcessInfo& pi) {
  TString name = ProgramNameOf(startup.CommandLine);
  const Program* program = nullptr;
  for (const auto& [n, p] : Programs)
    if (text::SameTextAscii(n, name)) program = &p;
  if (!program) {
    Sys().SetLastError(2);
    return false;
  }
  pi.Process = m_Next++;
  pi.Thread = m_Next++;
  m_Handles[pi.Thread].Thread = true;
  Child& child = m_Handles[pi.Process];
  if (RunAtStart) {
    child.ExitCode = (*program)(startup);
  } else {
    Running.push_back(startup);
    child.Pending = Running.size();
  }
  return true;
}

void FakeProcess::RunPending() {
  auto started = std::move(Running);
  Running.clear();
  for (auto& [h, child] : m_Handles) {
    if (!child.Pending) continue;
    const TStartup& s = started[child.Pending - 1];
    child.Pending = 0;
    for (const auto& [n, p] : Programs)
      if (text::SameTextAscii(n, ProgramNameOf(s.CommandLine))) child.ExitCode = p(s);
  }
}

bool FakeProcess::GetExitCodeProcess(THandle process, std::uint32_t& code) {
  auto it = m_Handles.find(process);
  if (it == m_Handles.end() || it->second.Thread) return false;
  code = it->second.ExitCode;
  return true;
}

std::uint32_t FakeProcess::WaitForSingleObject(THandle h, std::uint32_t) {
  auto it = m_Handles.find(h);
  if (it == m_Handles.end()) return WaitFailed;
  if (it->second.Pending) RunPending();
  return WaitObject0;
}
