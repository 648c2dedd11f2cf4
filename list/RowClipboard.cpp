// RowClipboard.cpp: the Capture lines as received and as shown, handed to the clipboard in one block each.
#include "list/MessageList.h"

#include <cstring>
#include <new>

#include "records/CaptureLine.h"
#include "records/ShownText.h"

namespace list {

namespace {

// The clipboard owns a block once SetClipboardData has taken it.
bool PutOnClipboard(UINT format, const void* text, size_t bytes) {
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return false;
    bool placed = false;
    if (void* copy = GlobalLock(block)) {
        std::memcpy(copy, text, bytes);
        GlobalUnlock(block);
        placed = SetClipboardData(format, block) != nullptr;
    }
    if (!placed) GlobalFree(block);
    return placed;
}

bool PutTextsOnClipboard(HWND owner, const CopiedText& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    const bool placed = PutOnClipboard(CF_TEXT, text.bytes.c_str(), text.bytes.size() + 1) &&
                        PutOnClipboard(CF_UNICODETEXT, text.shown.c_str(), (text.shown.size() + 1) * sizeof(wchar_t));
    CloseClipboard();
    return placed;
}

}  // namespace

// A line as shown: the whole line is UTF-8 exactly when its message is.
CopiedText MessageList::SelectedAsCaptureLines() {
    CatchUp();
    const records::ShownRows& shown = book_.Shown();
    CopiedText text;
    for (int row = NextSelected(win::ListView::kEveryRow); row >= 0; row = NextSelected(row)) {
        const size_t index = static_cast<size_t>(row);
        if (index >= shown.Count()) continue;
        const records::StoredRow stored = shown.Row(index);
        const size_t start = text.bytes.size();
        records::AppendCaptureLine(text.bytes, stored);
        const size_t lineLength = text.bytes.size() - start;
        const size_t shownStart = text.shown.size();
        text.shown.resize(shownStart + lineLength + 1);
        const size_t shownLength =
            records::WriteShownPart(text.bytes.data() + start, lineLength,
                                    records::IsShownAsUtf8(stored.message, stored.messageLength),
                                    &text.shown[shownStart], lineLength + 1);
        text.shown.resize(shownStart + shownLength);
    }
    return text;
}

// Runs inside the window procedure: a failed allocation is answered as a failed copy.
bool MessageList::CopySelected(HWND owner) {
    try {
        const CopiedText text = SelectedAsCaptureLines();
        if (text.bytes.empty()) return true;
        return PutTextsOnClipboard(owner, text);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
}

}  // namespace list
