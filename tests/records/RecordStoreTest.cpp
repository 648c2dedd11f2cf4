// RecordStoreTest.cpp: every row reads back byte for byte, wherever the store's chunks begin and end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/DottedQuad.h"
#include "records/RecordStore.h"

namespace {

struct Sent {
    std::string message;
    std::string sender;
};

// Text that differs from row to row, so that a row read from a neighbour's bytes shows.
std::string Numbered(size_t length, size_t number) {
    std::string text = std::to_string(number) + ":";
    while (text.size() < length) text += static_cast<char>('a' + (text.size() + number) % 26);
    text.resize(length);
    return text;
}

TEST(RecordStore, RowsReadBackWholeAcrossChunksAndAtEveryLength) {
    constexpr size_t kChunk = 1 << 20;
    std::vector<Sent> sent;
    const char* senders[] = {"127.0.0.1", "0.0.0.0", "255.255.255.255", "10.200.3.45"};
    // Messages that end near and across a chunk's end, one that fills a
    // chunk with its terminator, longer ones than a chunk, an empty one, and
    // more rows than one chunk of entries holds.
    for (size_t i = 0; i < 1100; ++i) sent.push_back({Numbered(1000, i), senders[i % 4]});
    sent.push_back({"", "1.2.3.4"});
    sent.push_back({Numbered(kChunk - 1, 1), "1.2.3.4"});
    sent.push_back({Numbered(kChunk, 2), "1.2.3.4"});
    sent.push_back({Numbered(3 * kChunk + 7, 3), "1.2.3.4"});
    for (size_t i = 0; i < 70000; ++i) sent.push_back({Numbered(i % 50, i), senders[i % 4]});

    records::RecordStore store;
    for (const Sent& one : sent) {
        sockaddr_in from{};
        from.sin_addr.s_addr = inet_addr(one.sender.c_str());
        const net::RecordPtr record = net::MakeSyslogRecord(one.message.data(), one.message.size(), from);
        ASSERT_TRUE(record);
        ASSERT_TRUE(store.Append(*record));
    }

    ASSERT_EQ(sent.size(), store.Count());
    size_t wrong = 0;
    for (size_t i = 0; i < sent.size(); ++i) {
        const records::StoredRow row = store.Row(i);
        char sender[net::kDottedQuadCapacity];
        net::FormatDottedQuad(row.senderAddress, sender);
        const bool right = std::string(row.message, row.messageLength) == sent[i].message &&
                           row.message[row.messageLength] == '\0' && sender == sent[i].sender;
        if (!right && ++wrong <= 5) ADD_FAILURE() << "row " << i << " of length " << sent[i].message.size();
    }
    EXPECT_EQ(0u, wrong);

    store.Clear();
    EXPECT_EQ(0u, store.Count());
    EXPECT_EQ(0u, store.BytesHeld());
}

// The newest 50,000 rows kept while 400,000 arrive: what remains reads back
// whole, and once full the store takes no more from the system than one
// chunk of each kind beyond what it held then.
TEST(RecordStore, RowsLeavingGiveTheirChunksBackAndTheRestReadBackWhole) {
    constexpr size_t kKept = 50000;
    constexpr size_t kChunk = 1 << 20;
    records::RecordStore store;
    const auto append = [&](size_t number) {
        std::string message = Numbered(number % 300, number);
        return store.Append(net::SyslogRecord{&message[0], static_cast<std::uint32_t>(number), 0});
    };
    size_t bytesWhenFull = 0;
    for (size_t number = 0; number < 400000; ++number) {
        if (store.Count() == kKept) store.DropOldest(1);
        ASSERT_TRUE(append(number));
        if (number == 2 * kKept) bytesWhenFull = store.BytesHeld();
        if (bytesWhenFull) {
            ASSERT_LE(store.BytesHeld(), bytesWhenFull + 2 * kChunk) << "row " << number;
        }
    }
    ASSERT_EQ(kKept, store.Count());
    EXPECT_EQ(400000u - kKept, store.FirstNumber());
    size_t wrong = 0;
    for (size_t index = 0; index < kKept; ++index) {
        const size_t number = 400000 - kKept + index;
        const records::StoredRow row = store.Row(index);
        const bool right = std::string(row.message, row.messageLength) == Numbered(number % 300, number) &&
                           row.senderAddress == number;
        if (!right && ++wrong <= 5) ADD_FAILURE() << "row " << index;
    }
    EXPECT_EQ(0u, wrong);

    store.DropOldest(store.Count());
    EXPECT_LE(store.BytesHeld(), 3 * kChunk) << "an entry chunk, the current message chunk and the spare";
    ASSERT_TRUE(append(7));
    EXPECT_EQ(Numbered(7, 7), store.Row(0).message);
}

}  // namespace
