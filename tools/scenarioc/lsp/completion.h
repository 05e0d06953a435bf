// Completion of record keywords: every kind of record the file takes, as a
// snippet that names each of its values in order.
#pragma once

#include <string_view>

#include "scenarioc/output/json_text.h"

namespace scenario::lsp {

// The items for a position whose line reads `before` up to the cursor: none
// once a comma stands before it (the cursor is among a record's values).
// `train_file` tells the train file's kinds from the line file's.
Json completion_items(bool train_file, std::string_view before);

}  // namespace scenario::lsp
