#include "source/text_writer.h"

#include "base/file_naming.h"
#include "base/replace_file.h"

namespace scenario {

std::string text_file_bytes(const Righe& righe) {
  std::string bytes;
  for (const std::string& riga : righe) {
    if (riga == kEndMarker) break;
    bytes += riga;
    bytes += "\r\n";
  }
  return bytes;
}

void salva_testo(const std::filesystem::path& folder, const std::string& name, const Righe& righe) {
  replace_file(file_in(folder, name), text_file_bytes(righe));
}

}  // namespace scenario
