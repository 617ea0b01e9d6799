#pragma once
// The link's status codes, as the link thread and the GUI leave them in the LinkContext.

namespace tolm {

inline constexpr int STATUS_OK = 0;       // the last command completed
inline constexpr int STATUS_READY = 1;    // connected, waiting for the first command
inline constexpr int STATUS_WORKING = 2;  // a command has been handed over
inline constexpr int STATUS_EXITED = 3;   // the thread ended on a stop request
inline constexpr int STATUS_ERROR = 4;    // the status text holds the reason

}  // namespace tolm
