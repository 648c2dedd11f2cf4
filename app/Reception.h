// Reception.h: the Receive thread with its Datagram receiver, started as the Main window is made and stopped as it goes.
#pragma once

#include <windows.h>

#include "app/StartFailure.h"
#include "net/DatagramReceiver.h"
#include "net/DeliveryQueue.h"
#include "net/ReceiveThread.h"

namespace app {

// Owns the thread's handle, the init event while the thread sets up, the
// receiver and what the thread is given. The UI thread touches the receiver
// only once the thread has ended.
class Reception {
public:
    // The port is 514 in the program; tests pass 0, for one the system picks.
    Reception(net::DeliveryQueue& deliveries, unsigned short port) : deliveries_(deliveries), port_(port) {}
    ~Reception() { Stop(); }
    Reception(const Reception&) = delete;
    Reception& operator=(const Reception&) = delete;

    enum class Started { Receiving, WithoutReception, Failed };
    // Starts the thread and waits, dispatching, until its socket set-up has
    // ended, so the set-up's diagnostics reach the pane first. Without an init
    // event it is reported and nothing is received (WithoutReception); a
    // thread that cannot be started is Failed, and failure says why.
    Started Start(StartFailure& failure);
    // Asks the thread to end and waits for it, dispatching meanwhile.
    void Stop();

    // The port reception is bound to once started; 0 when the set-up failed.
    unsigned short BoundPort() const { return receiver_.BoundPort(); }

private:
    net::DeliveryQueue& deliveries_;
    const unsigned short port_;
    net::DatagramReceiver receiver_;
    net::ReceiveThreadContext context_{};
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
};

}  // namespace app
