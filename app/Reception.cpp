// Reception.cpp: the init event lives only while the thread sets up; the thread is waited for with the pumping wait.
#include "app/Reception.h"

#include "app/PumpingWait.h"
#include "diag/DiagnosticReporter.h"

namespace app {

Reception::Started Reception::Start(StartFailure& failure) {
    const HANDLE initEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!initEvent) {
        diag::Report(StatusFromError(static_cast<long>(GetLastError())), L"Cannot create the init event\r\n");
        return Started::WithoutReception;
    }
    context_ = {&deliveries_, &receiver_, initEvent, port_};
    thread_ = CreateThread(nullptr, 0, net::ReceiveThreadProc, &context_, 0, &threadId_);
    if (thread_) PumpingWait(initEvent);
    else failure = {L"Cannot create the Receive thread", LastStatus()};
    CloseHandle(initEvent);
    context_.initEvent = nullptr;
    return thread_ ? Started::Receiving : Started::Failed;
}

void Reception::Stop() {
    if (!thread_) return;
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    PumpingWait(thread_);
    CloseHandle(thread_);
    thread_ = nullptr;
}

}  // namespace app
