// The graphical face of the build: the waiting window with its one label
// "Attendere" and the modal box of a fatal error. Only this file sees FLTK and
// X; it is built as a module of its own, which the program loads only when
// there is a display.
#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xlib.h>

#include "base/rounding.h"
#include "driver/window_layout.h"
#include "driver/window_module.h"

namespace scenario {
namespace {

// Outside this range a screen's stated size is taken to be made up.
constexpr double kLowestDpi = 48;
constexpr double kHighestDpi = 480;

// The message box: its text in points, its layout in twips.
constexpr int kMessagePoints = 10;
constexpr int kMessageMargin = 240;
constexpr int kMessageMinWidth = 2400;
constexpr int kButtonWidth = 1125;
constexpr int kButtonHeight = 345;

// How long the waiting window may take to appear before the build goes on.
constexpr std::chrono::milliseconds kPaintTimeout{3000};

double screen_dpi() {
  float horizontal = 0;
  float vertical = 0;
  Fl::screen_dpi(horizontal, vertical);
  if (!(horizontal >= kLowestDpi && horizontal <= kHighestDpi)) return kFallbackDpi;
  // A screen's size is kept in whole millimetres; its resolution is a whole number.
  return round_half_even(horizontal);
}

// Puts a window of the given size in the middle of the main screen.
void centre_on_screen(Fl_Window& window) {
  int x, y, w, h;
  Fl::screen_xywh(x, y, w, h, 0);
  window.position(x + std::max(0, (w - window.w()) / 2), y + std::max(0, (h - window.h()) / 2));
}

// Labels give '@' a meaning of their own; doubled it stands for itself.
std::string plain_label(const std::string& text) {
  std::string label;
  for (char c : text) {
    label += c;
    if (c == '@') label += '@';
  }
  return label;
}

// A window that notes when it has been drawn.
class PaintedWindow : public Fl_Window {
 public:
  PaintedWindow(int w, int h, const char* title) : Fl_Window(w, h, title) {}
  bool painted() const { return painted_; }

 protected:
  void draw() override {
    Fl_Window::draw();
    painted_ = true;
  }

 private:
  bool painted_ = false;
};

// Handles events until the window is drawn, so that it shows before the build
// starts; the build then runs without an event loop and it is not repainted.
void wait_until_painted(PaintedWindow& window) {
  const auto deadline = std::chrono::steady_clock::now() + kPaintTimeout;
  while (!window.painted() && std::chrono::steady_clock::now() < deadline) Fl::wait(0.05);
  Fl::flush();
  XSync(fl_display, False);
}

std::unique_ptr<PaintedWindow> make_waiting_window(const std::string& title, const Scale& scale) {
  auto window = std::make_unique<PaintedWindow>(scale.twips(kWindowWidth),
                                                scale.twips(kWindowHeight), title.c_str());
  auto* label = new Fl_Box(scale.twips(kLabelLeft), scale.twips(kLabelTop),
                           scale.twips(kLabelWidth), scale.twips(kLabelHeight), kLabelText);
  label->box(FL_NO_BOX);
  label->labelfont(FL_HELVETICA_BOLD);
  label->labelsize(scale.points(kLabelPoints));
  label->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT);
  window->end();
  centre_on_screen(*window);
  return window;
}

// The widest a message may be: two thirds of the main screen.
int widest_text(const Scale& scale) {
  int x, y, w, h;
  Fl::screen_xywh(x, y, w, h, 0);
  return std::max(w * 2 / 3, scale.twips(kMessageMinWidth));
}

void hide_window(Fl_Widget*, void* window) { static_cast<Fl_Window*>(window)->hide(); }

// The text above one OK button; Enter, the button and the window's close box
// all close it.
void run_message_box(const std::string& title, const std::string& text, const Scale& scale) {
  const std::string label = plain_label(text);
  const int font_size = scale.points(kMessagePoints);
  fl_font(FL_HELVETICA, font_size);
  int text_w = 0;
  int text_h = 0;
  fl_measure(label.c_str(), text_w, text_h, 0);
  // A long text, such as a failure naming a deep path, wraps at blanks.
  Fl_Align wrap = 0;
  if (text_w > widest_text(scale)) {
    text_w = widest_text(scale);
    fl_measure(label.c_str(), text_w, text_h, 0);
    wrap = FL_ALIGN_WRAP;
  }

  const int margin = scale.twips(kMessageMargin);
  const int button_w = scale.twips(kButtonWidth);
  const int button_h = scale.twips(kButtonHeight);
  const int w = std::max(text_w + 2 * margin, scale.twips(kMessageMinWidth));
  const int h = margin + text_h + margin + button_h + margin;

  Fl_Window box(w, h, title.c_str());
  Fl_Box message(margin, margin, w - 2 * margin, text_h, label.c_str());
  message.labelfont(FL_HELVETICA);
  message.labelsize(font_size);
  message.align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT | wrap);
  Fl_Return_Button ok((w - button_w) / 2, h - margin - button_h, button_w, button_h, "OK");
  ok.labelsize(font_size);
  ok.callback(hide_window, &box);
  box.end();
  box.set_modal();
  centre_on_screen(box);
  box.show();
  while (box.shown()) Fl::wait();
  Fl::flush();
}

class WaitingWindow {
 public:
  explicit WaitingWindow(const char* title) : title_(title), scale_(screen_dpi()) {}
  ~WaitingWindow() { close(); }

  void show() {
    if (!window_) window_ = make_waiting_window(title_, scale_);
    window_->show();
    wait_until_painted(*window_);
  }

  void show_message(const std::string& text) { run_message_box(title_, text, scale_); }

  void close() {
    if (!window_) return;
    window_->hide();
    window_.reset();
    Fl::flush();
    XSync(fl_display, False);
  }

 private:
  std::string title_;
  Scale scale_;
  std::unique_ptr<PaintedWindow> window_;
};

// The calls the program makes. None lets an exception out: a window that
// cannot be shown leaves the build to go on without it.
void* open_window(const char* title) noexcept {
  try {
    // FLTK ends the process when it cannot open the display itself; opened
    // here first, a missing display means working without the window.
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    fl_open_display(display);
    return new WaitingWindow(title);
  } catch (...) {
    return nullptr;
  }
}

WaitingWindow& window_of(void* window) { return *static_cast<WaitingWindow*>(window); }

void show_waiting_window(void* window) noexcept {
  try {
    window_of(window).show();
  } catch (...) {
  }
}

int show_message(void* window, const char* text, std::size_t length) noexcept {
  try {
    window_of(window).show_message(std::string(text, length));
    return 1;
  } catch (...) {
    return 0;
  }
}

void close_window(void* window) noexcept { window_of(window).close(); }

void destroy_window(void* window) noexcept { delete &window_of(window); }

constexpr WindowModuleCalls kCalls = {kWindowModuleVersion, sizeof(WindowModuleCalls),
                                      open_window,          show_waiting_window,
                                      show_message,         close_window,
                                      destroy_window};

}  // namespace
}  // namespace scenario

extern "C" __attribute__((visibility("default"))) const scenario::WindowModuleCalls*
scenario_window_calls() {
  return &scenario::kCalls;
}
