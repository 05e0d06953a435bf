// Runs a command and notes every top-level window it maps on the display, so
// that a script can check a window that may show only for a few milliseconds.
// Usage: window_observer REPORT SECONDS COMMAND [ARGUMENT...]
// REPORT gets one line per window mapped, "mapped WIDTHxHEIGHT TITLE", or
// "gone" when the window had gone before it could be looked at. The exit
// status is the command's, or 124 when it was stopped after SECONDS.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kTimedOut = 124;
constexpr int kCannotObserve = 125;

bool x_error = false;

// A window may go between the event that names it and the questions about it.
int note_x_error(Display*, XErrorEvent*) {
  x_error = true;
  return 0;
}

std::string title_of(Display* display, Window window) {
  XTextProperty name;
  if (XGetWMName(display, window, &name) == 0 || name.value == nullptr) return "";
  std::string title(reinterpret_cast<const char*>(name.value), name.nitems);
  XFree(name.value);
  return title;
}

// The window's size and title while it is still mapped: the server is held,
// so that it cannot change between the questions.
std::string describe(Display* display, Window window) {
  XGrabServer(display);
  x_error = false;
  XWindowAttributes attributes;
  const bool known = XGetWindowAttributes(display, window, &attributes) != 0 && !x_error &&
                     attributes.map_state == IsViewable;
  const std::string title = known ? title_of(display, window) : "";
  XUngrabServer(display);
  XSync(display, False);
  if (!known || x_error) return "gone";
  return "mapped " + std::to_string(attributes.width) + "x" + std::to_string(attributes.height) +
         " " + title;
}

void report_mapped_windows(Display* display, FILE* report) {
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != MapNotify) continue;
    std::fprintf(report, "%s\n", describe(display, event.xmap.window).c_str());
    std::fflush(report);
  }
}

// Reports every window mapped among the root window's children until `child`
// ends or the time is up; returns the exit status.
int watch(Display* display, pid_t child, int seconds, FILE* report) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  pollfd x_connection = {ConnectionNumber(display), POLLIN, 0};
  for (;;) {
    report_mapped_windows(display, report);
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) {
      // Events of the command's last moments may still be on their way.
      XSync(display, False);
      report_mapped_windows(display, report);
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return kTimedOut;
    }
    poll(&x_connection, 1, 20);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: window_observer REPORT SECONDS COMMAND [ARGUMENT...]\n");
    return kCannotObserve;
  }
  FILE* report = std::fopen(argv[1], "we");
  Display* display = XOpenDisplay(nullptr);
  if (report == nullptr || display == nullptr) {
    std::fprintf(stderr, "window_observer: cannot write %s or open the display\n", argv[1]);
    return kCannotObserve;
  }
  fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
  XSetErrorHandler(note_x_error);
  // Listening before the command starts, no window of it can be missed.
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  const pid_t child = fork();
  if (child < 0) return kCannotObserve;
  if (child == 0) {
    execvp(argv[3], argv + 3);
    std::perror("window_observer");
    _exit(127);
  }
  const int status = watch(display, child, std::atoi(argv[2]), report);
  XCloseDisplay(display);
  std::fclose(report);
  return status;
}
