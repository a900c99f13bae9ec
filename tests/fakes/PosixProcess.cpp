#include "fakes/PosixProcess.h"
#include "sysutil/Text.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

PosixProcess::~PosixProcess() {
  for (auto& [h, e] : m_Handles) {
    if (e.kind == Entry::Fd) close(e.fd);
    if (e.kind == Entry::Process && !e.reaped) waitpid(e.pid, nullptr, 0);
  }
}

THandle PosixProcess::Add(Entry e) {
  THandle h = m_Next++;
  m_Handles[h] = e;
  return h;
}

bool PosixProcess::CreatePipe(THandle& readEnd, THandle& writeEnd) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  readEnd = Add({Entry::Fd, fds[0]});
  writeEnd = Add({Entry::Fd, fds[1]});
  return true;
}

bool PosixProcess::StartProcess(const TStartup& s, TProcessInfo& pi) {
  const THandle stdOut = s.UseStdHandles ? s.StdOutput : 0;
  std::vector<std::string> words;
  std::string cur, line = text::ToUtf8(s.CommandLine);
  bool quoted = false, any = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any) words.push_back(cur);
      cur.clear();
      any = false;
    } else {
      cur.push_back(c);
      any = true;
    }
  }
  if (any) words.push_back(cur);
  if (words.empty() || !m_Handles.count(stdOut)) return false;
  int outFd = m_Handles[stdOut].fd;

  // Tells the parent whether exec worked: closed on exec, written on failure.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    dup2(outFd, 1);
    int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 0);
    dup2(devnull, 2);
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    int err = errno;
    (void)!write(report[1], &err, sizeof(err));
    _exit(127);
  }
  close(report[1]);
  int err = 0;
  ssize_t n = read(report[0], &err, sizeof(err));
  close(report[0]);
  if (n > 0) {
    waitpid(pid, nullptr, 0);
    return false;
  }
  ++ProcessesStarted;
  pi.Process = Add({Entry::Process, -1, pid});
  pi.Thread = Add({Entry::Thread, -1, pid});
  return true;
}

bool PosixProcess::PeekNamedPipe(THandle readEnd, std::uint32_t& available) {
  auto it = m_Handles.find(readEnd);
  if (it == m_Handles.end()) return false;
  int n = 0;
  if (ioctl(it->second.fd, FIONREAD, &n) != 0) return false;
  available = static_cast<std::uint32_t>(n);
  return true;
}

bool PosixProcess::ReadFile(THandle h, char* buffer, std::uint32_t size, std::uint32_t& read) {
  auto it = m_Handles.find(h);
  if (it == m_Handles.end()) return false;
  ssize_t n = ::read(it->second.fd, buffer, size);
  if (n < 0) return false;
  read = static_cast<std::uint32_t>(n);
  return true;
}

std::uint32_t PosixProcess::WaitForSingleObject(THandle h, std::uint32_t timeoutMs) {
  auto it = m_Handles.find(h);
  if (it == m_Handles.end() || it->second.kind != Entry::Process) return WaitFailed;
  Entry& e = it->second;
  if (e.reaped) return WaitObject0;
  // Sleeps in short slices; a waiting runner costs next to no processor time.
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (;;) {
    if (waitpid(e.pid, nullptr, WNOHANG) == e.pid) {
      e.reaped = true;
      return WaitObject0;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    long elapsed = (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
    if (elapsed >= static_cast<long>(timeoutMs)) return WaitTimeout;
    poll(nullptr, 0, 2);
  }
}

bool PosixProcess::CloseHandle(THandle h) {
  auto it = m_Handles.find(h);
  if (it == m_Handles.end()) return false;
  if (it->second.kind == Entry::Fd) close(it->second.fd);
  if (it->second.kind == Entry::Process && !it->second.reaped) waitpid(it->second.pid, nullptr, WNOHANG);
  m_Handles.erase(it);
  return true;
}
