#include "base/StopSignals.h"

#include <cstring>
#include <string>

namespace
{
volatile std::sig_atomic_t Stop = 0;

constexpr int Caught[] = {SIGINT, SIGTERM, SIGHUP};

void Record(int signal)
{
    Stop = signal;
}
} // namespace

int StopSignal()
{
    return Stop;
}

EStopped::EStopped(int signal)
    : ELyravaneError(std::string("stopped by SIG") + ::sigabbrev_np(signal)), FSignal(signal)
{
}

void ThrowIfStopped()
{
    if (const int signal = Stop)
        throw EStopped(signal);
}

TStopSignals::TStopSignals()
{
    Stop = 0;
    struct sigaction action
    {
    };
    action.sa_handler = Record;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a write or an open that waits is interrupted.
    for (int i = 0; i < 3; ++i)
        ::sigaction(Caught[i], &action, &FOld[i]);
}

TStopSignals::~TStopSignals()
{
    for (int i = 0; i < 3; ++i)
        ::sigaction(Caught[i], &FOld[i], nullptr);
}
