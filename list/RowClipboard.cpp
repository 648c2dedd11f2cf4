// RowClipboard.cpp: one string of Capture lines, handed to the clipboard in one block.
#include "list/MessageList.h"

#include <cstring>
#include <new>

#include "records/CaptureLine.h"

namespace list {

namespace {

// The clipboard owns the block once SetClipboardData has taken it.
bool PutTextOnClipboard(HWND owner, const std::string& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    bool placed = false;
    if (const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        if (void* bytes = GlobalLock(block)) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(block);
            placed = SetClipboardData(CF_TEXT, block) != nullptr;
        }
        if (!placed) GlobalFree(block);
    }
    CloseClipboard();
    return placed;
}

}  // namespace

std::string MessageList::SelectedAsCaptureLines() {
    CatchUp();
    const records::ShownRows& shown = book_.Shown();
    std::string lines;
    for (int row = NextSelected(win::ListView::kEveryRow); row >= 0; row = NextSelected(row)) {
        const size_t index = static_cast<size_t>(row);
        if (index < shown.Count()) records::AppendCaptureLine(lines, shown.Row(index));
    }
    return lines;
}

// Runs inside the window procedure: a failed allocation is answered as a failed copy.
bool MessageList::CopySelected(HWND owner) {
    try {
        const std::string lines = SelectedAsCaptureLines();
        if (lines.empty()) return true;
        return PutTextOnClipboard(owner, lines);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
}

}  // namespace list
