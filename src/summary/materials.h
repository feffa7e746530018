// The bill of materials as the dialog lists it: narrowed by a text and put in an order.
#pragma once
#include <string_view>
#include <vector>

#include "summary/summary.h"

namespace zantro::summary {

// The orders the dialog offers, in its list's order: as found in the document, by name
// (then specification and unit), and by cost amount, submitted amount or cost quantity,
// largest first. Rows that compare equal keep the order they were found in.
enum class MaterialOrder { AsFound, Name, CostAmount, SubAmount, CostQuantity };

// The rows whose name, specification or unit holds filterUtf8 (ASCII letters without regard
// to case; an empty filter keeps every row), in the order asked for.
std::vector<MaterialRow> SelectMaterials(const std::vector<MaterialRow>& rows, std::string_view filterUtf8,
                                         MaterialOrder order);

}  // namespace zantro::summary
