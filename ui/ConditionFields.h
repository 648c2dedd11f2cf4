// ConditionFields.h: a row filter's fields (IDC_FILTER_*), shared by the Filter and Watch rule dialogs.
#pragma once

#include <windows.h>

#include <new>
#include <utility>
#include <vector>

#include "records/HeaderCensus.h"
#include "records/RecordStore.h"
#include "records/RowFilter.h"
#include "records/SenderCensus.h"
#include "win/ModalDialog.h"

namespace ui {

// What the senders', hosts' and apps' lists offer, in the order listed: those
// of the rows held, and those the filter names with 0 rows.
struct ConditionChoices {
    std::vector<records::SenderCount> senders;
    std::vector<records::NameCount> hosts;
    std::vector<records::NameCount> apps;
};

// Throws std::bad_alloc.
ConditionChoices CountConditionChoices(const records::RecordStore& rows, const records::RowFilter& filter);

// Fills the lowest severity's choices and the senders', hosts' and apps'
// lists as the dialog opens; without memory for a list it has what it has.
void FillConditionChoices(HWND dialog, const ConditionChoices& choices);

// The choices must be those the lists were filled with.
void ShowConditions(HWND dialog, const records::RowFilter& filter, const ConditionChoices& choices);

// Throws std::bad_alloc without memory for the texts, senders, hosts or apps.
records::RowFilter ReadConditions(HWND dialog, const ConditionChoices& choices);

// Runs a dialog made of the value and the choices the conditions' fields
// offer (the rows' senders, hosts and apps, counted, and those the conditions
// name); true when it ended with OK. Without memory to count them it does not open.
template <typename Dialog, typename Value>
bool EditConditions(HWND owner, int dialogResourceId, Value& value, const records::RowFilter& conditions,
                    const records::RecordStore& rows) {
    ConditionChoices choices;
    try {
        choices = CountConditionChoices(rows, conditions);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return win::EditInDialog<Dialog>(owner, dialogResourceId, value, std::move(choices));
}

}  // namespace ui
