#pragma once
// The state shared by the GUI thread and the link thread. Scalars and requests are atomics, the
// texts sit behind a lock, and the command buffer changes hands with commandInFlight: the GUI
// writes it only while no command is in flight, the link thread reads it only while one is.
#include <QString>
#include <QtGlobal>
#include <array>
#include <atomic>
#include <mutex>
#include <span>

#include "link/AutoResetEvent.h"

namespace tolm {

class LinkContext {
public:
    static constexpr int kCommandBufferSize = 16384;
    // The link thread's limit for one send or one receive to make progress.
    static constexpr int kSocketTimeoutMs = 300000;

    LinkContext();
    LinkContext(const LinkContext&) = delete;
    LinkContext& operator=(const LinkContext&) = delete;

    std::atomic<bool> stopRequest{false};
    std::atomic<int> port{0};
    std::atomic<int> connectAttempts{1};
    std::atomic<bool> abortRequest{false};
    // Progress of the response being received: bytes so far (size word included), and the
    // size the unit announced.
    std::atomic<qint32> bytesReceived{0};
    std::atomic<qint32> responseSize{0};
    std::atomic<int> statusCode{0};
    std::array<unsigned char, kCommandBufferSize> commandBuffer;
    // Set: a command, or a stop request, is ready. Reset by a wait.
    AutoResetEvent commandEvent;
    // Set: the thread is ready, a command has finished, or the thread has ended.
    AutoResetEvent responseEvent;

    // Set by the hand-over, cleared by the link thread just before it signals the outcome.
    std::atomic<bool> commandInFlight{false};
    // Set when a link thread is started, cleared by it just before its last signal.
    std::atomic<bool> threadRunning{false};
    // kSocketTimeoutMs, unless a test shortens it.
    std::atomic<int> socketTimeoutMs{kSocketTimeoutMs};

    QString host() const;
    void setHost(const QString& host);
    QString statusText() const;
    // Sets the text, then the code.
    void setStatus(int code, const QString& text);
    QString responseFileName() const;
    void setResponseFileName(const QString& name);

private:
    mutable std::mutex textLock_;
    QString host_;
    QString statusText_;
    QString responseFileName_;
};

// Marks the link busy: status code STATUS_WORKING with the text "working".
void SetWorking(LinkContext& link);

// Hands one command to the link thread: resets the response event, marks the link busy, clears
// the abort request and the progress, builds the command into the command buffer and sets the
// command event. Refuses (false, nothing sent) while a command is in flight, when no link thread
// runs, or when the payload does not fit.
bool HandOverCommand(LinkContext& link, quint32 code, std::span<const quint32> payload);

// Asks the link thread to give up the command in flight (the download's Cancel, a caller whose
// own wait ran out). The thread closes the connection, connects again and reports STATUS_OK
// with no response file.
void RequestAbort(LinkContext& link);

// Waits at most timeoutMs until no command is in flight; true when none is.
bool WaitForCommand(LinkContext& link, int timeoutMs);

}  // namespace tolm
