// Golden files: a test's actual text compared with a file kept in the tree,
// and rewritten from it when the environment sets SCENARIO_UPDATE_GOLDEN=1.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace scenario::testing {

// `name` under the tests folder of the source tree.
std::filesystem::path tests_path(const std::string& name);

// Success when the bytes of `golden` are `actual`. Otherwise the failure names
// the file and shows the first lines that differ, the golden's marked "-" and
// the actual ones "+". Under SCENARIO_UPDATE_GOLDEN=1 the file is written with
// `actual` instead (only when it differs), and the result is success.
::testing::AssertionResult matches_golden(const std::filesystem::path& golden,
                                          const std::string& actual);

}  // namespace scenario::testing
