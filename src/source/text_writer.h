// `salva_testo`, the one text writer of the system: the two source emitters and
// the three documents all go through it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// Ends a line list; never written, so it cannot stand as a line of content.
inline constexpr std::string_view kEndMarker = "riferimento fine del file";

// Lines are single-byte text: "à" is held and written as the byte 0xE0.
using Righe = std::vector<std::string>;

// The bytes `salva_testo` writes: every entry before the end marker (or all of
// them, when there is none), each followed by CR LF.
std::string text_file_bytes(const Righe& righe);

// Writes the list as `folder`/`name` under the replace-file rule.
void salva_testo(const std::filesystem::path& folder, const std::string& name, const Righe& righe);

}  // namespace scenario
