// RecordStore.h: the rows held, oldest first, at the cost of their bytes; the oldest can leave.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "net/SyslogRecord.h"
#include "records/StoredRow.h"

namespace records {

// Message bytes lie one after another in large chunks taken straight from the
// system, so that Clear gives every byte back, under Wine too; each row adds
// a 24-byte entry besides its message and terminator. Rows leave from the
// front; a chunk goes back once none of its rows is held, and one spare
// chunk is kept for the next, so a store that keeps the newest rows stays
// flat in memory while rows keep arriving.
class RecordStore {
public:
    static constexpr size_t kNoLimit = SIZE_MAX;
    static constexpr size_t kLongestMessage = (size_t{1} << 24) - 1;  // its length is kept in 24 bits
    // Messages and entries alike come in chunks of this size; a longer message takes one of its own.
    static constexpr size_t kChunkBytes = 1 << 20;

    // mostBytes: the most the store takes from the system at once.
    explicit RecordStore(size_t mostBytes = kNoLimit) : mostBytes_(mostBytes) {}
    ~RecordStore() { Clear(); }
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // Copies the record's message and sender's address into a new last row
    // with the first rule it matched and whether it is an error or worse;
    // false, with nothing kept, when the store cannot grow.
    bool Append(const net::SyslogRecord& record, int firstRule = kNoRule, bool errorOrWorse = false);

    size_t Count() const { return static_cast<size_t>(end_ - first_); }

    // index < Count(): 0 is the oldest row held.
    StoredRow Row(size_t index) const;

    // The rules changed: the row takes the first one it matches now.
    void SetFirstRule(size_t index, int firstRule);

    // The oldest count rows (count <= Count()) leave.
    void DropOldest(size_t count);

    // The number the oldest row held has among every row appended since the
    // store was last cleared; it grows by one for each row that leaves.
    std::uint64_t FirstNumber() const { return first_; }

    // Whether a chunk given back by rows that left waits to be used again.
    bool HasSpareChunk() const { return spareChunk_ != nullptr; }

    // Forgets every row and gives every chunk back to the system.
    void Clear();

    // What the store holds from the system right now.
    size_t BytesHeld() const { return bytesHeld_; }

private:
    struct Entry {
        const char* message;
        std::uint32_t messageLength : 24;
        std::uint32_t firstRule : 7;  // the rule's index + 1; 0: none
        std::uint32_t errorOrWorse : 1;  // kept here so a row can leave without its message being read
        std::uint32_t senderAddress;
        std::uint64_t receivedAt;
    };
    static constexpr size_t kEntriesPerChunk = kChunkBytes / sizeof(Entry);
    struct MessageChunk {
        char* base;
        size_t size;
        std::uint64_t lastRow;  // the number of the newest row whose message lies in it
    };

    const Entry& EntryOf(size_t index) const;
    char* TakeChunk(size_t size);
    void GiveBack(char* base, size_t size);
    char* MessageRoom(size_t size);
    Entry* NextEntry();
    void GiveBackLeftChunks();

    const size_t mostBytes_;
    std::deque<MessageChunk> messageChunks_;  // oldest first
    MessageChunk* current_ = nullptr;         // the chunk messages are being added to
    char* messageFree_ = nullptr;             // its free end
    size_t messageRoom_ = 0;
    std::deque<Entry*> entryChunks_;  // row number n's entry: entryChunks_[n / kEntriesPerChunk - firstEntryChunk_]
    std::uint64_t firstEntryChunk_ = 0;
    char* spareChunk_ = nullptr;      // kChunkBytes given back by rows that left, for the next chunk wanted
    std::uint64_t first_ = 0;         // the oldest row's number
    std::uint64_t end_ = 0;           // the next row's number
    size_t bytesHeld_ = 0;
};

}  // namespace records
