// Any bytes as the response file of the part-number query, decoded as DecodePN decodes it: a
// record exactly when the file holds the response header and the whole record, its bytes those
// of the file, and every text field terminated within its 16 bytes.
#include <QByteArrayView>
#include <cstring>

#include "fuzz/FuzzSupport.h"
#include "link/PartNumberRecord.h"

using fuzz::check;
using tolm::PartNumberRecord;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView file(data, qsizetype(size));
    const std::optional<PartNumberRecord> record = PartNumberRecord::fromResponseFile(file);
    check(record.has_value() == (file.size() >= PartNumberRecord::kResponseFileSize),
          "a record was decoded from a short file, or refused from a whole one");
    if (!record) {
        return 0;
    }
    const auto& bytes = record->bytes();
    const std::uint8_t* from = data + PartNumberRecord::kResponseHeaderSize;
    for (int i = 0; i < PartNumberRecord::kSize; ++i) {
        const bool terminator =
            std::find(PartNumberRecord::kTerminators.begin(), PartNumberRecord::kTerminators.end(),
                      i) != PartNumberRecord::kTerminators.end();
        check(bytes[i] == (terminator ? 0 : from[i]), "a record byte is not the file's",
              QString::number(i));
    }
    for (int offset : {PartNumberRecord::kUnitOffset, PartNumberRecord::kBootMainOffset,
                       PartNumberRecord::kMainOffset, PartNumberRecord::kBootDspOffset,
                       PartNumberRecord::kDspOffset, PartNumberRecord::kConfigOffset}) {
        const QByteArray text = record->textBytes(offset);
        check(text.size() < PartNumberRecord::kFieldWidth, "a part number is not terminated");
        check(!text.contains('\0'), "a part number holds its terminator");
        check(std::memcmp(text.constData(), from + offset, std::size_t(text.size())) == 0,
              "a part number is not the file's text");
    }
    // The texts the main window and the report header show.
    check(record->unit().size() <= 15 && record->mainSoftware().size() <= 15 &&
              record->dspSoftware().size() <= 15 && record->configTable().size() <= 15 &&
              record->bootMainSoftware().size() <= 15 && record->bootDspSoftware().size() <= 15,
          "a part-number text is longer than its field");
    return 0;
}
