// BenchSupport.h: what the in-process row benchmarks share: clock, memory, pumping, output.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "net/SyslogRecord.h"
#include "settings/Settings.h"

namespace bench {

constexpr int kRowsTotal = 1000000;
constexpr int kRowsPerBlock = 100000;  // each block is timed on its own
constexpr int kRowsPerPost = 10000;    // posted before the queue is pumped

// Seconds on the performance counter.
double Now();

// The process's private bytes (PROCESS_MEMORY_COUNTERS_EX.PrivateUsage).
double PrivateBytes();

// The bytes of every busy block in the process's heaps, headers included: what
// the heaps hold, without the page-level noise of the private bytes.
double HeapBytesInUse();

// How many busy blocks the process's heaps hold: one per live allocation.
double HeapBlocksInUse();

// Dispatches the thread's window messages until none is queued; a quit request is dropped.
void PumpQueued();

// The record of a line from the sender (as in in_addr::s_addr), as the receive thread makes it.
net::RecordPtr RecordOfLine(const std::string& line, std::uint32_t sender);
// The record of the numbered line (BenchLine) from 127.0.0.1.
net::RecordPtr NumberedRecord(unsigned long sequence);
// The record of realistic line i (RealisticLine) from its sender.
net::RecordPtr RealisticRecord(unsigned long row);

// Hands the records of rows first to last to the window, kRowsPerPost at a
// time as the receive thread does, until it holds them.
void Deliver(app::MainWindow& window, unsigned long first, unsigned long last,
             const std::function<net::RecordPtr(unsigned long row)>& record);

// Seconds a search for a text no row holds takes over every row shown, as
// Find runs it; -1 should a row hold it.
double FindNothing(app::MainWindow& window);

// The screens PaintScreens paints, from the top down, each a list height further.
constexpr int kPaintedScreens = 50;

// What a screen's paint covers: the whole list, its header included, or its rows alone.
enum class Painted { WholeList, Rows };

// Every screen of the list from the top down painted a few times, the
// scrolling to each untimed; answers the seconds one paint of a screen took.
double PaintScreens(HWND list, Painted painted);
// How many rows a screen of the list holds.
int RowsPerScreen(HWND list);
// The middle value: of rounds measured in turns, the one a passing load peak does not move.
double Median(std::vector<double> values);

// Prints one "name=value" line of the result.
void Result(const char* name, double value);

// A folder of its own under the temporary folder; its files are removed with it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder() { Remove(); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

    // Removes the folder and its files now; once gone, nothing more happens.
    void Remove();

private:
    std::wstring path_;
};

// Creates and shows the Main window (auto-scroll and display on, no Capture
// file, the newest keepRows rows kept, a port the system picks, its INI file
// in a scratch folder), runs measure on it and destroys it. Answers what
// measure answers, or 1 when the window could not be made.
int WithMainWindow(const std::function<int(app::MainWindow&, ScratchFolder&)>& measure,
                   size_t keepRows = settings::kDefaultKeepRows);

}  // namespace bench
