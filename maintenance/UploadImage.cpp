#include "maintenance/UploadImage.h"

#include <QFile>

#include "maintenance/MaintenanceLog.h"

namespace tolm {

namespace {

bool isSpace(char c) {
    // The C locale's white space, as the scan format skips it.
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

UploadImage refuse(const QString& text) {
    UploadImage image;
    image.refusal = Notice::warning(QStringLiteral("Upload Error"), text);
    return image;
}

}  // namespace

UploadImage readUploadImage(QByteArrayView text) {
    UploadImage image;
    const qsizetype end = text.size();
    qsizetype at = 0;
    for (;;) {
        while (at < end && isSpace(text[at])) {
            ++at;
        }
        // "0x" introduces the digits only when a digit follows; otherwise the 0 is the word.
        if (at + 2 < end && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X') &&
            hexValue(text[at + 2]) >= 0) {
            at += 2;
        }
        if (at >= end || hexValue(text[at]) < 0) {
            break;  // the first text that is not a word ends the image
        }
        quint64 value = 0;
        for (; at < end && hexValue(text[at]) >= 0; ++at) {
            value = value << 4 | quint64(hexValue(text[at]));
            if (value > 0xFFFFFFFFu) {
                // Cut to 32 bits it would be another word than the file's: never sent.
                qCWarning(lcMaintenance)
                    << "upload image: word" << image.words.size() + 1 << "is wider than 32 bits";
                return refuse(QStringLiteral("Upload file holds a number wider than 32 bits "
                                             "(word %1)")
                                  .arg(image.words.size() + 1));
            }
        }
        image.words.push_back(quint32(value));
    }
    if (image.words.empty()) {
        return refuse(QStringLiteral("Upload file holds no data"));
    }
    return image;
}

UploadImage loadUploadImage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcMaintenance) << "cannot open upload image" << path << file.errorString();
        UploadImage image;
        image.refusal =
            Notice::critical(QStringLiteral("File Open Error"), QStringLiteral("File Open Error"));
        image.refusalStatus = QStringLiteral("Upload failed - file open error");
        return image;
    }
    return readUploadImage(file.readAll());
}

}  // namespace tolm
