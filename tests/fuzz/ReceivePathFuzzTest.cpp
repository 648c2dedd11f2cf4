// ReceivePathFuzzTest.cpp: hostile datagrams over a real loopback socket, through the Main window
// to its rows, its pane and its Capture file, each compared with the model.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "diag/DiagnosticText.h"
#include "list/MessageList.h"
#include "net/SyslogRecord.h"
#include "tests/fuzz/DatagramModel.h"
#include "tests/fuzz/DatagramSequence.h"
#include "tests/fuzz/Differences.h"
#include "tests/fuzz/FuzzRandom.h"
#include "tests/list/RecordFeed.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace fuzz;
using testing_support::CellText;
using testing_support::PaneText;
using testing_support::PumpUntil;
using testing_support::ReadFileBytes;
using testing_support::RunningMainWindow;
using testing_support::SettingsIni;
using testing_support::TempFolder;

// The suite's run: about 1,500 datagrams in all (fixed, swept every 5th length,
// random). Wine repaints a visible list after every new row, some 10 ms a row,
// so the suite's run paints the rows of the fixed cases only and then hides
// the window; a longer run sweeps every length and paints every row.
constexpr size_t kSuiteRandomDatagrams = 640;
constexpr size_t kSuiteLengthStep = 5;
// One Main window takes this many datagrams; a longer run starts a new one
// after each, so its list, pane and Capture file stay of a checkable size.
constexpr size_t kDatagramsPerWindow = 1500;
// Sent before each wait for their rows: few and small enough that the
// socket's receive buffer holds them all, so none can be lost.
constexpr size_t kGroupDatagrams = 8;
constexpr size_t kGroupBytes = 48 * 1024;
constexpr DWORD kRowsTimeoutMs = 10000;
const char kLoopbackSender[] = "127.0.0.1";

struct Tally {
    size_t datagrams = 0;
    size_t fullBuffer = 0;
    size_t windows = 0;
    size_t bytes = 0;
    size_t longest = 0;
};

// Sends from one socket to 127.0.0.1 on the Main window's port.
class Sender {
public:
    explicit Sender(unsigned short port) : socket_(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)) {
        to_.sin_family = AF_INET;
        to_.sin_port = htons(port);
        to_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    }
    ~Sender() { closesocket(socket_); }
    Sender(const Sender&) = delete;
    Sender& operator=(const Sender&) = delete;

    bool Send(const std::string& bytes) {
        return sendto(socket_, bytes.data(), static_cast<int>(bytes.size()), 0,
                      reinterpret_cast<const sockaddr*>(&to_), sizeof to_) == static_cast<int>(bytes.size());
    }

private:
    SOCKET socket_;
    sockaddr_in to_{};
};

std::string Repeated(const std::string& unit, size_t times) {
    std::string text;
    text.reserve(unit.size() * times);
    for (size_t i = 0; i < times; ++i) text += unit;
    return text;
}

// One Main window, capturing to a file of its own, fed until its share of datagrams is spent.
class FuzzedWindow {
public:
    // Autoscroll is on, so every row is painted as it comes into view while the window shows.
    FuzzedWindow(uint64_t seed, Tally& tally)
        : seed_(seed),
          tally_(tally),
          capturePath_(captureFolder_.File(L"capture.txt")),
          main_(SettingsIni(1, 1, 1, capturePath_)),
          sender_(main_.Port()) {
        ++tally_.windows;
    }

    bool Ready() {
        EXPECT_TRUE(main_.Handle() && main_.Window().CaptureFileOpen()) << SeedNote(seed_);
        EXPECT_EQ("", PaneText(main_.Window().DiagnosticsPane()));
        return main_.Handle() && main_.Window().CaptureFileOpen();
    }

    // Rows made from now on are not painted.
    void Hide() { ShowWindow(main_.Handle(), SW_HIDE); }

    // Sends the datagrams and checks every row they make, and the pane.
    bool Deliver(const std::vector<std::string>& group) {
        for (const std::string& datagram : group) {
            if (!sender_.Send(datagram)) {
                ADD_FAILURE() << "could not send a datagram of " << datagram.size() << " bytes, " << SeedNote(seed_);
                return false;
            }
            Expect(datagram);
        }
        return CheckNewRows(group);
    }

    // A last datagram must still arrive: reception never ended. Then the
    // window is closed, which writes the Capture file out, and the file is compared.
    bool Finish() {
        const std::string marker = "fuzz end marker, " + SeedNote(seed_);
        if (!Deliver({marker})) return false;
        EXPECT_EQ(expected_.size(), static_cast<size_t>(win::ListView(List()).Count()));
        EXPECT_EQ(marker, CellText(List(), static_cast<int>(expected_.size()) - 1, 1));
        main_.Close();
        const std::string captured = ReadFileBytes(capturePath_);
        EXPECT_TRUE(expectedCapture_ == captured)
            << "Capture file, " << SeedNote(seed_) << "\n" << FirstDifference(expectedCapture_, captured);
        return expectedCapture_ == captured;
    }

private:
    HWND List() { return main_.Window().MessageList(); }

    void Expect(const std::string& datagram) {
        const std::string message = ExpectedReceivedMessage(datagram);
        expected_.push_back(message);
        expectedCapture_ += ExpectedCaptureBytes(kLoopbackSender, message);
        if (datagram.size() >= kReceiveBufferBytes) {
            ++fullBuffer_;
            ++tally_.fullBuffer;
        }
        ++tally_.datagrams;
        tally_.bytes += datagram.size();
        tally_.longest = std::max(tally_.longest, datagram.size());
    }

