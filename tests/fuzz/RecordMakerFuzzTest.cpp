// RecordMakerFuzzTest.cpp: every length and random bytes through the record maker, against the model.
#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <string>

#include "net/DottedQuad.h"
#include "net/SyslogRecord.h"
#include "tests/fuzz/DatagramMaker.h"
#include "tests/fuzz/DatagramModel.h"
#include "tests/fuzz/Differences.h"
#include "tests/fuzz/FuzzRandom.h"

namespace {

using namespace fuzz;

// How many byte patterns each length of the sweep gets.
constexpr int kFillsPerLength = 3;
// Random lengths in the suite's run, after the sweep.
constexpr size_t kSuiteRandomRecords = 3000;

// A random sender; the port must not show in the sender text.
sockaddr_in RandomSender(Random& random, std::string& expectedText) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = static_cast<u_short>(random.Below(65536));
    auto* bytes = reinterpret_cast<unsigned char*>(&address.sin_addr.s_addr);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(random.Below(256));
    expectedText = DottedQuad(bytes[0], bytes[1], bytes[2], bytes[3]);
    return address;
}

// Makes one record and compares it with the model; false after the first mismatch.
bool MakeAndCompare(Random& random, const std::string& bytes, uint64_t seed) {
    std::string expectedSender;
    const sockaddr_in sender = RandomSender(random, expectedSender);
    const net::RecordPtr record = net::MakeSyslogRecord(bytes.data(), bytes.size(), sender);
    EXPECT_TRUE(record) << SeedNote(seed);
    if (!record) return false;
    // Compared as counted strings, so a missing terminator or a byte past it shows.
    const std::string message(record->message, std::strlen(record->message));
    const std::string expected = ExpectedMessage(bytes);
    EXPECT_TRUE(expected == message) << "datagram of " << bytes.size() << " bytes, " << SeedNote(seed) << "\n"
                                     << FirstDifference(expected, message);
    // The sender is kept as its address; the text the list and the file show is formatted from it.
    char senderText[net::kDottedQuadCapacity];
    net::FormatDottedQuad(record->senderAddress, senderText);
    EXPECT_EQ(expectedSender, std::string(senderText)) << SeedNote(seed);
    EXPECT_EQ(sender.sin_addr.s_addr, record->senderAddress) << SeedNote(seed);
    return expected == message && expectedSender == senderText && sender.sin_addr.s_addr == record->senderAddress;
}

TEST(RecordMakerFuzz, EveryLengthAndRandomBytesGiveTheModelledRecord) {
    const Budget budget = BudgetFromEnvironment(kSuiteRandomRecords);
    Random random(budget.seed);
    const long recordsBefore = net::SyslogRecordsAlive();
    const ULONGLONG deadline = GetTickCount64() + budget.seconds * 1000ull;
    size_t made = 0;

    for (const std::string& bytes : FixedDatagrams()) {
        ASSERT_TRUE(MakeAndCompare(random, bytes, budget.seed));
        ++made;
    }
    for (size_t length = 0; length <= kReceiveBufferBytes + 1; ++length)
        for (int fill = 0; fill < kFillsPerLength; ++fill) {
            ASSERT_TRUE(MakeAndCompare(random, RandomDatagram(random, length), budget.seed));
            ++made;
        }
    for (size_t i = 0; i < budget.randomDatagrams; ++i) {
        if (budget.seconds && GetTickCount64() >= deadline) break;
        const size_t length = RandomLength(random);
        ASSERT_TRUE(MakeAndCompare(random, RandomDatagram(random, length), budget.seed));
        ++made;
    }

    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive()) << "every record released once";
    std::cout << "[fuzz] record maker: " << made << " records as modelled, " << SeedNote(budget.seed) << std::endl;
}

// The model itself, on the cases the rules spell out.
TEST(RecordMakerFuzz, ModelFollowsTheWrittenCases) {
    using namespace std::string_literals;
    EXPECT_EQ("line", ExpectedMessage("line\r\n"));
    EXPECT_EQ("\n", ExpectedMessage("\n"));
    EXPECT_EQ("\r", ExpectedMessage("\r\n\r\n"));
    EXPECT_EQ("abc", ExpectedMessage("abc\r\n\0\0"s));
    EXPECT_EQ("a\r\nb", ExpectedMessage("a\r\nb"));
    EXPECT_EQ("", ExpectedMessage(""));
    EXPECT_EQ("a\r", ExpectedMessage("a\r\0b"s));
    EXPECT_EQ(std::string(4096, 'q'), ExpectedReceivedMessage(std::string(5000, 'q')));
    EXPECT_EQ("10.0.0.1,\"a,\"\"b\"\r\n", ExpectedCaptureBytes("10.0.0.1", "a,\"\"b"));
    EXPECT_EQ("10.0.0.1,a\r\r\nb\r\n", ExpectedCaptureBytes("10.0.0.1", "a\r\nb"));
}

}  // namespace
