// ConditionFields.h: a row filter's fields (IDC_FILTER_*), shared by the Filter and Watch rule dialogs.
#pragma once

#include <windows.h>

#include <vector>

#include "records/RowFilter.h"
#include "records/SenderCensus.h"

namespace ui {

// Fills the lowest severity's choices and the senders' list, in the order
// given, as the dialog opens; without memory for the list it has what it has.
void FillConditionChoices(HWND dialog, const std::vector<records::SenderCount>& senders);

void ShowConditions(HWND dialog, const records::RowFilter& filter);

// Throws std::bad_alloc without memory for the texts or senders.
records::RowFilter ReadConditions(HWND dialog);

}  // namespace ui
