// BurstArrivalTest.cpp: records that arrive in a burst end up exactly as records that arrive one by one.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/DeliveryPump.h"
#include "list/MessageList.h"
#include "net/DeliveryQueue.h"
#include "tests/list/RecordFeed.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::DeliverRecord;
using testing_support::HandleMessagesUntil;
using testing_support::PumpUntil;
using testing_support::QueueRecord;
using testing_support::RunningMainWindow;

// Counts what the list is told about redrawing and when it paints.
struct RedrawWatch {
    static WNDPROC previous;
    static std::atomic<int> redrawOff;
    static std::atomic<int> redrawOn;
    static std::atomic<int> paints;
    static std::atomic<int> redrawsAmidFlood;
    static const std::atomic<bool>* flooding;
    static bool lastWasOn;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SETREDRAW) {
            (wParam ? redrawOn : redrawOff)++;
            lastWasOn = wParam != 0;
            if (wParam && flooding && *flooding) redrawsAmidFlood++;
        }
        if (message == WM_PAINT) paints++;
        return CallWindowProcA(previous, hwnd, message, wParam, lParam);
    }
    // flooding: while it holds, a redraw is one amid a flood.
    static void Attach(HWND list, const std::atomic<bool>* floodGoing = nullptr) {
        flooding = floodGoing;
        redrawOff = redrawOn = paints = redrawsAmidFlood = 0;
        lastWasOn = true;
        previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RedrawWatch::Proc)));
    }
};
WNDPROC RedrawWatch::previous = nullptr;
std::atomic<int> RedrawWatch::redrawOff{0};
std::atomic<int> RedrawWatch::redrawOn{0};
std::atomic<int> RedrawWatch::paints{0};
std::atomic<int> RedrawWatch::redrawsAmidFlood{0};
const std::atomic<bool>* RedrawWatch::flooding = nullptr;
bool RedrawWatch::lastWasOn = true;

std::string Message(int number) {
    return "<13>burst record number " + std::to_string(number) + (number % 7 == 0 ? ", with a comma" : "");
}

net::RecordPtr NumberedRecord(int number) {
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_addr.s_addr = htonl(0x0A000001 + static_cast<unsigned>(number % 3));
    const std::string text = Message(number);
    return net::MakeSyslogRecord(text.data(), text.size(), from);
}


struct Outcome {
    std::vector<std::string> rows;
    int topRow = -1;
    std::string captureBytes;
};

std::vector<std::string> RowTexts(const app::MainWindow& window) {
    std::vector<std::string> rows;
    for (int index = 0; index < win::ListView(window.MessageList()).Count(); ++index)
        rows.push_back(testing_support::RowSender(window, index) + "|" + testing_support::RowMessage(window, index));
    return rows;
}

// Scrolls the view up by a few pages first, so that auto-scroll moves it step by step.
Outcome Deliver(int count, bool allQueuedAtOnce) {
    testing_support::TempFolder captureFolder;
    const std::wstring capturePath = captureFolder.File(L"capture.csv");
    Outcome outcome;
    {
        RunningMainWindow window(testing_support::SettingsIni(1, 1, 1, capturePath));
        const HWND list = window.Window().MessageList();
        for (int number = 0; number < 60; ++number) DeliverRecord(window.Window(), NumberedRecord(-1 - number));
        SendMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
        RedrawWatch::Attach(list);

        for (int number = 0; number < count; ++number) {
            if (allQueuedAtOnce)
                QueueRecord(window.Window(), NumberedRecord(number));
            else
                DeliverRecord(window.Window(), NumberedRecord(number));
        }
        EXPECT_TRUE(PumpUntil([&] { return win::ListView(list).Count() == 60 + count; }));
        testing_support::PumpFor(50);
        outcome.rows = RowTexts(window.Window());
        outcome.topRow = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        window.Close();
    }
    outcome.captureBytes = testing_support::ReadFileBytes(capturePath);
    return outcome;
}

