#pragma once
// One upload: the image cut into packets of 1280 words, each packet one upload command, the
// next packet handed over on the first pacing tick after the unit answered the one before.
// Ticks come once a second; a packet waits 60 s for its answer, the last one 90 s.
//
//   Running --packet answered--> next packet ... --last packet answered------> Completed
//      |   (DSP software, configuration table: from the first tick without an answer to the
//      |    last packet until that answer, the unit is shown reinitialising)
//      +--the link refused the packet, the unit answered with an error, or the
//      |  connection was lost--------------------------------------------------> Failed
//      +--no answer in time (the packet is withdrawn)--------------------------> TimedOut
//
// Nothing is sent after a packet that did not complete. A packet counts as answered only when
// the unit's answer came back valid: one the link gave up on never does. The link is set up
// again once when it cannot take the first packet; a later packet it cannot take fails the
// upload, since the unit would not carry on with the rest on a new connection.
#include <QString>
#include <optional>
#include <vector>

#include "core/Notice.h"
#include "link/StepSequence.h"
#include "maintenance/UploadKind.h"

namespace tolm {

class LinkContext;

// The number of packets n words fill.
int uploadPacketCount(std::size_t words);
// The packets of an image as link steps: 1280 words each, a short last packet padded with zero
// words, 60 ticks to wait for each answer, 90 for the last.
std::vector<SequenceStep> uploadPackets(UploadKind kind, const std::vector<quint32>& words);

class UploadSequence : private StepSequence::Owner {
public:
    // The pacing tick.
    static constexpr int kTickMs = 1000;
    enum class State { Running, Completed, Failed, TimedOut };

    class View {
    public:
        virtual ~View() = default;
        // Packet `number` (from 1) of `count` is being handed to the link.
        virtual void packetStarted(int /*number*/, int /*count*/) {}
        // Shows or removes the notice that the unit reinitialises.
        virtual void showReinitialising(bool /*shown*/) {}
        // Sets the link up again; true when it is up.
        virtual bool reconnect() { return false; }
        // The upload has ended; state() tells how.
        virtual void finished() {}
    };

    // words must not be empty (an empty image is refused before an upload is made).
    UploadSequence(LinkContext& link, UploadKind kind, const std::vector<quint32>& words,
                   View& view);

    // Hands over the first packet.
    void start() { sequence_.start(); }
    // One pacing tick.
    void tick() { sequence_.tick(); }

    UploadKind kind() const { return kind_; }
    State state() const { return state_; }
    bool isFinished() const { return state_ != State::Running; }
    int packetCount() const { return sequence_.size(); }
    // The packet handed over last, counted from 1 (0 before the first); once the upload has
    // failed or timed out, the packet that did.
    int packetNumber() const { return packetNumber_; }
    bool reinitialising() const { return reinitialising_; }
    const StepSequence& packets() const { return sequence_; }

    // What the page shows: the upload line, and the status of the kind's section.
    QString progressText() const;
    QString statusText() const;
    // The box that ends the upload; none for a configuration table that completed, whose
    // erase follows.
    std::optional<Notice> endNotice() const;

private:
    void stepStarted(int index) override;
    void stepFinished(int index, StepOutcome outcome) override;
    void progress(int value, int maximum) override;
    bool reconnect() override;
    void finished() override;
    void setReinitialising(bool shown);

    LinkContext& link_;
    const UploadKind kind_;
    View& view_;
    StepSequence sequence_;
    State state_ = State::Running;
    int packetNumber_ = 0;
    bool reinitialising_ = false;
};

}  // namespace tolm
