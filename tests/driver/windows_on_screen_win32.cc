// Lists the visible top-level windows of a given title and their controls, as
// Win32 sees them, one line each, for a test that drives the Windows program
// under Wine: the class, the text, the client area and where each control sits.
//   windows_on_screen TITLE
#include <windows.h>

#include <cstdio>
#include <string>

#include "base/wide_text.h"

namespace {

std::string text_of(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return scenario::utf8_of(text);
}

std::string class_of(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return scenario::utf8_of(name);
}

BOOL CALLBACK print_control(HWND control, LPARAM parent) {
  if (::GetParent(control) != reinterpret_cast<HWND>(parent)) return TRUE;
  RECT r;
  ::GetWindowRect(control, &r);
  // The control's place within its parent's client area.
  POINT top_left = {r.left, r.top};
  ::ScreenToClient(reinterpret_cast<HWND>(parent), &top_left);
  const auto style = static_cast<unsigned long>(::GetWindowLongW(control, GWL_STYLE));
  std::string image;
  // A static control made to hold an icon: whether it holds one.
  if (class_of(control) == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
    image = ::SendMessageW(control, STM_GETICON, 0, 0) != 0 ? " icon=set" : " icon=none";
  }
  std::printf("control class=\"%s\" text=\"%s\" at=%ld,%ld size=%ldx%ld centre=%ld,%ld%s\n",
              class_of(control).c_str(), text_of(control).c_str(), top_left.x, top_left.y,
              r.right - r.left, r.bottom - r.top, (r.left + r.right) / 2, (r.top + r.bottom) / 2,
              image.c_str());
  return TRUE;
}

struct Search {
  std::wstring title;
  int found = 0;
};

BOOL CALLBACK print_window(HWND window, LPARAM search_address) {
  auto& search = *reinterpret_cast<Search*>(search_address);
  if (!::IsWindowVisible(window) || scenario::wide_of(text_of(window)) != search.title) return TRUE;
  RECT client;
  RECT frame;
  ::GetClientRect(window, &client);
  ::GetWindowRect(window, &frame);
  std::printf("window class=\"%s\" text=\"%s\" client=%ldx%ld frame=%ld,%ld,%ld,%ld\n",
              class_of(window).c_str(), text_of(window).c_str(), client.right, client.bottom,
              frame.left, frame.top, frame.right, frame.bottom);
  ::EnumChildWindows(window, print_control, reinterpret_cast<LPARAM>(window));
  ++search.found;
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: windows_on_screen TITLE\n");
    return 2;
  }
  Search search{scenario::wide_of(argv[1])};
  ::EnumWindows(print_window, reinterpret_cast<LPARAM>(&search));
  return search.found > 0 ? 0 : 1;
}
