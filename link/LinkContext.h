#pragma once
// The state shared by the GUI thread and the link thread. Scalars and requests are atomics, the
// texts sit behind a lock, and the command buffer changes hands through the hand-over: the GUI
// writes it only while no command is in flight, the link thread reads it only while one is.
#include <QString>
#include <QtGlobal>
#include <array>
#include <atomic>
#include <mutex>
#include <span>

#include "link/AutoResetEvent.h"
#include "link/CommandHandOver.h"

namespace tolm {

class LinkContext {
public:
    static constexpr int kCommandBufferSize = 16384;
    // The link thread's limit for one send or one receive to make progress, for a command whose
    // sender does not limit its wait (the download).
    static constexpr int kSocketTimeoutMs = 300000;
    // A command whose sender waits a limited time is given this many times that wait by the
    // link thread: the sender's own time-out, counted in ticks that may lag on a busy machine,
    // always decides, and a withdrawn command is given up by the sender, not by the socket.
    static constexpr int kReceiveLimitFactor = 2;
    // The longest one connect attempt may take before it counts as failed, however long the
    // operating system would wait for an answer.
    static constexpr int kConnectAttemptMs = 1000;

    LinkContext();
    LinkContext(const LinkContext&) = delete;
    LinkContext& operator=(const LinkContext&) = delete;

    std::atomic<bool> stopRequest{false};
    std::atomic<int> port{0};
    std::atomic<int> connectAttempts{1};
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

    // Which command is in flight, its abort request, and whether a thread serves.
    CommandHandOver handOver;
    // kSocketTimeoutMs and kConnectAttemptMs, unless a test shortens them.
    std::atomic<int> socketTimeoutMs{kSocketTimeoutMs};
    std::atomic<int> connectAttemptMs{kConnectAttemptMs};

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
// the progress, builds the command into the command buffer and sets the command event.
// senderWaitMs: how long the sender waits for the answer before it withdraws the command (0:
// without limit). Refused (nothing sent) while a command is in flight, when no link thread runs,
// or when the payload does not fit; the ticket then has generation 0 and tells why.
CommandHandOver::Ticket HandOverCommand(LinkContext& link, quint32 code,
                                        std::span<const quint32> payload, int senderWaitMs = 0);

// Asks the link thread to give up the command in flight (the download's Cancel, a caller whose
// own wait ran out). The thread closes the connection and reports STATUS_OK with no response
// file at once; it connects again before it takes the next command.
void RequestAbort(LinkContext& link);

// Waits at most timeoutMs until no command is in flight; true when none is.
bool WaitForCommand(LinkContext& link, int timeoutMs);

}  // namespace tolm
