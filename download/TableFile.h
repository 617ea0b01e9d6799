#pragma once
// One table file of a download, written under a temporary name in its directory and renamed
// into place by commit(), so that an interrupted write never leaves a truncated table under the
// final name. Text goes through one buffer that passes it on in large pieces.
#include <QSaveFile>
#include <QString>
#include <optional>

#include "core/Notice.h"

#include "download/TextBuffer.h"

namespace tolm {

class TableFile {
public:
    explicit TableFile(const QString& path);

    // Creates the temporary file; on failure, the critical box with the operation's title.
    std::optional<Notice> open(const QString& failureTitle);
    TextBuffer& out() { return *out_; }
    // The final name without its directory, as the table prints it.
    QByteArray fileName() const;
    // Writes what is left and renames the file into place; false when anything failed.
    bool commit();

private:
    QSaveFile file_;
    std::optional<TextBuffer> out_;
};

}  // namespace tolm
