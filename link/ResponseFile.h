#pragma once
// The response file: the host-order copy of the last valid unit response, "QUOR-" and the
// process id in the user's home directory. Written by the link thread only.
#include <QString>
#include <QtGlobal>

class QFile;

namespace tolm {

QString responseFilePath();

// Checks the response received into temporary (announced size `size`) and writes the response
// file, whose path it stores in responseFileName. 0 on success; -1 when the response is refused,
// after logging the reason (a refused ack, a bad block, a truncated response; a size below the
// 12-byte header or above the limit is refused without a record). On a refusal after the
// response file was opened it is deleted and the name cleared.
int ValidateResponse(QString& responseFileName, QFile& temporary, quint32 size);

// Converts a block's big-endian elements to host order in place: type 1 as 16-bit elements,
// types 2 and 3 as 32-bit elements, type 0 unchanged. Bytes after the last whole element stay.
void SwapBlock(unsigned char* data, quint32 byteCount, quint32 type);

}  // namespace tolm
