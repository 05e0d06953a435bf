// The folder watch on Windows: ReadDirectoryChangesW on each folder with
// overlapped I/O, waited for together with the end request's event.
#include "scenarioc/watch/folder_watch.h"

#include <windows.h>

#include <set>
#include <string>

#include "base/run_time_failure.h"
#include "base/wide_text.h"

namespace scenario {

namespace fs = std::filesystem;

namespace {

constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                           FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_CREATION;

// File names compare as Windows compares them: without regard to case.
std::wstring folded(std::wstring name) {
  if (!name.empty()) {
    ::CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
  }
  return name;
}

std::string system_reason() { return "system error " + std::to_string(::GetLastError()); }

}  // namespace

struct FolderWatch::State {
  struct Folder {
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED overlapped = {};
    alignas(DWORD) char buffer[65536];
    std::set<std::wstring> names;
  };
  std::vector<std::unique_ptr<Folder>> folders;
  HANDLE end_event = nullptr;

  static void start(Folder& f) {
    ::ResetEvent(f.overlapped.hEvent);
    if (!::ReadDirectoryChangesW(f.handle, f.buffer, sizeof f.buffer, FALSE, kChanges, nullptr,
                                 &f.overlapped, nullptr)) {
      throw RunTimeFailure("cannot watch a folder: " + system_reason());
    }
  }

  // The changes that arrived for `f`; whether one names a watched file. A
  // buffer that overflowed lost changes that may have been ours.
  static bool take(Folder& f) {
    DWORD bytes = 0;
    if (!::GetOverlappedResult(f.handle, &f.overlapped, &bytes, FALSE)) {
      throw RunTimeFailure("cannot watch a folder: " + system_reason());
    }
    bool changed = bytes == 0;
    for (DWORD at = 0; at < bytes;) {
      const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(f.buffer + at);
      const std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
      if (f.names.count(folded(name))) changed = true;
      if (info->NextEntryOffset == 0) break;
      at += info->NextEntryOffset;
    }
    start(f);
    return changed;
  }
};

FolderWatch::FolderWatch(const std::vector<fs::path>& files, const EndRequest& end, Tell)
    : state_(std::make_unique<State>()) {
  state_->end_event = reinterpret_cast<HANDLE>(end.wait_handle());
  for (const fs::path& file : files) {
    fs::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    auto f = std::make_unique<State::Folder>();
    f->handle = ::CreateFileW(
        folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (f->handle == INVALID_HANDLE_VALUE) {
      throw RunTimeFailure("cannot watch folder '" + utf8_of(folder.wstring()) +
                           "': " + system_reason());
    }
    f->overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    f->names.insert(folded(file.filename().wstring()));
    State::start(*f);
    state_->folders.push_back(std::move(f));
  }
}

FolderWatch::~FolderWatch() {
  for (auto& f : state_->folders) {
    ::CancelIoEx(f->handle, &f->overlapped);
    DWORD bytes = 0;
    ::GetOverlappedResult(f->handle, &f->overlapped, &bytes, TRUE);
    ::CloseHandle(f->overlapped.hEvent);
    ::CloseHandle(f->handle);
  }
}

FolderWatch::Event FolderWatch::wait(std::optional<std::chrono::milliseconds> timeout) {
  const auto deadline = timeout ? std::chrono::steady_clock::now() + *timeout
                                : std::chrono::steady_clock::time_point::max();
  std::vector<HANDLE> handles{state_->end_event};
  for (auto& f : state_->folders) handles.push_back(f->overlapped.hEvent);
  while (true) {
    DWORD wait_ms = INFINITE;
    if (timeout) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      wait_ms = static_cast<DWORD>(std::max<int64_t>(left.count(), 0));
    }
    const DWORD ready = ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(),
                                                 FALSE, wait_ms);
    if (ready == WAIT_TIMEOUT) return Event::quiet;
    if (ready == WAIT_OBJECT_0) return Event::ended;
    const DWORD index = ready - WAIT_OBJECT_0;
    if (index < 1 || index >= handles.size()) {
      throw RunTimeFailure("cannot watch files: " + system_reason());
    }
    if (State::take(*state_->folders[index - 1])) return Event::changed;
  }
}

}  // namespace scenario
