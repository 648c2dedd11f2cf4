// DatagramMaker.cpp: datagrams aimed at the trimming, the quoting and any use of a text as a format.
#include "tests/fuzz/DatagramMaker.h"

#include "tests/fuzz/DatagramModel.h"

namespace fuzz {

namespace {

// The bytes the record maker, the line writer and a careless printf react to;
// text strews in all of them but NUL, so its messages run to their full length.
const char kTouchyBytes[] = {'\0', '\r', '\n', '%', '"', ',', '\\', '\x7f', '\x80', '\xa0', '\xe9', '\xff'};
const char kTouchyTextBytes[] = {'\r', '\n', '%', '"', ',', '\\', '\x7f', '\x80', '\xa0', '\xe9', '\xff'};
const char* const kDirectives[] = {"%s", "%n", "%x", "%p", "%ls", "%S", "%d", "%*d", "%99999s", "%.9999f",
                                   "%%", "%hn", "%lln", "%1$s", "%c", "%#x", "%-+ 08.3lld"};
const char kLineEndBytes[] = {'\r', '\n', '\0'};

template <size_t N>
char Pick(Random& random, const char (&bytes)[N]) {
    return bytes[random.Below(N)];
}

char AnyByte(Random& random) {
    return static_cast<char>(random.Below(256));
}

char TextByte(Random& random) {
    if (random.OneIn(8)) return Pick(random, kTouchyTextBytes);
    return static_cast<char>(random.Between(' ', '~'));
}

std::string DirectiveSoup(Random& random, size_t length) {
    std::string bytes;
    while (bytes.size() < length) {
        if (random.OneIn(3))
            bytes += TextByte(random);
        else
            bytes += kDirectives[random.Below(sizeof kDirectives / sizeof kDirectives[0])];
    }
    bytes.resize(length);
    return bytes;
}

enum class Manner { AnyBytes, Text, TouchyBytes, Directives, Count };

std::string Fill(Random& random, size_t length) {
    const auto manner = static_cast<Manner>(random.Below(static_cast<size_t>(Manner::Count)));
    if (manner == Manner::Directives) return DirectiveSoup(random, length);
    std::string bytes(length, '\0');
    for (char& byte : bytes) {
        switch (manner) {
        case Manner::AnyBytes:
            byte = AnyByte(random);
            break;
        case Manner::Text:
            byte = TextByte(random);
            break;
        default:
            byte = Pick(random, kTouchyBytes);
            break;
        }
    }
    return bytes;
}

std::string Repeated(const std::string& unit, size_t length) {
    std::string bytes;
    while (bytes.size() < length) bytes += unit;
    bytes.resize(length);
    return bytes;
}

}  // namespace

std::vector<std::string> FixedDatagrams() {
    using namespace std::string_literals;
    std::vector<std::string> datagrams = {
        ""s,
        "\0"s,
        "\n"s,
        "\r"s,
        "\r\n\r\n"s,
        "\0\0\0\0"s,
        "abc\r\n\0\0"s,
        "a\0\r\n"s,
        "a\r\0b"s,
        "\0visible only after a NUL"s,
        "a\r\nb"s,
        "%s%n%x%p%ls"s,
        "%s%n"s,
        "a,%s%n"s,
        "%n%n%n%n%n%n%n%n"s,
        "%99999999s%.99999999f"s,
        ","s,
        "\""s,
        "\",\""s,
        "\"quoted\" without a comma"s,
        "caf\xe9 \xb0\x43 \xff\xfe\x80"s,
        "inner\nline\rfeeds, and a comma\r\n"s,
        Repeated("\r\n", kReceiveBufferBytes),
        Repeated("\0"s, kReceiveBufferBytes),
        Repeated("%s", kReceiveBufferBytes + 1),
        Repeated("x", kReceiveBufferBytes - 1) + "\n",
        Repeated("x", kReceiveBufferBytes - 1) + "\0"s,
        Repeated("y,", kReceiveBufferBytes),
        Repeated("\n", kLargestDatagram),
        Repeated("%n", kLargestDatagram),
        Repeated("z", kLargestDatagram),
    };
    return datagrams;
}

std::string RandomDatagram(Random& random, size_t length) {
    std::string bytes = Fill(random, length);
    if (length > 0 && random.OneIn(3)) {
        const size_t tail = random.Between(1, length < 8 ? length : 8);
        for (size_t i = length - tail; i < length; ++i) bytes[i] = Pick(random, kLineEndBytes);
    }
    if (length > 0 && random.OneIn(8)) bytes[0] = Pick(random, kLineEndBytes);
    return bytes;
}

size_t RandomLength(Random& random) {
    switch (random.Below(8)) {
    case 0:
    case 1:
    case 2:
        return random.Below(64);
    case 3:
    case 4:
        return random.Below(kReceiveBufferBytes + 16);
    case 5:
        return random.Between(kReceiveBufferBytes - 4, kReceiveBufferBytes + 4);
    default:
        return random.Between(0, kLargestDatagram);
    }
}

}  // namespace fuzz
