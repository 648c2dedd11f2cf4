// RecordFootprint.cpp: what one record costs in memory when nothing else holds it.
#include <cstring>
#include <vector>

#include "bench/BenchLine.h"
#include "bench/BenchSupport.h"
#include "bench/RowsBench.h"
#include "net/SyslogRecord.h"

namespace bench {

int RunRecordFootprint() {
    // The holder's own memory is not the records': its pages are touched before the first reading.
    std::vector<net::RecordPtr> records(kRowsTotal);
    sockaddr_in sender{};
    sender.sin_family = AF_INET;
    sender.sin_addr.s_addr = htonl(INADDR_LOOPBACK);

    const double before = PrivateBytes();
    const double heapBefore = HeapBytesInUse();
    const double blocksBefore = HeapBlocksInUse();
    for (int i = 0; i < kRowsTotal; ++i) {
        const std::string line = BenchLine(static_cast<unsigned long>(i));
        records[i] = net::MakeSyslogRecord(line.data(), line.size(), sender);
        if (!records[i]) return 1;
    }
    const double after = PrivateBytes();
    Result("record_bytes_per_row", (after - before) / kRowsTotal);
    Result("record_heap_bytes_per_row", (HeapBytesInUse() - heapBefore) / kRowsTotal);
    // Each datagram's allocations on the receive path: the record and its message.
    Result("record_allocations_per_row", (HeapBlocksInUse() - blocksBefore) / kRowsTotal);
    Result("record_requested_bytes",
           static_cast<double>(sizeof(net::SyslogRecord) + std::strlen(records[0]->message) + 1));
    return 0;
}

}  // namespace bench
