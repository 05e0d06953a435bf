#include "scenarioc/lsp/standard_input.h"

namespace scenario::lsp {

StandardInput::int_type StandardInput::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  const size_t n = read_standard_input(buffer_.data(), buffer_.size());
  if (n == 0) return traits_type::eof();
  setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
  return traits_type::to_int_type(*gptr());
}

std::streamsize StandardInput::showmanyc() {
  if (gptr() < egptr()) return egptr() - gptr();
  return standard_input_ready() ? 1 : 0;
}

}  // namespace scenario::lsp
