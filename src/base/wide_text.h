// Text across the Windows calls, for the files that make them: the program
// holds every string as UTF-8, the wide calls take UTF-16; and the system's
// own words for an error code; and the long form of a path that the calls
// need past MAX_PATH. Windows only (wide_text_win32.cc).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace scenario {

// Bytes that are not UTF-8 become U+FFFD, the replacement character.
std::wstring wide_of(std::string_view utf8);
// A lone surrogate becomes U+FFFD.
std::string utf8_of(std::wstring_view wide);

// What FormatMessageW says of a system error code (GetLastError), in UTF-8,
// without the full stop and line end at its end; the code itself when the
// system has no words for it.
std::string system_reason(unsigned long error);

// `path` as the wide calls take it: unchanged while short, else whole and in
// the form that lifts the MAX_PATH limit (\\?\C:\... or \\?\UNC\server\...).
std::wstring long_path_form(const std::filesystem::path& path);

}  // namespace scenario
