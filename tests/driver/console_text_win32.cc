// Prints, in UTF-8, the characters that the console it runs in shows, one
// line per row without trailing blanks: what a person would read there. Lets
// a test see how a Windows console shows the tool's output.
#include <windows.h>

#include <cstdio>
#include <string>

#include "base/wide_text.h"

int main() {
  const HANDLE console =
      ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (console == INVALID_HANDLE_VALUE || !::GetConsoleScreenBufferInfo(console, &info)) {
    std::fprintf(stderr, "console_text: no console\n");
    return 1;
  }
  const SHORT width = info.dwSize.X;
  for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
    std::wstring text(width, L' ');
    DWORD read = 0;
    ::ReadConsoleOutputCharacterW(console, text.data(), width, {0, row}, &read);
    text.resize(read);
    text.erase(text.find_last_not_of(L' ') + 1);
    std::printf("%s\n", scenario::utf8_of(text).c_str());
  }
  return 0;
}