    std::string Lengths(const std::vector<std::string>& group) const {
        std::string lengths;
        for (const std::string& datagram : group) lengths += " " + std::to_string(datagram.size());
        return lengths;
    }

    bool CheckNewRows(const std::vector<std::string>& group) {
        const int wanted = static_cast<int>(expected_.size());
        if (!PumpUntil([&] { return win::ListView(List()).Count() >= wanted; }, kRowsTimeoutMs)) {
            ADD_FAILURE() << win::ListView(List()).Count() << " rows instead of " << wanted
                          << " after datagrams of" << Lengths(group) << " bytes, " << SeedNote(seed_)
                          << "\npane: "
                          << FirstDifference(Repeated(kFullBufferDiagnostic, fullBuffer_),
                                             PaneText(main_.Window().DiagnosticsPane()));
            return false;
        }
        bool same = win::ListView(List()).Count() == wanted;
        EXPECT_TRUE(same) << "more rows than datagrams, " << SeedNote(seed_);
        for (int row = rowsChecked_; row < wanted; ++row) {
            const std::string& message = expected_[static_cast<size_t>(row)];
            const std::string stored = testing_support::RowMessage(main_.Window(), row);
            const bool recordRight =
                stored == message && testing_support::RowSender(main_.Window(), row) == kLoopbackSender;
            const std::string shown = CellText(List(), row, 1);
            const bool shownRight = shown == ExpectedCellText(message) && CellText(List(), row, 0) == kLoopbackSender;
            EXPECT_TRUE(recordRight && shownRight)
                << "row " << row << ", " << SeedNote(seed_) << "\n"
                << FirstDifference(message, stored) << "\n"
                << FirstDifference(ExpectedCellText(message), shown);
            same = same && recordRight && shownRight;
        }
        rowsChecked_ = wanted;
        const std::string pane = PaneText(main_.Window().DiagnosticsPane());
        const std::string expectedPane = Repeated(kFullBufferDiagnostic, fullBuffer_);
        EXPECT_TRUE(pane == expectedPane) << "pane after datagrams of" << Lengths(group) << " bytes, "
                                          << SeedNote(seed_) << "\n" << FirstDifference(expectedPane, pane);
        return same && pane == expectedPane;
    }

    uint64_t seed_;
    Tally& tally_;
    TempFolder captureFolder_;
    std::wstring capturePath_;
    RunningMainWindow main_;
    Sender sender_;
    std::vector<std::string> expected_;
    std::string expectedCapture_;
    size_t fullBuffer_ = 0;
    int rowsChecked_ = 0;
};

// Takes the sequence's datagrams in groups: up to kGroupDatagrams, and no more
// than kGroupBytes together unless a single datagram is larger on its own.
class Groups {
public:
    explicit Groups(DatagramSequence& sequence) : sequence_(sequence) {}

    // At most room datagrams; false when the sequence is spent.
    bool Next(size_t room, std::vector<std::string>& group) {
        group.clear();
        size_t bytes = 0;
        while (group.size() < kGroupDatagrams && group.size() < room) {
            if (!havePending_ && !sequence_.Next(pending_)) break;
            havePending_ = true;
            if (!group.empty() && bytes + pending_.size() > kGroupBytes) break;
            bytes += pending_.size();
            group.push_back(std::move(pending_));
            havePending_ = false;
        }
        return !group.empty();
    }

private:
    DatagramSequence& sequence_;
    std::string pending_;  // taken from the sequence but left for the next group
    bool havePending_ = false;
};

TEST(ReceivePathFuzz, HostileDatagramsBecomeTheModelledRowsPaneAndCaptureFile) {
    const Budget budget = BudgetFromEnvironment(kSuiteRandomDatagrams);
    DatagramSequence sequence(budget, budget.extended ? 1 : kSuiteLengthStep);
    const long recordsBefore = net::SyslogRecordsAlive();
    const long textsBefore = diag::DiagnosticTextsAlive();
    Tally tally;
    Groups groups(sequence);
    std::vector<std::string> group;

    bool more = groups.Next(kDatagramsPerWindow, group);
    while (more) {
        FuzzedWindow window(budget.seed, tally);
        ASSERT_TRUE(window.Ready());
        size_t fed = 0;
        while (more && fed < kDatagramsPerWindow) {
            ASSERT_TRUE(window.Deliver(group));
            fed += group.size();
            if (!budget.extended && sequence.SweptSent() > 0) window.Hide();
            // A group taken when this window has had its share goes to the next one.
            const size_t room = fed < kDatagramsPerWindow ? kDatagramsPerWindow - fed : kDatagramsPerWindow;
            more = groups.Next(room, group);
        }
        ASSERT_TRUE(window.Finish());
    }

    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive()) << "every record released once";
    EXPECT_EQ(textsBefore, diag::DiagnosticTextsAlive()) << "every diagnostic text released once";
    std::cout << "[fuzz] receive path: " << tally.datagrams << " datagrams (" << sequence.FixedSent() << " fixed, "
              << sequence.SweptSent() << " swept lengths, " << sequence.RandomSent() << " random, "
              << tally.windows << " end markers), "
              << tally.fullBuffer << " of 4096 bytes or more, longest " << tally.longest << ", " << tally.bytes
              << " bytes in all, through " << tally.windows << (tally.windows == 1 ? " Main window" : " Main windows")
              << (budget.extended ? ", every row painted" : ", the fixed cases' rows painted")
              << "; every row, the pane and the "
              << "Capture file as modelled, " << SeedNote(budget.seed) << std::endl;
}

}  // namespace
