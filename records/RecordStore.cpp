// RecordStore.cpp: chunks from VirtualAlloc, filled front to back, released together.
#include "records/RecordStore.h"

#include <windows.h>

#include <cstring>
#include <new>

namespace records {

namespace {

constexpr size_t kLongestMessage = UINT32_MAX - 1;  // its length is kept in 32 bits

}  // namespace

char* RecordStore::TakeChunk(size_t size) {
    if (size > mostBytes_ - bytesHeld_) return nullptr;
    char* const base = static_cast<char*>(VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!base) return nullptr;
    try {
        chunks_.push_back({base, size});
    } catch (const std::bad_alloc&) {
        VirtualFree(base, 0, MEM_RELEASE);
        return nullptr;
    }
    bytesHeld_ += size;
    return base;
}

// A message longer than a chunk gets a chunk of its own; the current one stays current.
char* RecordStore::MessageRoom(size_t size) {
    if (size > kChunkBytes) return TakeChunk(size);
    if (size > messageRoom_) {
        char* const chunk = TakeChunk(kChunkBytes);
        if (!chunk) return nullptr;
        messageFree_ = chunk;
        messageRoom_ = kChunkBytes;
    }
    char* const room = messageFree_;
    messageFree_ += size;
    messageRoom_ -= size;
    return room;
}

// The chunk a failed append took stays for the next row.
RecordStore::Entry* RecordStore::NextEntry() {
    const size_t chunkIndex = count_ / kEntriesPerChunk;
    if (chunkIndex == entryChunks_.size()) {
        Entry* const chunk = reinterpret_cast<Entry*>(TakeChunk(kEntriesPerChunk * sizeof(Entry)));
        if (!chunk) return nullptr;
        try {
            entryChunks_.push_back(chunk);
        } catch (const std::bad_alloc&) {
            return nullptr;  // the chunk stays listed and goes back at Clear
        }
    }
    return entryChunks_[chunkIndex] + count_ % kEntriesPerChunk;
}

bool RecordStore::Append(const net::SyslogRecord& record) {
    const size_t length = std::strlen(record.message);
    if (length > kLongestMessage) return false;
    // The entry first: a message copied without one would hold its bytes until Clear.
    Entry* const entry = NextEntry();
    if (!entry) return false;
    char* const message = MessageRoom(length + 1);
    if (!message) return false;
    std::memcpy(message, record.message, length + 1);
    *entry = {message, static_cast<std::uint32_t>(length), record.senderAddress, record.receivedAt};
    ++count_;
    return true;
}

StoredRow RecordStore::Row(size_t index) const {
    const Entry& entry = entryChunks_[index / kEntriesPerChunk][index % kEntriesPerChunk];
    return {entry.message, entry.messageLength, entry.senderAddress, entry.receivedAt};
}

void RecordStore::Clear() {
    for (const Chunk& chunk : chunks_) VirtualFree(chunk.base, 0, MEM_RELEASE);
    std::vector<Chunk>().swap(chunks_);
    std::vector<Entry*>().swap(entryChunks_);
    messageFree_ = nullptr;
    messageRoom_ = 0;
    count_ = 0;
    bytesHeld_ = 0;
}

}  // namespace records
