// Shows the waiting window, then on a line from standard input compiles a
// scenario with an object in the header cell and shows the fatal error box
// that the compile step asks for (error 1250); lets a script look at both
// under a virtual display.
#include <iostream>
#include <memory>
#include <string>

#include "compiler/compile.h"
#include "compiler/source_files.h"
#include "driver/fatal_error.h"
#include "driver/user_interface.h"

namespace {

// A speed-indicator board at 0 m stands in cell 1, the header cell.
constexpr char kLineSource[] =
    "[generale]\r\nlunghezza percorso, 10000\r\n[cartelli]\r\n"
    "indicatori_vmax, 0, 60,60,60,0, 60,60,60,0\r\n[fine]\r\n";
constexpr char kTrainSource[] = "[generale]\r\nvelocita, 0, 100\r\n[fine]\r\n";

}  // namespace

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

  scenario::Compilation compiled(scenario::BuildIdentity{"Prova", "1", {}});
  scenario::MemorySources sources(kLineSource, kTrainSource);
  scenario::MemorySink sink;
  scenario::compile(compiled, sources, sink);
  const scenario::CompileResult& result = compiled.result;
  if (result.fatal_error != 1250 || !sink.files.empty()) {
    std::cout << "unexpected compile result " << result.fatal_error << std::endl;
    return 4;
  }
  scenario::errore(*ui, std::to_string(result.fatal_error));
  std::cout << "box closed" << std::endl;
  ui->close();
  return 0;
}
