#include "scenarioc/output/terminal.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

namespace scenario {

// A console of Windows 10 and later shows the escape sequences of colour once
// asked to; an older one, or a file or pipe, gets none.
bool is_colour_terminal(StandardStream stream) {
  const HANDLE handle =
      ::GetStdHandle(stream == StandardStream::out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || !::GetConsoleMode(handle, &mode)) return false;
  if (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) return true;
  return ::SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

bool is_terminal(StandardStream stream) {
  const HANDLE handle =
      ::GetStdHandle(stream == StandardStream::out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

void use_binary_standard_streams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace scenario
