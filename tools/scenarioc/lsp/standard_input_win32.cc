// The standard input read with Win32 calls. An editor starts the server with
// a pipe; another kind of input is read all the same, but never said to hold
// bytes in advance.
#include <windows.h>

#include <algorithm>

#include "scenarioc/lsp/standard_input.h"

namespace scenario::lsp {

size_t read_standard_input(char* buffer, size_t capacity) {
  const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  if (input == INVALID_HANDLE_VALUE || input == nullptr) return 0;
  const DWORD wanted = static_cast<DWORD>(std::min<size_t>(capacity, 1 << 30));
  while (true) {
    DWORD n = 0;
    if (!::ReadFile(input, buffer, wanted, &n, nullptr)) return 0;  // a broken pipe is its end
    // A pipe passes on a write of no bytes as a read of none; a file's end reads none.
    if (n > 0 || ::GetFileType(input) != FILE_TYPE_PIPE) return n;
  }
}

bool standard_input_ready() {
  const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD waiting = 0;
  return input != INVALID_HANDLE_VALUE && input != nullptr &&
         ::PeekNamedPipe(input, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0;
}

}  // namespace scenario::lsp
