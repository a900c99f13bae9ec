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

const FakeProcess::Program* FakeProcess::Find(const TString& commandLine) const {
  const TString name = ProgramNameOf(commandLine);
  for (const auto& [n, p] : Programs)
    if (text::SameTextAscii(n, name)) return &p;
  return nullptr;
}

bool FakeProcess::StartProcess(const TStartup& startup, TProcessInfo& pi) {
  if (!Find(startup.CommandLine)) {
    Sys().SetLastError(2);
    return false;
  }
  pi.Process = m_Next++;
  pi.Thread = m_Next++;
  m_Handles[pi.Thread].Kind = Child::Thread;
  m_Handles[pi.Process].Waiting = startup;
  if (RunAtStart)
    Run(pi.Process);
  else
    ListRunning();
  return true;
}

void FakeProcess::Run(THandle process) {
  auto it = m_Handles.find(process);
  if (it == m_Handles.end() || !it->second.Waiting) return;
  const TStartup startup = std::move(*it->second.Waiting);
  it->second.Waiting.reset();
  ListRunning();
  const Program* found = Find(startup.CommandLine);
  if (!found) return;
  const Program program = *found;  // the program may change the table
  const std::uint32_t code = program(startup);
  it = m_Handles.find(process);
  if (it != m_Handles.end()) it->second.ExitCode = code;
}

void FakeProcess::RunPending() {
  std::vector<THandle> waiting;
  for (const auto& [h, child] : m_Handles)
    if (child.Waiting) waiting.push_back(h);
  for (THandle h : waiting) Run(h);
}

void FakeProcess::ListRunning() {
  Running.clear();
  for (const auto& [h, child] : m_Handles)
    if (child.Waiting) Running.push_back(*child.Waiting);
}

bool FakeProcess::GetExitCodeProcess(THandle process, std::uint32_t& code) {
  auto it = m_Handles.find(process);
  if (it == m_Handles.end() || it->second.Kind != Child::Process) return false;
  code = it->second.ExitCode;
  return true;
}

std::uint32_t FakeProcess::WaitForSingleObject(THandle h, std::uint32_t) {
  auto it = m_Handles.find(h);
  if (it == m_Handles.end() || it->second.Kind == Child::Pipe) return WaitFailed;
  Run(h);
  return WaitObject0;
}

bool FakeProcess::CreatePipe(THandle& readEnd, THandle& writeEnd) {
  readEnd = m_Next++;
  writeEnd = m_Next++;
  m_Handles[readEnd].Kind = Child::Pipe;
  m_Handles[writeEnd].Kind = Child::Pipe;
  return true;
}

bool FakeProcess::PeekNamedPipe(THandle readEnd, std::uint32_t& available) {
  auto it = m_Handles.find(readEnd);
  if (it == m_Handles.end() || it->second.Kind != Child::Pipe) return false;
  available = 0;
  return true;
}
