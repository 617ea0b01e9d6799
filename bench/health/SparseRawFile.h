#pragma once
// Raw flight-data files for the engine-health benchmarks, sparse: only the bytes the flight index
// reads (the header, then each used block's steady-state values) are written.
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QString>
#include <cstring>

#include "core/ByteOrder.h"
#include "formats/RawFlightFileLayout.h"
#include "health/IndexedFile.h"

namespace tolm::health {

// One sparse raw file of 20 flights from `firstFlight` on, with its steady-state values.
inline void writeRawFile(const QString& path, const char* aircraft, int engine, int firstFlight,
                         qint32 written) {
    unsigned char header[raw::kHeaderSize] = {};
    storeLe32(header + raw::kMagicOffset, raw::kMagic);
    std::memcpy(header + raw::kIdentifierOffset, aircraft, std::strlen(aircraft));
    storeLeI32(header + raw::kEngineNumberOffset, engine);
    storeLeI32(header + raw::kWrittenOffset, written);
    for (int slot = 0; slot < raw::kDataBlocks; ++slot) {
        storeLeI32(header + raw::kFlightNumbersOffset + 4 * slot, firstFlight + slot);
        storeLeI32(header + raw::kMemoriesOffset + 4 * slot, slot % 2);
        for (int i = 0; i < 6; ++i) {
            storeLeI32(header + raw::kAlarmLevelsOffset + 4 * (6 * slot + i),
                       (firstFlight + slot) % 37 == 0 ? 2 : 4);
        }
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::pwrite(fd, header, sizeof header, 0);
    unsigned char values[kSteadyBytes];
    for (int slot = 0; slot < raw::kDataBlocks; ++slot) {
        for (int i = 0; i < kSteadyBytes / 4; ++i) {
            storeLeF32(values + 4 * i, float((firstFlight + slot) % 101) * 0.01f + i * 1e-4f);
        }
        ::pwrite(fd, values, sizeof values, raw::kHeaderSize + off_t(slot) * raw::kDataBlockSize);
    }
    ::ftruncate(fd, raw::kFileSize);
    ::close(fd);
}

}  // namespace tolm::health
