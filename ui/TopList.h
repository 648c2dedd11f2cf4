// TopList.h: a titled list of the most frequent among the rows held, each with its rows and its share of them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "win/ListView.h"

namespace ui {

constexpr int kPercent = 100;  // a share's whole

struct TopEntry {
    std::string name;  // as the list shows it
    size_t rows;
};

// A static title above a report list of three columns: the name, its rows
// and its share of every row held. Its rows are updated in place, so the
// selection and the scrolling stay.
class TopList {
public:
    // Creates the title and the list as children of parent; false on failure.
    bool Create(HWND parent, int titleId, int listId, const char* title, const char* nameHeader);
    void SetFont(HFONT font);
    // The title's line at the top of the area, the list below it.
    void Place(const RECT& area, int titleHeight);
    // The entries, in the order given, with their shares of heldRows.
    void Show(const std::vector<TopEntry>& entries, size_t heldRows);

    HWND List() const { return list_.Handle(); }
    // The row selected, or -1.
    int SelectedRow() const { return list_.NextRow(win::ListView::kEveryRow, LVNI_SELECTED); }

private:
    HWND title_ = nullptr;  // children of the parent, destroyed with it
    win::ListView list_;
};

}  // namespace ui
