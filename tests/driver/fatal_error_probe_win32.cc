// velmora_dorsel's own build, run by a test under a display: once the waiting
// window is shown it prints the label's font and waits for a line on standard
// input, so that the window can be looked at; then it puts a speed-indicator
// board at 0 m, in the header cell, into the line source, so that the compile
// step stops with fatal error 1250 and shows its box.
#include <windows.h>

#include <iostream>
#include <string>

#include "base/file_naming.h"
#include "base/program_folder.h"
#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "base/wide_text.h"
#include "driver/build_driver.h"
#include "driver/user_interface.h"
#include "source/builtin_line.h"
#include "source/byte_source.h"

namespace {

constexpr char kBoards[] = "[cartelli]\r\n";
constexpr char kBoardAtStart[] =
    "indicatori_vmax,       0, 100, 110, 115,  0, 100, 110, 115,  0\r\n";

std::string read_all(const std::filesystem::path& path) {
  scenario::FileByteSource source(path);
  std::string bytes;
  char buffer[1 << 16];
  while (const size_t n = source.read(buffer, sizeof buffer)) bytes.append(buffer, n);
  return bytes;
}

// The font of the first static control among this thread's windows: face,
// height in pixels (negative: of the characters, without leading), weight and
// character set. A font can be asked about only by the process that made it.
BOOL CALLBACK print_font_of_label(HWND control, LPARAM) {
  wchar_t class_name[64] = {};
  ::GetClassNameW(control, class_name, 64);
  if (std::wstring(class_name) != L"Static") return TRUE;
  LOGFONTW font = {};
  const auto handle = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  if (handle == nullptr || ::GetObjectW(handle, sizeof font, &font) == 0) return TRUE;
  std::cout << "label font face=\"" << scenario::utf8_of(font.lfFaceName)
            << "\" height=" << font.lfHeight << " weight=" << font.lfWeight
            << " charset=" << static_cast<int>(font.lfCharSet) << std::endl;
  return FALSE;
}

BOOL CALLBACK print_label_fonts(HWND window, LPARAM) {
  ::EnumChildWindows(window, print_font_of_label, 0);
  return TRUE;
}

class Probe : public scenario::BuildTrace {
 public:
  explicit Probe(std::filesystem::path folder) : folder_(std::move(folder)) {}

  void step(std::string_view name) override {
    if (name == "dati_linea") {
      ::EnumThreadWindows(::GetCurrentThreadId(), print_label_fonts, 0);
      std::cout << "window shown" << std::endl;
      std::string line;
      std::getline(std::cin, line);
    } else if (name == "memorizza_percorso") {
      put_board_at_start();
    }
  }

 private:
  void put_board_at_start() {
    const std::filesystem::path line_file =
        scenario::file_in(folder_, scenario::line_source_name(std::string(scenario::kBuiltinNome)));
    std::string text = read_all(line_file);
    const size_t boards = text.find(kBoards);
    if (boards == std::string::npos) throw scenario::RunTimeFailure("no [cartelli] section");
    text.insert(boards + sizeof kBoards - 1, kBoardAtStart);
    scenario::replace_file(line_file, text);
  }

  std::filesystem::path folder_;
};

}  // namespace

// As the program's main, with the probe as the build's trace.
int main() {
  std::unique_ptr<scenario::UserInterface> ui =
      scenario::open_user_interface("velmora_dorsel", std::cerr);
  int status;
  try {
    const std::filesystem::path folder = scenario::program_folder();
    Probe probe(folder);
    status = scenario::Form_Load(*ui, folder, std::cerr, &probe);
  } catch (const scenario::RunTimeFailure& failure) {
    status = scenario::report_run_time_failure(*ui, failure, std::cerr);
  }
  scenario::end_build(*ui);
  return status;
}
