#include "maintenance/UploadRun.h"

#include <QFileInfo>

namespace tolm {

QString uploadFolder(const QString& dataDirectory) {
    return dataDirectory + QStringLiteral("/SW_uploads");
}

UploadFollowUp uploadFollowUp(UploadKind kind, UploadSequence::State state,
                              std::optional<Notice> notice) {
    UploadFollowUp next;
    const bool completed = state == UploadSequence::State::Completed;
    next.readPartNumbers = completed && reinitialisesAfterUpload(kind);
    next.eraseEverything = completed && kind == UploadKind::ConfigTable;
    next.notice = std::move(notice);
    next.endProgram = completed && kind == UploadKind::MainSoftware;
    return next;
}

UploadRun::~UploadRun() = default;

void UploadRun::choose(UploadKind kind, const QString& path) {
    paths_[std::size_t(kind)] = path;
}

QString UploadRun::fileName(UploadKind kind) const {
    const QString chosen = path(kind);
    return chosen.isEmpty() ? QString() : QFileInfo(chosen).fileName();
}

std::optional<Notice> UploadRun::missingFile(UploadKind kind) const {
    if (!path(kind).isEmpty()) {
        return std::nullopt;
    }
    return Notice::warning(QStringLiteral("Upload Error"),
                           QStringLiteral("No upload file selected"));
}

UploadSequence& UploadRun::make(LinkContext& link, UploadKind kind,
                                const std::vector<quint32>& words, UploadSequence::View& view) {
    Q_ASSERT(!busy());
    view_ = &view;
    pending_ = false;
    upload_ = std::make_unique<UploadSequence>(link, kind, words,
                                               static_cast<UploadSequence::View&>(*this));
    return *upload_;
}

bool UploadRun::tick() {
    if (!upload_ || upload_->isFinished()) {
        return false;
    }
    upload_->tick();
    return true;
}

std::optional<UploadFollowUp> UploadRun::beginFollowUp() {
    if (!pending_ || followingUp_ || !upload_ || !upload_->isFinished()) {
        return std::nullopt;
    }
    pending_ = false;
    followingUp_ = true;
    return uploadFollowUp(upload_->kind(), upload_->state(), upload_->endNotice());
}

void UploadRun::endFollowUp() {
    followingUp_ = false;
}

void UploadRun::packetStarted(int number, int count) {
    view_->packetStarted(number, count);
}

void UploadRun::showReinitialising(bool shown) {
    view_->showReinitialising(shown);
}

bool UploadRun::reconnect() {
    return view_->reconnect();
}

void UploadRun::finished() {
    pending_ = true;
    view_->finished();
}

}  // namespace tolm
