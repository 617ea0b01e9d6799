#include "link/LinkContext.h"

#include <QDeadlineTimer>
#include <chrono>
#include <thread>

#include "link/LinkLog.h"
#include "link/LinkStatus.h"
#include "link/UnitCommand.h"

namespace tolm {

LinkContext::LinkContext() {
    commandBuffer.fill(0xFF);
}

QString LinkContext::host() const {
    std::lock_guard lock(textLock_);
    return host_;
}

void LinkContext::setHost(const QString& host) {
    std::lock_guard lock(textLock_);
    host_ = host;
}

QString LinkContext::statusText() const {
    std::lock_guard lock(textLock_);
    return statusText_;
}

void LinkContext::setStatus(int code, const QString& text) {
    std::lock_guard lock(textLock_);
    statusText_ = text;
    statusCode.store(code);
}

QString LinkContext::responseFileName() const {
    std::lock_guard lock(textLock_);
    return responseFileName_;
}

void LinkContext::setResponseFileName(const QString& name) {
    std::lock_guard lock(textLock_);
    responseFileName_ = name;
}

void SetWorking(LinkContext& link) {
    link.setStatus(STATUS_WORKING, QStringLiteral("working"));
}

bool HandOverCommand(LinkContext& link, quint32 code, std::span<const quint32> payload) {
    if (link.commandInFlight.load()) {
        qCWarning(lcLink, "hand-over of command %#x refused: a command is still in flight", code);
        return false;
    }
    if (!link.threadRunning.load()) {
        qCWarning(lcLink, "hand-over of command %#x refused: no link thread runs", code);
        return false;
    }
    if (UnitCommand::kHeaderSize + 4 * payload.size() > link.commandBuffer.size()) {
        qCWarning(lcLink, "hand-over of command %#x refused: payload too long", code);
        return false;
    }
    link.responseEvent.reset();
    SetWorking(link);
    // Cleared here rather than when the thread picks the command up, so that an abort made
    // before the thread wakes is not lost.
    link.abortRequest.store(false);
    link.bytesReceived.store(0);
    link.responseSize.store(0);
    BuildCommand(link.commandBuffer, payload, code);
    link.commandInFlight.store(true);
    link.commandEvent.set();
    return true;
}

void RequestAbort(LinkContext& link) {
    if (link.commandInFlight.load()) {
        link.abortRequest.store(true);
    }
}

bool WaitForCommand(LinkContext& link, int timeoutMs) {
    // Watches the flag rather than the response event, which belongs to whoever handed the
    // command over.
    const QDeadlineTimer deadline(timeoutMs);
    while (link.commandInFlight.load()) {
        if (deadline.hasExpired()) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace tolm
