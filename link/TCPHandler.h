#pragma once
// The link thread: connects to the unit, then serves one command at a time from the
// LinkContext until it is asked to stop or its connection can no longer be trusted.
#include "link/LinkContext.h"
#include "link/WorkerThread.h"

namespace tolm {

// Exit codes of the link thread.
inline constexpr int kLinkStopped = 0;  // ended on a stop request
inline constexpr int kLinkFailed = -1;  // could not connect, or gave up a broken connection

// The thread's entry routine. Whatever way it ends, its last act is to set the response event.
int TCPHandler(LinkContext& link);

// Starts TCPHandler on `thread`. A command event left over from before (a stop request made
// while no thread ran, a command nobody served) is cleared first, so that the new thread does
// not take it for a command, and so is the last signal of the thread before. False when the
// thread still runs.
bool StartLinkThread(WorkerThread& thread, LinkContext& link);

}  // namespace tolm
