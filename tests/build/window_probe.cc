// Shows the waiting window, then on a line from standard input the fatal error
// box of error 1250; lets a script look at both under a virtual display.
#include <iostream>
#include <memory>
#include <string>

#include "build/fatal_error.h"
#include "build/user_interface.h"

int main() {
  std::unique_ptr<scenario::UserInterface> ui =
      scenario::open_user_interface("velmora_dorsel", std::cerr);
  if (!ui->is_graphical()) {
    std::cerr << "window_probe: no display\n";
    return 3;
  }
  ui->show_waiting_window();
  std::cout << "window shown" << std::endl;
  std::string line;
  std::getline(std::cin, line);
  scenario::errore(*ui, "1250");
  std::cout << "box closed" << std::endl;
  ui->close();
  return 0;
}
