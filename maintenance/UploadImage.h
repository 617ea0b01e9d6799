#pragma once
// An upload image file: plain text holding hexadecimal 32-bit words separated by white space.
// Words are read as the scan format "%lx" reads them, one after the other, up to the first text
// that is not such a word; whatever follows it is ignored. A word may carry the prefix "0x".
// An image that would send the unit something other than what the file says is refused: one
// without any word, and one with a number too wide for 32 bits.
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

#include "core/Notice.h"

namespace tolm {

struct UploadImage {
    std::vector<quint32> words;
    // The box shown instead of uploading; words is then empty.
    std::optional<Notice> refusal;
    // What the page's upload line reads with the refusal; empty leaves it as it is.
    QString refusalStatus;

    bool refused() const { return refusal.has_value(); }
};

// The words of an image file's text. Pure: bytes in, words or a refusal out.
UploadImage readUploadImage(QByteArrayView text);
// Reads the image file at `path`; a file that cannot be read is refused with "File Open Error".
UploadImage loadUploadImage(const QString& path);

}  // namespace tolm
