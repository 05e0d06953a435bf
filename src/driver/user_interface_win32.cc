// The Windows face of the build, with Win32 calls only and linked into the
// program: the waiting window with its one label "Attendere", and the fatal
// error in a MessageBox with one OK button and no icon.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

#include "base/wide_text.h"
#include "driver/user_interface.h"
#include "driver/window_layout.h"

namespace scenario {
namespace {

// Where the face is missing, Windows draws the label in its substitute.
constexpr wchar_t kLabelFace[] = L"MS Sans Serif";

constexpr wchar_t kWindowClass[] = L"velmora_dorsel.Form1";
// A caption and a system menu; no sizing border, nothing to maximise.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

int screen_dpi() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kFallbackDpi;
}

// The build runs without a message loop, so the window is only asked to close
// while a message box is up; it stays until the build ends.
LRESULT CALLBACK form_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_CLOSE) return 0;
  return ::DefWindowProcW(window, message, w, l);
}

bool register_window_class() {
  WNDCLASSEXW form = {};
  form.cbSize = sizeof form;
  form.lpfnWndProc = form_procedure;
  form.hInstance = ::GetModuleHandleW(nullptr);
  form.hCursor = ::LoadCursorW(nullptr, IDC_WAIT);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = kWindowClass;
  return ::RegisterClassExW(&form) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The outer size of a window whose client area is `client`, put in the
// middle of the work area of the main screen.
RECT centred_frame(SIZE client) {
  RECT frame = {0, 0, client.cx, client.cy};
  ::AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
  RECT work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const LONG w = frame.right - frame.left;
  const LONG h = frame.bottom - frame.top;
  const LONG left = work.left + std::max(0L, (work.right - work.left - w) / 2);
  const LONG top = work.top + std::max(0L, (work.bottom - work.top - h) / 2);
  return {left, top, left + w, top + h};
}

class WaitingWindow : public UserInterface {
 public:
  WaitingWindow(HWND form, HFONT font, std::wstring title, std::ostream& err)
      : form_(form), font_(font), title_(std::move(title)), console_(err) {}
  ~WaitingWindow() override {
    close();
    ::DeleteObject(font_);
  }

  void show_waiting_window() override {
    ::ShowWindow(form_, SW_SHOWNORMAL);
    ::SetForegroundWindow(form_);
    // Painted now, label included: the build that follows handles no messages.
    ::RedrawWindow(form_, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    handle_pending_messages();
    ::GdiFlush();
  }

  void show_message(const std::string& text) override {
    const HWND owner = ::IsWindowVisible(form_) ? form_ : nullptr;
    if (::MessageBoxW(owner, wide_of(text).c_str(), title_.c_str(), MB_OK) == 0) {
      console_.show_message(text);
    }
  }

  void close() override {
    if (form_ == nullptr) return;
    ::DestroyWindow(form_);
    form_ = nullptr;
    handle_pending_messages();
  }

  bool is_graphical() const override { return true; }

 private:
  static void handle_pending_messages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }

  HWND form_;
  HFONT font_;
  std::wstring title_;
  ConsoleInterface console_;
};

HFONT make_label_font(const Scale& scale) {
  return ::CreateFontW(-scale.points(kLabelPoints), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, kLabelFace);
}

// Why the last window call failed; without a display some systems set no code.
std::string window_failure() {
  const DWORD error = ::GetLastError();
  return error != 0 ? system_reason(error) : "no display to open a window on";
}

// The window with its label, not yet shown; null with the reason in `reason`.
HWND make_form(const std::wstring& title, const Scale& scale, HFONT font, std::string& reason) {
  if (!register_window_class()) {
    reason = window_failure();
    return nullptr;
  }
  const RECT frame = centred_frame({scale.twips(kWindowWidth), scale.twips(kWindowHeight)});
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  const HWND form = ::CreateWindowExW(0, kWindowClass, title.c_str(), kWindowStyle, frame.left,
                                      frame.top, frame.right - frame.left, frame.bottom - frame.top,
                                      nullptr, nullptr, instance, nullptr);
  if (form == nullptr) {
    reason = window_failure();
    return nullptr;
  }
  const HWND label =
      ::CreateWindowExW(0, L"STATIC", wide_of(kLabelText).c_str(),
                        WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                        scale.twips(kLabelLeft), scale.twips(kLabelTop), scale.twips(kLabelWidth),
                        scale.twips(kLabelHeight), form, nullptr, instance, nullptr);
  if (label == nullptr) {
    reason = window_failure();
    ::DestroyWindow(form);
    return nullptr;
  }
  ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return form;
}

}  // namespace

std::unique_ptr<UserInterface> open_user_interface(const std::string& title, std::ostream& err) {
  // Sizes are worked out at the screen's own resolution, not at a 96 dpi that
  // Windows would then stretch.
  ::SetProcessDPIAware();
  const Scale scale(screen_dpi());
  const std::wstring wide_title = wide_of(title);
  const HFONT font = make_label_font(scale);
  std::string reason;
  const HWND form = make_form(wide_title, scale, font, reason);
  if (form == nullptr) {
    ::DeleteObject(font);
    err << title << ": no waiting window: " << reason << '\n';
    return std::make_unique<ConsoleInterface>(err);
  }
  return std::make_unique<WaitingWindow>(form, font, wide_title, err);
}

}  // namespace scenario
