// The standard input as a stream buffer that can tell whether more bytes wait
// in it, so that the server takes every message already sent before it
// compiles and answers (standard_input.cc, with the reads of each system in
// standard_input_posix.cc and standard_input_win32.cc).
#pragma once

#include <array>
#include <cstddef>
#include <streambuf>

namespace scenario::lsp {

class StandardInput : public std::streambuf {
 protected:
  int_type underflow() override;
  // Bytes that a read returns without waiting: those read ahead, else 1 when
  // the system holds some (or the input's end), else 0.
  std::streamsize showmanyc() override;

 private:
  std::array<char, 1 << 16> buffer_;
};

// Reads up to `capacity` bytes, waiting for one at least; 0 at the input's
// end or when it cannot be read.
size_t read_standard_input(char* buffer, size_t capacity);
// Whether a read would return at once.
bool standard_input_ready();

}  // namespace scenario::lsp
