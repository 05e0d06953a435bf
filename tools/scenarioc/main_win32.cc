// scenarioc's entry point on Windows: the arguments arrive as UTF-16, so that
// file names in any script reach the tool, and what the tool prints in UTF-8
// reaches a console as the characters it encodes.
#include <windows.h>

#include <cstring>
#include <iostream>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "base/wide_text.h"
#include "scenarioc/main.h"

namespace {

// The end of the last whole UTF-8 character in [begin, end): a character cut
// short at the end waits for the rest of its bytes.
const char* end_of_whole_characters(const char* begin, const char* end) {
  const char* p = end;
  int continuation = 0;
  while (p > begin && continuation < 3 && (static_cast<unsigned char>(p[-1]) & 0xC0) == 0x80) {
    --p;
    ++continuation;
  }
  if (p == begin) return end;
  const auto lead = static_cast<unsigned char>(p[-1]);
  const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return length > continuation + 1 ? p - 1 : end;
}

// Shows UTF-8 text on a console with WriteConsoleW, which takes UTF-16 and so
// shows every script whatever the console's code page.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {
    setp(buffer_, buffer_ + sizeof buffer_);
  }

 protected:
  int_type overflow(int_type c) override {
    if (write_out() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return write_out(); }

 private:
  int write_out() {
    const char* whole = end_of_whole_characters(pbase(), pptr());
    const std::wstring text = scenario::wide_of(std::string_view(pbase(), whole - pbase()));
    bool written = true;
    for (size_t done = 0; written && done < text.size();) {
      DWORD n = 0;
      written = ::WriteConsoleW(console_, text.data() + done,
                                static_cast<DWORD>(text.size() - done), &n, nullptr) != 0;
      done += n;
    }
    const size_t rest = pptr() - whole;
    std::memmove(buffer_, whole, rest);
    setp(buffer_, buffer_ + sizeof buffer_);
    pbump(static_cast<int>(rest));
    return written ? 0 : -1;
  }

  HANDLE console_;
  char buffer_[4096];
};

// Puts a ConsoleBuffer behind `stream` while the standard handle is a
// console; output to a file or a pipe stays UTF-8 bytes.
class ConsoleStream {
 public:
  ConsoleStream(std::ostream& stream, DWORD standard_handle) : stream_(stream) {
    const HANDLE handle = ::GetStdHandle(standard_handle);
    DWORD mode;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !::GetConsoleMode(handle, &mode)) {
      return;
    }
    buffer_.emplace(handle);
    previous_ = stream_.rdbuf(&*buffer_);
  }
  ~ConsoleStream() {
    if (!buffer_) return;
    stream_.flush();
    stream_.rdbuf(previous_);
  }
  ConsoleStream(const ConsoleStream&) = delete;
  ConsoleStream& operator=(const ConsoleStream&) = delete;

 private:
  std::ostream& stream_;
  std::optional<ConsoleBuffer> buffer_;
  std::streambuf* previous_ = nullptr;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const ConsoleStream out(std::cout, STD_OUTPUT_HANDLE);
  const ConsoleStream err(std::cerr, STD_ERROR_HANDLE);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(scenario::utf8_of(argv[i]));
  return scenario::scenarioc_main(args);
}
