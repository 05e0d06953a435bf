// Who a build is for and where its files live: the scenario name `nome`, the
// train number `treno` and the folder `cartella`. Every file name is made from
// them. The build context holds them; the source emitters and the documents
// need nothing else of it.
#pragma once

#include <filesystem>
#include <string>

namespace scenario {

struct BuildIdentity {
  std::string nome;
  std::string treno;
  std::filesystem::path cartella;  // the folder every file of the build lives in
};

}  // namespace scenario
