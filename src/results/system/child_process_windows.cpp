// Windows: the benchmark started with CreateProcessW in a job of its own, its output read from
// anonymous pipes by one thread each (anonymous pipes cannot be waited on), Ctrl-C and the
// console's closing caught by a console handler.
#include <windows.h>

#include <io.h>

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>

#include "results/system/child_process.h"
#include "results/system/interrupts.h"

namespace fs = std::filesystem;

namespace {

// Every reader and the console handler wake the one waiting in Next through this.
std::mutex lock;
std::condition_variable woken;

std::string Reason(DWORD code) {
  return std::system_category().message(static_cast<int>(code));
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
  CountInterrupt();
  woken.notify_all();
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    // The process ends when this returns: the run stops the benchmark, keeps its files and
    // removes the scratch files first, and its exit ends the process (or the system does, after
    // its grace period).
    Sleep(INFINITE);
  }
  return TRUE;
}

void CloseIfOpen(HANDLE& handle) {
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
    CloseHandle(handle);
  }
  handle = nullptr;
}

}  // namespace

struct ChildProcess::State {
  HANDLE job = nullptr;  // nullptr where the system would not give one: the process alone
  HANDLE process = nullptr;
  HANDLE out = nullptr;
  HANDLE err = nullptr;
  std::thread outReader;
  std::thread errReader;
  std::deque<ChildEvent> events;  // under `lock`
  int open = 2;                   // pipes not at their end yet, under `lock`
  bool waited = false;
  ChildExit exit;

  void Read(HANDLE pipe, ChildEvent::Kind kind) {
    char buffer[1 << 16];
    DWORD count = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &count, nullptr) && count > 0) {
      std::lock_guard<std::mutex> guard(lock);
      events.push_back({kind, std::string(buffer, count)});
      woken.notify_all();
    }
    std::lock_guard<std::mutex> guard(lock);
    --open;
    woken.notify_all();
  }
};

ChildProcess::ChildProcess(std::unique_ptr<State> state) : state_(std::move(state)) {}

ChildProcess::~ChildProcess() {
  if (!state_->waited) {
    Stop();
    Wait();
  }
  if (state_->outReader.joinable()) {
    state_->outReader.join();
  }
  if (state_->errReader.joinable()) {
    state_->errReader.join();
  }
  CloseIfOpen(state_->out);
  CloseIfOpen(state_->err);
  CloseIfOpen(state_->process);
  CloseIfOpen(state_->job);
}

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::string& program,
                                                  const std::string& directory,
                                                  std::string& error) {
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE outRead = nullptr;
  HANDLE outWrite = nullptr;
  HANDLE errRead = nullptr;
  HANDLE errWrite = nullptr;
  if (!CreatePipe(&outRead, &outWrite, &inherited, 0) ||
      !CreatePipe(&errRead, &errWrite, &inherited, 0)) {
    error = Reason(GetLastError());
    CloseIfOpen(outRead);
    CloseIfOpen(outWrite);
    return nullptr;
  }
  // The reading ends stay here.
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                             OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  const std::wstring path = fs::u8path(program).wstring();
  const std::wstring folder = fs::u8path(directory).wstring();
  std::wstring commandLine = L"\"" + path + L"\"";
  PROCESS_INFORMATION started{};
  // The benchmark shares this console, so Ctrl-C reaches it too. It starts suspended, to be in
  // its job before it can start anything.
  const BOOL created =
      CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                     nullptr, folder.c_str(), &startup, &started);
  const DWORD reason = GetLastError();
  CloseIfOpen(outWrite);
  CloseIfOpen(errWrite);
  CloseIfOpen(input);
  if (!created) {
    error = Reason(reason);
    CloseIfOpen(outRead);
    CloseIfOpen(errRead);
    return nullptr;
  }
  auto state = std::make_unique<State>();
  state->job = CreateJobObjectW(nullptr, nullptr);
  if (state->job != nullptr) {
    // Should this program end unexpectedly, what it started ends with it.
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(state->job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    if (!AssignProcessToJobObject(state->job, started.hProcess)) {
      CloseIfOpen(state->job);
    }
  }
  ResumeThread(started.hThread);
  CloseHandle(started.hThread);
  state->process = started.hProcess;
  state->out = outRead;
  state->err = errRead;
  State* raw = state.get();
  state->outReader = std::thread([raw] { raw->Read(raw->out, ChildEvent::Output); });
  state->errReader = std::thread([raw] { raw->Read(raw->err, ChildEvent::Errors); });
  return std::unique_ptr<ChildProcess>(new ChildProcess(std::move(state)));
}

ChildEvent ChildProcess::Next(int tickMs) {
  State& state = *state_;
  std::unique_lock<std::mutex> guard(lock);
  const int seen = Interrupts();
  auto ready = [&state, seen] {
    return !state.events.empty() || state.open == 0 || Interrupts() != seen;
  };
  if (tickMs < 0) {
    woken.wait(guard, ready);
  } else {
    woken.wait_for(guard, std::chrono::milliseconds(tickMs), ready);
  }
  if (!state.events.empty()) {
    ChildEvent event = std::move(state.events.front());
    state.events.pop_front();
    return event;
  }
  return {state.open == 0 ? ChildEvent::Ended : ChildEvent::Tick, {}};
}

// Windows has no gentle request to a console program but the Ctrl-C it already shares.
void ChildProcess::Stop() {
  if (state_->job != nullptr) {
    TerminateJobObject(state_->job, 130);
  } else if (!state_->waited) {
    TerminateProcess(state_->process, 130);
  }
}

void ChildProcess::Kill() {
  Stop();
}

bool ChildProcess::Lingering() {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
  return state_->job != nullptr &&
         QueryInformationJobObject(state_->job, JobObjectBasicAccountingInformation, &accounting,
                                   sizeof accounting, nullptr) &&
         accounting.ActiveProcesses > 0;
}

ChildExit ChildProcess::Wait() {
  State& state = *state_;
  if (!state.waited) {
    WaitForSingleObject(state.process, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(state.process, &code);
    state.exit = {static_cast<int>(code), 0};
    state.waited = true;
  }
  return state.exit;
}

void CatchInterrupts() {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}
