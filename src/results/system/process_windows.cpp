// Windows: the benchmark started with CreateProcessW, its output read from anonymous pipes by
// one thread each (anonymous pipes cannot be waited on), Ctrl-C caught by a console handler.
#include <windows.h>

#include <io.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <mutex>
#include <sstream>
#include <system_error>
#include <thread>

#include "results/system/process.h"

namespace fs = std::filesystem;

namespace {

std::atomic<bool> interrupted{false};
// Every reader and the console handler wake the one waiting in Next through this.
std::mutex lock;
std::condition_variable woken;

std::string Reason(DWORD code) {
  return std::system_category().message(static_cast<int>(code));
}

BOOL WINAPI OnConsoleEvent(DWORD) {
  interrupted = true;
  woken.notify_all();
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
  // The benchmark shares this console, so Ctrl-C reaches it too.
  const BOOL created = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
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
  CloseHandle(started.hThread);
  auto state = std::make_unique<State>();
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
  auto ready = [&state] { return !state.events.empty() || state.open == 0 || interrupted; };
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

void ChildProcess::Stop() {
  if (!state_->waited) {
    TerminateProcess(state_->process, 130);
  }
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

bool Interrupted() {
  return interrupted;
}

void SetEnvironment(const std::string& name, const std::string& value) {
  SetEnvironmentVariableW(fs::u8path(name).wstring().c_str(), fs::u8path(value).wstring().c_str());
}

std::string ProgramDirectory() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) {
    return {};
  }
  path.resize(length);
  return fs::path(path).parent_path().u8string();
}

std::string BenchmarkFileName() {
  return "drives-tesk.exe";
}

std::string FindOnPath(const std::string& name) {
  const wchar_t* variable = _wgetenv(L"PATH");
  std::wistringstream directories(variable != nullptr ? variable : L"");
  std::wstring directory;
  while (std::getline(directories, directory, L';')) {
    if (directory.empty()) {
      continue;
    }
    const fs::path candidate = fs::path(directory) / fs::u8path(name);
    std::error_code error;
    if (fs::is_regular_file(candidate, error)) {
      return candidate.u8string();
    }
  }
  return {};
}

bool ErrorsOnTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

int TerminalColumns() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info)) {
    return info.srWindow.Right - info.srWindow.Left + 1;
  }
  return 80;
}

bool TerminalTakesColour() {
  return false;
}

LocalTime ToLocalTime(long long when) {
  const std::time_t time = static_cast<std::time_t>(when);
  std::tm local{};
  std::tm utc{};
  localtime_s(&local, &time);
  gmtime_s(&utc, &time);
  // The offset from the two broken-down times: days apart (at most one) and the clock.
  int days = local.tm_yday - utc.tm_yday;
  if (local.tm_year != utc.tm_year) {
    days = local.tm_year > utc.tm_year ? 1 : -1;
  }
  const int offset =
      days * 24 * 60 + (local.tm_hour - utc.tm_hour) * 60 + (local.tm_min - utc.tm_min);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
          local.tm_min,         local.tm_sec,     offset};
}

std::unique_ptr<RunningChild> StartChildProcess(const std::string& program,
                                                const std::string& directory, std::string& error) {
  return ChildProcess::Start(program, directory, error);
}
