#include "link/LinkContext.h"

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

CommandHandOver::Ticket HandOverCommand(LinkContext& link, quint32 code,
                                        std::span<const quint32> payload, int senderWaitMs) {
    if (UnitCommand::kHeaderSize + 4 * payload.size() > link.commandBuffer.size()) {
        qCWarning(lcLink, "hand-over of command %#x refused: payload too long", code);
        return {0, CommandHandOver::Refusal::PayloadTooLong};
    }
    const int limit = senderWaitMs > 0 ? qMax(link.socketTimeoutMs.load(),
                                              LinkContext::kReceiveLimitFactor * senderWaitMs)
                                       : 0;
    const CommandHandOver::Ticket ticket = link.handOver.submit(
        [&] {
            link.responseEvent.reset();
            SetWorking(link);
            link.bytesReceived.store(0);
            link.responseSize.store(0);
            BuildCommand(link.commandBuffer, payload, code);
        },
        limit);
    if (!ticket) {
        qCWarning(lcLink, "hand-over of command %#x refused: %s", code,
                  ticket.refusal == CommandHandOver::Refusal::NoThread
                      ? "no link thread runs"
                      : "a command is still in flight");
        return ticket;
    }
    link.commandEvent.set();
    return ticket;
}

void RequestAbort(LinkContext& link) {
    link.handOver.withdrawCurrent();
}

bool WaitForCommand(LinkContext& link, int timeoutMs) {
    return link.handOver.waitIdle(timeoutMs);
}

}  // namespace tolm
