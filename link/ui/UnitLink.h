#pragma once
// The main window's link to the unit: the LinkContext, the link thread, the part numbers, the
// three flags the main menu is enabled from, and who owns the link. EstablishUnitLink connects
// when no link thread runs (with an abortable "Establishing connection..." notice) and asks the
// unit for its part numbers; CheckPartNumbers asks again on the running link.
//
// Its waits keep the screen drawn but hand out none of the toolkit's events, so that no command
// of a window runs inside them; each is bounded: the connection by "ConnectTimeout" attempts
// (and the notice's Abort), the part numbers by kPartNumberWaitMs.
#include <QString>
#include <functional>
#include <memory>

#include "link/LinkContext.h"
#include "link/LinkOwner.h"
#include "link/PartNumberRecord.h"
#include "link/WorkerThread.h"
#include "link/ui/LinkStatusDisplay.h"

namespace tolm {

class UnitLink {
public:
    // How long program exit waits for the link thread.
    static constexpr int kExitWaitMs = 2000;
    // The connect wait: "ConnectTimeout" x 50 slices of 20 ms, about one second per attempt.
    static constexpr int kConnectSliceMs = 20;
    static constexpr int kConnectSlicesPerAttempt = 50;
    // The longest wait for the link to report on a command withdrawn earlier before the
    // part-number query is handed over.
    static constexpr int kLetGoWaitMs = 10000;

    explicit UnitLink(LinkStatusDisplay& display);
    UnitLink(const UnitLink&) = delete;
    UnitLink& operator=(const UnitLink&) = delete;
    // Stops a running link thread, waiting at most kExitWaitMs for it to end; a thread that
    // has not ended by then is left behind, so that exit never hangs.
    ~UnitLink();

    // Reads "Port" and "IP Address" from the settings into the LinkContext.
    void InitLinkContext();
    // Host and port for the next connection. A running link thread keeps its connection until
    // it is stopped (requestStop()).
    void setAddress(const QString& host, int port);

    // True when the unit answered the part-number query.
    bool EstablishUnitLink();
    // True when the unit answered the part-number query with STATUS_OK. A link that cannot
    // carry the query (its thread has ended, or its connection is gone), or on which the query
    // has no answer in time (a unit that went quiet without closing the connection), is set up
    // again once, with the abortable notice, and asked again.
    bool CheckPartNumbers();
    // Sets up again a link that went down during a download or an erase (the unit closed the
    // connection): a new link thread connects, with the abortable notice, and the part numbers
    // are read again, without the compatibility warning. True when the unit answered; a link
    // thread that still runs is kept as it is.
    bool Reconnect();
    // Reads the response file named in the LinkContext into the part-number record and deletes it.
    void DecodePN();

    bool communicationOk() const { return communicationOk_; }
    bool mainUploadMode() const { return mainUploadMode_; }
    bool compatible() const { return compatible_; }
    // The main menu's "B1" (Download) and "B3" (Clear Memory), unless started with "-s".
    bool downloadEnabled() const { return communicationOk_ && !mainUploadMode_ && compatible_; }
    bool clearMemoryEnabled() const { return communicationOk_ && !mainUploadMode_; }

    const PartNumberRecord& partNumbers() const { return record_; }
    LinkContext& context() { return link_; }
    bool threadRunning() const { return link_.handOver.threadRunning(); }

    // Who owns the link. While another activity owns it, RefusedWhileBusy() tells the user that
    // it must end first (a box) and returns true.
    LinkOwner& owner() { return owner_; }
    bool RefusedWhileBusy() const;

    // Asks the link thread to end, without waiting (a new address or port).
    void requestStop();
    // Program exit: marks the link busy, asks the thread to end and waits at most waitMs.
    // True when no link thread runs any more.
    bool stop(int waitMs);

    // The wait for the part numbers (kPartNumberWaitMs); tests shorten it.
    void setPartNumberWaitMs(int ms) { partNumberWaitMs_ = ms; }

private:
    enum class Query { Answered, Failed, TimedOut, ConnectionLost };
    enum class Retry { None, ConnectionLost, ConnectionLostOrSilent };

    // Waits for a thread that was asked to stop and clears the request.
    void endStoppedThread();
    void showSetupFailure(const QString& text);
    void connectNewThread();
    bool checkPartNumbers(Retry retry);
    Query queryPartNumbers();
    // Waits, keeping the screen drawn, until `done` or timeoutMs has passed; true when done.
    static bool waitDrawing(const std::function<bool(int sliceMs)>& done, int timeoutMs);
    bool reportPartNumbers(bool answered, bool warn = true);
    void show(const char* field, const QString& text);

    LinkStatusDisplay& display_;
    // On the heap: a link thread that does not end at exit is left behind with its context.
    std::unique_ptr<LinkContext> context_ = std::make_unique<LinkContext>();
    LinkContext& link_ = *context_;
    WorkerThread thread_;
    LinkOwner owner_;
    PartNumberRecord record_;
    bool communicationOk_ = false;
    bool mainUploadMode_ = false;
    bool compatible_ = false;
    int partNumberWaitMs_;
};

}  // namespace tolm
