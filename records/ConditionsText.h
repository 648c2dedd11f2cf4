// ConditionsText.h: a row filter's conditions in a few words, as the watch rules' list shows them.
#pragma once

#include <string>

#include "records/RowFilter.h"

namespace records {

// The conditions set, in the order the filter's fields come, e.g.
// "link down", not "debug", match case, severity up to Error, 2 senders hidden,
// only 1 host, 3 apps hidden and "every row" when none is set. Match case is
// named only beside a text.
std::string ConditionsText(const RowFilter& filter);

}  // namespace records
