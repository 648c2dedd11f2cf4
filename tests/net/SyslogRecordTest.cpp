// SyslogRecordTest.cpp: what a datagram's bytes become.
#include <gtest/gtest.h>

#include <string>

#include "net/DottedQuad.h"
#include "net/SyslogRecord.h"

namespace {

sockaddr_in From(unsigned char a, unsigned char b, unsigned char c, unsigned char d) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(40000);
    auto* bytes = reinterpret_cast<unsigned char*>(&address.sin_addr.s_addr);
    bytes[0] = a;
    bytes[1] = b;
    bytes[2] = c;
    bytes[3] = d;
    return address;
}

// The sender as the list and the Capture file show it.
std::string SenderText(const net::SyslogRecord& record) {
    char text[net::kDottedQuadCapacity];
    net::FormatDottedQuad(record.senderAddress, text);
    return text;
}

net::RecordPtr Make(const std::string& bytes) {
    return net::MakeSyslogRecord(bytes.data(), bytes.size(), From(192, 168, 1, 20));
}

TEST(SyslogRecord, KeepsTheLineWithoutItsLineEndAndNamesTheSender) {
    const auto record = Make("<13>Dec  7 11:06:12 host app: started\r\n");
    ASSERT_TRUE(record);
    EXPECT_STREQ("<13>Dec  7 11:06:12 host app: started", record->message);
    EXPECT_EQ("192.168.1.20", SenderText(*record));
}

TEST(SyslogRecord, NeverExaminesTheFirstByte) {
    EXPECT_STREQ("\n", Make("\n")->message);
    EXPECT_STREQ("\r", Make("\r\n\r\n")->message);
}

TEST(SyslogRecord, PassesOverTrailingZeroBytesAndCutsTheLineEndBeforeThem) {
    EXPECT_STREQ("abc", Make(std::string("abc\r\n\0\0", 7))->message);
}

TEST(SyslogRecord, KeepsInnerLineBreaks) {
    EXPECT_STREQ("a\r\nb", Make("a\r\nb")->message);
}

TEST(SyslogRecord, EmptyDatagramGivesAnEmptyMessage) {
    const auto record = net::MakeSyslogRecord("", 0, From(10, 0, 0, 1));
    ASSERT_TRUE(record);
    EXPECT_STREQ("", record->message);
    EXPECT_EQ("10.0.0.1", SenderText(*record));
}

TEST(SyslogRecord, WidestAddressFits) {
    const auto record = net::MakeSyslogRecord("x", 1, From(255, 255, 255, 255));
    EXPECT_EQ("255.255.255.255", SenderText(*record));
}

TEST(SyslogRecord, EachRecordIsReleasedOnce) {
    const long before = net::SyslogRecordsAlive();
    {
        auto first = Make("one");
        auto second = Make("two");
        EXPECT_EQ(before + 2, net::SyslogRecordsAlive());
        first.reset();
        EXPECT_EQ(before + 1, net::SyslogRecordsAlive());
    }
    EXPECT_EQ(before, net::SyslogRecordsAlive());
}

}  // namespace
