// RecordStore.h: the Message list's rows, append-only, at the cost of their bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "net/SyslogRecord.h"
#include "records/StoredRow.h"

namespace records {

// Message bytes lie one after another in large chunks taken straight from the
// system, so that Clear gives every byte back, under Wine too; each row adds
// a 24-byte entry besides its message and terminator.
class RecordStore {
public:
    static constexpr size_t kNoLimit = SIZE_MAX;

    // mostBytes: the most the store takes from the system at once.
    explicit RecordStore(size_t mostBytes = kNoLimit) : mostBytes_(mostBytes) {}
    ~RecordStore() { Clear(); }
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // Copies the record's message and sender's address into a new last row;
    // false, with nothing kept, when the store cannot grow.
    bool Append(const net::SyslogRecord& record);

    size_t Count() const { return count_; }

    // index < Count().
    StoredRow Row(size_t index) const;

    // Forgets every row and gives every chunk back to the system.
    void Clear();

    // What the store holds from the system right now.
    size_t BytesHeld() const { return bytesHeld_; }

private:
    struct Entry {
        const char* message;
        std::uint32_t messageLength;
        std::uint32_t senderAddress;
        std::uint64_t receivedAt;
    };
    // Messages and entries alike come in chunks of this size.
    static constexpr size_t kChunkBytes = 1 << 20;
    static constexpr size_t kEntriesPerChunk = kChunkBytes / sizeof(Entry);
    struct Chunk {
        char* base;
        size_t size;
    };

    char* TakeChunk(size_t size);
    char* MessageRoom(size_t size);
    Entry* NextEntry();

    const size_t mostBytes_;
    std::vector<Chunk> chunks_;        // every chunk the store holds, to give back
    std::vector<Entry*> entryChunks_;  // row i's entry: entryChunks_[i / kEntriesPerChunk]
    char* messageFree_ = nullptr;      // the free end of the current message chunk
    size_t messageRoom_ = 0;
    size_t count_ = 0;
    size_t bytesHeld_ = 0;
};

}  // namespace records
