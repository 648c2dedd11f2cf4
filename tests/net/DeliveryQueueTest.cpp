// DeliveryQueueTest.cpp: the hand-over to the UI thread keeps order, rings rarely and loses nothing.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "diag/DiagnosticReporter.h"
#include "net/DeliveryQueue.h"
#include "net/HandOff.h"
#include "tests/list/RecordFeed.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace testing_support;

constexpr UINT kDoorbell = WM_APP + 7;

// Doorbells waiting in this thread's queue for the window; taken as counted.
int TakeDoorbells(HWND window) {
    int rung = 0;
    MSG msg;
    while (PeekMessageA(&msg, window, kDoorbell, kDoorbell, PM_REMOVE)) ++rung;
    return rung;
}

TEST(DeliveryQueue, RingsOnceUntilTheUiFindsItEmptyAndKeepsEveryItemInOrder) {
    const HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    const long recordsBefore = net::SyslogRecordsAlive();
    {
        net::DeliveryQueue deliveries;
        deliveries.SetDoorbell(window, kDoorbell);
        net::DeliveryBatch batch;

        ASSERT_TRUE(deliveries.Push(MakeRecord("first")));
        diag::Report(0, L"not ours: no sink is set\n");
        deliveries.Deliver(diag::MakeDiagnostic(S_OK, L"between\n"));
        ASSERT_TRUE(deliveries.Push(MakeRecord("second")));
        EXPECT_EQ(1, TakeDoorbells(window));

        deliveries.TakeAllOrArm(batch);
        ASSERT_EQ(3u, batch.size());
        EXPECT_STREQ("first", batch[0].record->message);
        EXPECT_EQ(L"between\n", std::wstring(batch[1].text.get()));
        EXPECT_FALSE(batch[1].record);
        EXPECT_STREQ("second", batch[2].record->message);

        // Taken but not found empty: the UI comes back on its own, so nothing rings.
        ASSERT_TRUE(deliveries.Push(MakeRecord("third")));
        EXPECT_EQ(0, TakeDoorbells(window));
        deliveries.TakeAllOrArm(batch);
        ASSERT_EQ(1u, batch.size());
        deliveries.TakeAllOrArm(batch);
        EXPECT_TRUE(batch.empty());
        ASSERT_TRUE(deliveries.Push(MakeRecord("fourth")));
        EXPECT_EQ(1, TakeDoorbells(window));
        EXPECT_EQ(5u, deliveries.TakenSoFar() + 1);
        // "fourth" is never taken: the queue releases it.
    }
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
    DestroyWindow(window);
}

const char* ClockText(net::HandOff::Clock clock) {
    return clock == net::HandOff::Clock::Stop ? "stop" : "run";
}

// The hand-off on the test's own clock. At each moment the Receive thread
// queues some records, the doorbells they rang are counted, and the UI may take
// the queue, as its doorbell or its clock makes it do.
TEST(DeliveryQueue, TheHandOffRingsOncePerFloodAndArmsTheDoorbellOnlyAfterAQuietSpell) {
    constexpr ULONGLONG kQuietSpellMs = 30;
    constexpr int kLooksAway = -1;
    using Clock = net::HandOff::Clock;
    struct Moment {
        ULONGLONG at;
        int queued;
        int rings;
        int taken;  // kLooksAway: the UI does not take the queue then
        Clock clock;
    };
    const std::vector<Moment> moments = {
        {1000, 1, 1, 1, Clock::Run},           // a lone record after a quiet time rings
        {1010, 0, 0, 0, Clock::Run},           // found empty, but something came 10 ms ago
        {1015, 1, 0, kLooksAway, Clock::Run},  // so the next record does not ring
        {1020, 0, 0, 1, Clock::Run},
        {1030, 80, 0, 80, Clock::Run},  // a flood, taken on the clock
        {1040, 80, 0, 80, Clock::Run},
        {1050, 80, 0, 80, Clock::Run},
        {1060, 80, 0, 80, Clock::Run},
        {1070, 0, 0, 0, Clock::Run},
        {1080, 0, 0, 0, Clock::Run},
        {1089, 0, 0, 0, Clock::Run},
        {1090, 0, 0, 0, Clock::Stop},  // nothing for the quiet spell: the doorbell is armed
        {1095, 2, 1, 2, Clock::Run},   // and the next records ring it, once
        {1110, 0, 0, 0, Clock::Run},
        {1125, 0, 0, 0, Clock::Stop},
    };
    const HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    {
        net::DeliveryQueue deliveries;
        deliveries.SetDoorbell(window, kDoorbell);
        net::HandOff handOff(deliveries, kQuietSpellMs);
        net::DeliveryBatch batch;
        for (const Moment& moment : moments) {
            SCOPED_TRACE(moment.at);
            for (int i = 0; i < moment.queued; ++i) ASSERT_TRUE(deliveries.Push(MakeRecord(std::to_string(i))));
            EXPECT_EQ(moment.rings, TakeDoorbells(window));
            if (moment.taken == kLooksAway) continue;
            EXPECT_STREQ(ClockText(moment.clock), ClockText(handOff.Take(batch, moment.at)));
            EXPECT_EQ(static_cast<size_t>(moment.taken), batch.size());
        }
    }
    DestroyWindow(window);
}

