#pragma once
// The uploads of one run of the program, whichever page shows them: the image file chosen per
// kind, the upload that runs or ran last, and what follows it once it has ended. An upload
// belongs to the run, not to the page: it goes on when the page is closed. While one runs, and
// until what follows it has been done, no other upload starts.
//
//   idle --make()--> running --the upload ends--> follow-up pending
//    ^                                                  |
//    |                                   beginFollowUp() (once, however often it is asked)
//    |                                                  v
//    +----------------- endFollowUp() <-------- following up
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "core/Notice.h"
#include "maintenance/UploadKind.h"
#include "maintenance/UploadSequence.h"

namespace tolm {

class LinkContext;

// The folder the upload images are chosen in: the data directory's "SW_uploads".
QString uploadFolder(const QString& dataDirectory);

// What follows an upload once it has ended, in this order.
struct UploadFollowUp {
    // The unit has reinitialised: its part numbers are read again, on a link set up again if
    // need be.
    bool readPartNumbers = false;
    // A new configuration table: every memory of the unit is erased, after the part numbers.
    bool eraseEverything = false;
    // The box that ends the upload (none for a table that completed: its erase follows).
    std::optional<Notice> notice;
    // New main software: the unit must be restarted by hand, and the program ends.
    bool endProgram = false;
};

// What follows an upload of `kind` that ended in `state` with `notice`.
UploadFollowUp uploadFollowUp(UploadKind kind, UploadSequence::State state,
                              std::optional<Notice> notice);

class UploadRun : private UploadSequence::View {
public:
    UploadRun() = default;
    ~UploadRun() override;
    UploadRun(const UploadRun&) = delete;
    UploadRun& operator=(const UploadRun&) = delete;

    // The image file chosen for a kind. The whole path is kept, however long: a shortened one
    // would name another file.
    void choose(UploadKind kind, const QString& path);
    QString path(UploadKind kind) const { return paths_[std::size_t(kind)]; }
    // The name the page shows: the file's name without its folder.
    QString fileName(UploadKind kind) const;
    // The box when an upload of `kind` is asked for without a file.
    std::optional<Notice> missingFile(UploadKind kind) const;

    // An upload runs, or what follows it has not been done yet.
    bool busy() const { return (upload_ && !upload_->isFinished()) || pending_ || followingUp_; }
    // The upload that runs or ran last, if any.
    const UploadSequence* upload() const { return upload_.get(); }

    // Makes the upload of `words` (not empty), to be started by the caller; `view` hears what
    // it reports. Only when not busy().
    UploadSequence& make(LinkContext& link, UploadKind kind, const std::vector<quint32>& words,
                         UploadSequence::View& view);
    // One pacing tick of the upload; false when none runs (none was made, or it has ended).
    bool tick();

    // What follows the upload that ended, once: nothing while an upload runs, when nothing is
    // pending, or while it is being followed up (a loop inside the follow-up may ask again).
    std::optional<UploadFollowUp> beginFollowUp();
    // The follow-up has been done: the next upload may start.
    void endFollowUp();

private:
    void packetStarted(int number, int count) override;
    void showReinitialising(bool shown) override;
    bool reconnect() override;
    void finished() override;

    std::array<QString, kUploadKinds> paths_;
    std::unique_ptr<UploadSequence> upload_;
    UploadSequence::View* view_ = nullptr;
    bool pending_ = false;
    bool followingUp_ = false;
};

}  // namespace tolm
