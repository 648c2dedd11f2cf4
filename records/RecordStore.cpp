// RecordStore.cpp: chunks from VirtualAlloc, filled front to back, given back oldest first.
#include "records/RecordStore.h"

#include <windows.h>

#include <cstring>
#include <new>

#include "records/WatchRule.h"

namespace records {

char* RecordStore::TakeChunk(size_t size) {
    if (size == kChunkBytes && spareChunk_) {
        char* const spare = spareChunk_;
        spareChunk_ = nullptr;
        return spare;
    }
    if (size > mostBytes_ - bytesHeld_) return nullptr;
    char* const base = static_cast<char*>(VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!base) return nullptr;
    bytesHeld_ += size;
    return base;
}

// A chunk of the usual size is kept as the spare when there is none.
void RecordStore::GiveBack(char* base, size_t size) {
    if (size == kChunkBytes && !spareChunk_) {
        spareChunk_ = base;
        return;
    }
    VirtualFree(base, 0, MEM_RELEASE);
    bytesHeld_ -= size;
}

// A message longer than a chunk gets a chunk of its own; the current one stays current.
char* RecordStore::MessageRoom(size_t size) {
    const bool ownChunk = size > kChunkBytes;
    if (ownChunk || size > messageRoom_) {
        const size_t chunkSize = ownChunk ? size : kChunkBytes;
        char* const chunk = TakeChunk(chunkSize);
        if (!chunk) return nullptr;
        try {
            messageChunks_.push_back({chunk, chunkSize, end_});
        } catch (const std::bad_alloc&) {
            GiveBack(chunk, chunkSize);
            return nullptr;
        }
        if (ownChunk) return chunk;
        current_ = &messageChunks_.back();  // a deque keeps its elements where they are as it grows
        messageFree_ = chunk;
        messageRoom_ = kChunkBytes;
    }
    char* const room = messageFree_;
    messageFree_ += size;
    messageRoom_ -= size;
    current_->lastRow = end_;
    return room;
}

// The chunk a failed append took stays for the next row.
RecordStore::Entry* RecordStore::NextEntry() {
    const size_t chunkIndex = static_cast<size_t>(end_ / kEntriesPerChunk - firstEntryChunk_);
    if (chunkIndex == entryChunks_.size()) {
        char* const chunk = TakeChunk(kChunkBytes);
        if (!chunk) return nullptr;
        try {
            entryChunks_.push_back(reinterpret_cast<Entry*>(chunk));
        } catch (const std::bad_alloc&) {
            GiveBack(chunk, kChunkBytes);
            return nullptr;
        }
    }
    return entryChunks_[chunkIndex] + end_ % kEntriesPerChunk;
}

static_assert(kMostWatchRules < 1 << 7, "a row's first rule, plus one, is kept in 7 bits");

bool RecordStore::Append(const net::SyslogRecord& record, int firstRule, bool errorOrWorse) {
    const size_t length = std::strlen(record.message);
    if (length > kLongestMessage) return false;
    // The entry first: a message copied without one would hold its bytes until Clear.
    Entry* const entry = NextEntry();
    if (!entry) return false;
    char* const message = MessageRoom(length + 1);
    if (!message) return false;
    std::memcpy(message, record.message, length + 1);
    entry->message = message;
    entry->messageLength = static_cast<std::uint32_t>(length);
    entry->firstRule = static_cast<std::uint32_t>(firstRule + 1);
    entry->errorOrWorse = errorOrWorse ? 1 : 0;
    entry->senderAddress = record.senderAddress;
    entry->receivedAt = record.receivedAt;
    ++end_;
    return true;
}

const RecordStore::Entry& RecordStore::EntryOf(size_t index) const {
    const std::uint64_t number = first_ + index;
    return entryChunks_[static_cast<size_t>(number / kEntriesPerChunk - firstEntryChunk_)][number % kEntriesPerChunk];
}

StoredRow RecordStore::Row(size_t index) const {
    const Entry& entry = EntryOf(index);
    return {entry.message, entry.messageLength, entry.senderAddress, entry.receivedAt,
            static_cast<int>(entry.firstRule) - 1, entry.errorOrWorse != 0};
}

void RecordStore::SetFirstRule(size_t index, int firstRule) {
    const_cast<Entry&>(EntryOf(index)).firstRule = static_cast<std::uint32_t>(firstRule + 1);
}

void RecordStore::DropOldest(size_t count) {
    first_ += count;
    GiveBackLeftChunks();
}

// An entry chunk goes once every row of it has left; the one the next row
// goes into stays. A message chunk goes once its newest row has left; the
// current one is used again from its start instead.
void RecordStore::GiveBackLeftChunks() {
    while (!entryChunks_.empty() && (firstEntryChunk_ + 1) * kEntriesPerChunk <= first_) {
        GiveBack(reinterpret_cast<char*>(entryChunks_.front()), kChunkBytes);
        entryChunks_.pop_front();
        ++firstEntryChunk_;
    }
    while (!messageChunks_.empty() && messageChunks_.front().lastRow < first_) {
        MessageChunk& oldest = messageChunks_.front();
        if (&oldest == current_) {
            messageFree_ = oldest.base;
            messageRoom_ = oldest.size;
            break;
        }
        GiveBack(oldest.base, oldest.size);
        messageChunks_.pop_front();
    }
}

void RecordStore::Clear() {
    for (const MessageChunk& chunk : messageChunks_) VirtualFree(chunk.base, 0, MEM_RELEASE);
    for (Entry* const chunk : entryChunks_) VirtualFree(chunk, 0, MEM_RELEASE);
    if (spareChunk_) VirtualFree(spareChunk_, 0, MEM_RELEASE);
    messageChunks_.clear();
    entryChunks_.clear();
    spareChunk_ = nullptr;
    current_ = nullptr;
    messageFree_ = nullptr;
    messageRoom_ = 0;
    firstEntryChunk_ = 0;
    first_ = 0;
    end_ = 0;
    bytesHeld_ = 0;
}

}  // namespace records
