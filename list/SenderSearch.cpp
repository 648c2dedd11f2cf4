// SenderSearch.cpp: the senders are digits and dots, so code units compare as they are.
#include "list/SenderSearch.h"

#include "net/DottedQuad.h"

namespace list {

namespace {

bool SenderMatches(std::uint32_t address, const wchar_t* wanted, bool prefixOnly) {
    char sender[net::kDottedQuadCapacity];
    const size_t length = net::FormatDottedQuad(address, sender);
    size_t i = 0;
    for (; wanted[i]; ++i)
        if (i == length || static_cast<unsigned>(wanted[i]) != static_cast<unsigned char>(sender[i])) return false;
    return prefixOnly || i == length;
}

}  // namespace

LRESULT FindRowBySender(const records::ShownRows& rows, size_t count, const NMLVFINDITEMW& find) {
    const auto& wanted = find.lvfi;
    if (!(wanted.flags & (LVFI_STRING | LVFI_PARTIAL)) || !wanted.psz) return -1;
    const bool prefixOnly = (wanted.flags & LVFI_PARTIAL) != 0;
    const size_t start = find.iStart > 0 && static_cast<size_t>(find.iStart) < count ? find.iStart : 0;
    for (size_t index = start; index < count; ++index)
        if (SenderMatches(rows.Row(index).senderAddress, wanted.psz, prefixOnly)) return static_cast<LRESULT>(index);
    if (!(wanted.flags & LVFI_WRAP)) return -1;
    for (size_t index = 0; index < start; ++index)
        if (SenderMatches(rows.Row(index).senderAddress, wanted.psz, prefixOnly)) return static_cast<LRESULT>(index);
    return -1;
}

}  // namespace list
