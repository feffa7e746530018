// Checks made on a document read into memory before it replaces the open one.
#pragma once
#include <string>

#include "general/container.h"

namespace zantro {

// Recomputes every sheet and then the breakdown list of doc in memory, as opening it and
// visiting every tab would. An amount that does not fit raises FileError
// "NAME: item N, line R (FIELD): 金額の桁があふれました (overflow)"; nothing is written.
void CheckRecomputation(const ParsedDocument& doc, const std::string& name);

}  // namespace zantro