// When the list catches up: a lone record at once, a flow when it runs dry
// (at most every 50 ms), a flood every 100 ms, and a torrent, whose screens
// go by unseen between catch-ups, every 500 ms.
TEST(BurstArrival, TheListCatchesUpOnAClockThatSlowsAsTheRecordsComeFaster) {
    const struct {
        ULONGLONG sinceMs;
        size_t recordsSince, recordsThisTurn;
        bool dry, due;
        const char* what;
    } moments[] = {
        {0, 1, 1, true, true, "a lone record"},
        {0, 1, 1, false, false, "a record with more queued behind it"},
        {20, 40, 20, true, false, "a flow dry before 50 ms"},
        {50, 100, 20, true, true, "a flow dry at 50 ms"},
        {99, 200, 20, false, false, "a flow still queued"},
        {60, 201, 20, true, false, "a flood, even dry"},
        {100, 400, 80, false, true, "a flood at 100 ms"},
        {100, 401, 80, true, false, "a torrent at 100 ms"},
        {499, 4000, 80, true, false, "a torrent before 500 ms"},
        {500, 4000, 80, false, true, "a torrent at 500 ms"},
    };
    for (const auto& moment : moments) {
        EXPECT_EQ(moment.due, app::DeliveryPump::CatchUpDue(moment.sinceMs, moment.recordsSince,
                                                            moment.recordsThisTurn, moment.dry))
            << moment.what;
    }
}

TEST(BurstArrival, ABurstEndsExactlyAsRecordsHandledOneByOne) {
    const Outcome oneByOne = Deliver(40, false);
    const bool oneByOneNeverSuspended = RedrawWatch::redrawOff == 0;
    const Outcome burst = Deliver(40, true);

    EXPECT_TRUE(oneByOneNeverSuspended);
    EXPECT_GT(RedrawWatch::redrawOff.load(), 0);  // the burst did suspend redrawing
    EXPECT_TRUE(RedrawWatch::lastWasOn);          // and switched it back on
    EXPECT_GT(RedrawWatch::paints.load(), 0);     // and the list painted
    EXPECT_EQ(oneByOne.rows, burst.rows);
    EXPECT_EQ(oneByOne.topRow, burst.topRow);
    EXPECT_EQ(oneByOne.captureBytes, burst.captureBytes);
    EXPECT_NE(std::string::npos, burst.captureBytes.find("10.0.0.1,\"<13>burst record number 0, with a comma\"\r\n"));
}

TEST(BurstArrival, AViewScrolledUpMovesByTheSameRowsInABurst) {
    const Outcome oneByOne = Deliver(3, false);
    const Outcome burst = Deliver(3, true);
    EXPECT_EQ(oneByOne.topRow, burst.topRow);
    EXPECT_EQ(oneByOne.rows, burst.rows);
}

// While a flood keeps records waiting whenever the window takes the queue,
// so that a burst never ends, the list is still redrawn, again and again, and
// painted once each time: a paint costs more than hundreds of records.
TEST(BurstArrival, AFloodThatNeverPausesStillRepaintsOnceEachTime) {
    constexpr int kRedrawsAmidTheFlood = 3;
    constexpr int kRecordsAtATime = 1000;
    RunningMainWindow window(testing_support::SettingsSection({{"KeepRows", "100000000"}}));  // so that no row leaves
    const HWND list = window.Window().MessageList();
    net::DeliveryQueue& deliveries = window.Window().Deliveries();

    // More as soon as the window has taken the last, so records are always
    // waiting when it takes the queue, and never so many that they pile up.
    std::atomic<bool> flooding{true};
    RedrawWatch::Attach(list, &flooding);
    int posted = 0;
    std::thread poster([&] {
        while (flooding) {
            if (!deliveries.HasWaiting())
                for (int i = 0; i < kRecordsAtATime; ++i) deliveries.Push(NumberedRecord(posted++));
            Sleep(1);
        }
    });
    EXPECT_TRUE(HandleMessagesUntil([] { return RedrawWatch::redrawsAmidFlood >= kRedrawsAmidTheFlood; }, 30000));
    flooding = false;
    poster.join();
    EXPECT_TRUE(PumpUntil([&] { return win::ListView(list).Count() == posted && window.Window().DeliveriesCaughtUp(); },
                          60000));
    EXPECT_TRUE(RedrawWatch::lastWasOn);
    EXPECT_LE(RedrawWatch::paints.load(), RedrawWatch::redrawOn.load() + 1);
    RedrawWatch::flooding = nullptr;
}

}  // namespace