TEST(DeliveryQueue, ItemsFromTwoThreadsArriveWholeAndEachInTheOrderItWasHandedOver) {
    const long recordsBefore = net::SyslogRecordsAlive();
    const long textsBefore = diag::DiagnosticTextsAlive();
    constexpr int kEach = 3000;
    {
        net::DeliveryQueue deliveries;
        std::thread records([&] {
            for (int i = 0; i < kEach; ++i) deliveries.Push(MakeRecord(std::to_string(i)));
        });
        std::thread texts([&] {
            for (int i = 0; i < kEach; ++i) deliveries.Deliver(diag::MakeDiagnostic(S_OK, L"%d", i));
        });
        int nextRecord = 0;
        int nextText = 0;
        net::DeliveryBatch batch;
        while (nextRecord < kEach || nextText < kEach) {
            deliveries.TakeAllOrArm(batch);
            for (const net::Delivery& delivery : batch) {
                if (delivery.record)
                    ASSERT_EQ(std::to_string(nextRecord++), delivery.record->message);
                else
                    ASSERT_EQ(std::to_wstring(nextText++), std::wstring(delivery.text.get()));
            }
        }
        records.join();
        texts.join();
    }
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
    EXPECT_EQ(textsBefore, diag::DiagnosticTextsAlive());
}

const wchar_t kDroppingStarts[] = L"Records are being dropped: the display fell behind or memory ran out\n";

// Past the limit records and texts are dropped and counted; an item that could
// not be made is counted alike. The pane hears once, in place, when dropping
// starts, and the count once the UI has caught up.
TEST(DeliveryQueue, PastItsLimitItemsAreDroppedCountedAndToldOfOnceEach) {
    const long recordsBefore = net::SyslogRecordsAlive();
    const long textsBefore = diag::DiagnosticTextsAlive();
    {
        const size_t recordBytes = sizeof(net::Delivery) + net::RecordBytes(*MakeRecord("r0"));
        net::DeliveryQueue deliveries(3 * recordBytes);
        net::DeliveryBatch batch;
        for (int i = 0; i < 5; ++i) EXPECT_EQ(i < 3, deliveries.Push(MakeRecord("r" + std::to_string(i))));
        deliveries.Deliver(diag::MakeDiagnostic(S_OK, L"past the limit\n"));
        EXPECT_FALSE(deliveries.Push(nullptr));
        deliveries.Deliver(nullptr);

        deliveries.TakeAllOrArm(batch);
        ASSERT_EQ(4u, batch.size());
        for (int i = 0; i < 3; ++i) EXPECT_STREQ(("r" + std::to_string(i)).c_str(), batch[i].record->message);
        EXPECT_EQ(kDroppingStarts, std::wstring(batch[3].text.get()));

        // The batch in hand still counts: the UI has not caught up yet.
        EXPECT_FALSE(deliveries.Push(MakeRecord("r5")));
        deliveries.TakeAllOrArm(batch);
        ASSERT_EQ(1u, batch.size());
        EXPECT_EQ(L"Records dropped: 4, diagnostics dropped: 2 (the display fell behind or memory ran out)\n",
                  std::wstring(batch[0].text.get()));
        EXPECT_EQ(4u, deliveries.RecordsDroppedSoFar());
        deliveries.TakeAllOrArm(batch);
        EXPECT_TRUE(batch.empty()) << "told once";
        ASSERT_TRUE(deliveries.Push(MakeRecord("r6")));
        deliveries.TakeAllOrArm(batch);
        ASSERT_EQ(1u, batch.size());
        EXPECT_STREQ("r6", batch[0].record->message);
        deliveries.TakeAllOrArm(batch);

        // A second episode is told of again, once, though diagnostics are the first to be dropped.
        for (int i = 0; i < 3; ++i) deliveries.Push(MakeRecord("s" + std::to_string(i)));
        deliveries.Deliver(diag::MakeDiagnostic(S_OK, L"past the limit\n"));
        deliveries.Deliver(diag::MakeDiagnostic(S_OK, L"past the limit too\n"));
        deliveries.TakeAllOrArm(batch);
        ASSERT_EQ(4u, batch.size());
        EXPECT_EQ(kDroppingStarts, std::wstring(batch[3].text.get()));
        deliveries.TakeAllOrArm(batch);
        ASSERT_EQ(1u, batch.size());
        EXPECT_EQ(L"Records dropped: 0, diagnostics dropped: 2 (the display fell behind or memory ran out)\n",
                  std::wstring(batch[0].text.get()));
        EXPECT_EQ(4u, deliveries.RecordsDroppedSoFar()) << "every record dropped since the start: none this time";
    }
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
    EXPECT_EQ(textsBefore, diag::DiagnosticTextsAlive());
}

// Records the Receive thread queued just before it ended still reach the file;
// the window is going, so they are not shown.
TEST(DeliveryQueue, WhatIsQueuedWhenTheWindowClosesIsWrittenBeforeTheFileCloses) {
    TempFolder files;
    const std::wstring path = files.File(L"capture.csv");
    const long recordsBefore = net::SyslogRecordsAlive();
    std::string expected;
    {
        RunningMainWindow main(SettingsIni(0, 1, 1, path));
        for (int i = 0; i < 300; ++i) {
            QueueRecord(main.Window(), MakeRecord("queued " + std::to_string(i)));
            expected += "10.1.2.3,queued " + std::to_string(i) + "\r\n";
        }
        main.Close();
        EXPECT_EQ(0u, main.Window().StoredRows().Count()) << "closing only writes what is queued";
    }
    EXPECT_EQ(expected, ReadFileBytes(path));
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
}

}  // namespace
