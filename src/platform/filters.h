// File-dialog filters: the documents write "Description|*.a;*.b|Description2|*.c"; Qt wants
// "Description (*.a *.A *.b *.B);;Description2 (*.c *.C)". File names on Linux are case
// sensitive, so every pattern is offered in its written and its upper-case form; empty
// patterns are dropped.
#pragma once
#include <string>
#include <string_view>

namespace zantro {

std::string QtFilter(std::string_view filter);

}  // namespace zantro
