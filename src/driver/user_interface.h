// What the person running the build sees: the waiting window with its label
// "Attendere" and the modal box of a fatal error. Without a display the window
// is left out and the box becomes one line on standard error.
#pragma once

#include <memory>
#include <ostream>
#include <string>

namespace scenario {

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Shows the waiting window and paints it at once, before the long build.
  virtual void show_waiting_window() = 0;
  // Shows `text` in a modal box with one OK button and returns once it is closed.
  virtual void show_message(const std::string& text) = 0;
  // Closes every window the build opened.
  virtual void close() = 0;
  virtual bool is_graphical() const = 0;
};

// No window; messages become lines on `err`.
class ConsoleInterface : public UserInterface {
 public:
  explicit ConsoleInterface(std::ostream& err) : err_(err) {}
  void show_waiting_window() override {}
  void show_message(const std::string& text) override { err_ << text << '\n' << std::flush; }
  void close() override {}
  bool is_graphical() const override { return false; }

 private:
  std::ostream& err_;
};

// The waiting window when a display can be opened, else the console. On
// Linux the window lives in a module beside the executable, loaded only when
// DISPLAY names a display, so that a build without one never loads the
// window's libraries; on Windows it is linked in. A window that cannot be
// made gives one line on `err`.
std::unique_ptr<UserInterface> open_user_interface(const std::string& title, std::ostream& err);

}  // namespace scenario
