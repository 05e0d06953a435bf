// Whether a text of the station table can stand as the last value of a source
// record: the reader ends a text field at a comma or a line end and drops the
// blanks around it, so a text holding one of those never came from a source.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

class Recovery;

// Empty when `text` can be written; otherwise why not.
std::string unwritable_text_reason(std::string_view text);

// Throws naming the entry when `text`, the entry's `what`, cannot be written.
void require_writable_text(const Recovery& r, int entry, std::string_view text, const char* what);

}  // namespace scenario
