#pragma once

#include "base/Exceptions.h"

#include <csignal>

/// The signal (SIGINT, SIGTERM or SIGHUP) that asked the program to stop while a TStopSignals
/// was in place; 0 when none did.
int StopSignal();

/// A long job given up because a stop signal came: it has unwound and cleaned up after itself.
class EStopped : public ELyravaneError
{
public:
    explicit EStopped(int signal);
    int Signal() const { return FSignal; }

private:
    int FSignal;
};

/// Raises EStopped when a stop signal has come.
void ThrowIfStopped();

/// While it lives, SIGINT (Ctrl+C), SIGTERM and SIGHUP only record themselves in StopSignal,
/// and interrupt a blocking system call (EINTR), so a job can end through its destructors.
class TStopSignals
{
public:
    TStopSignals();
    ~TStopSignals();
    TStopSignals(const TStopSignals&) = delete;
    TStopSignals& operator=(const TStopSignals&) = delete;

private:
    struct sigaction FOld[3]{};
};
