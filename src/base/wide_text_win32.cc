#include "base/wide_text.h"

#include <windows.h>

#include <climits>

#include "base/run_time_failure.h"

namespace scenario {
namespace {

// The conversion calls count in int; names and messages are far shorter.
int checked_length(size_t length) {
  if (length > INT_MAX) throw RunTimeFailure("text too long for a Windows call");
  return static_cast<int>(length);
}

}  // namespace

std::wstring wide_of(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int in = checked_length(utf8.size());
  std::wstring wide(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in, nullptr, 0), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in, wide.data(), checked_length(wide.size()));
  return wide;
}

std::string utf8_of(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int in = checked_length(wide.size());
  std::string utf8(::WideCharToMultiByte(CP_UTF8, 0, wide.data(), in, nullptr, 0, nullptr, nullptr),
                   '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), in, utf8.data(), checked_length(utf8.size()),
                        nullptr, nullptr);
  return utf8;
}

std::string system_reason(unsigned long error) {
  wchar_t* words = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&words), 0, nullptr);
  std::wstring reason(words != nullptr ? words : L"", words != nullptr ? length : 0);
  ::LocalFree(words);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' ||
                             reason.back() == L' ' || reason.back() == L'.')) {
    reason.pop_back();
  }
  if (reason.empty()) return "system error " + std::to_string(error);
  return utf8_of(reason);
}

std::wstring long_path_form(const std::filesystem::path& path) {
  const std::wstring& given = path.native();
  if (given.starts_with(L"\\\\?\\")) return given;
  // CreateDirectoryW stops 12 short of MAX_PATH, to leave room for an 8.3 name;
  // a relative path grows by the current folder's length.
  constexpr size_t kShortEnough = MAX_PATH - 12;
  const size_t reach = path.is_absolute() ? 0 : ::GetCurrentDirectoryW(0, nullptr);
  if (given.size() + reach < kShortEnough) return given;
  std::wstring whole(given.size() + MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetFullPathNameW(given.c_str(), static_cast<DWORD>(whole.size()), whole.data(), nullptr);
    if (length == 0) return given;
    if (length < whole.size()) {
      whole.resize(length);
      break;
    }
    whole.resize(length + 1);
  }
  if (whole.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + whole.substr(2);
  return L"\\\\?\\" + whole;
}

}  // namespace scenario
