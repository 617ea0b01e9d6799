#pragma once
// A command message to the unit: length word (8 + payload bytes), command code, payload words;
// every word big-endian.
#include <QtGlobal>
#include <span>

namespace tolm {

struct UnitCommand {
    static constexpr int kLengthOffset = 0;
    static constexpr int kCodeOffset = 4;
    static constexpr int kPayloadOffset = 8;
    static constexpr int kHeaderSize = 8;
};

// Writes the command into buffer in wire order and returns its length in bytes, or -1 (and
// writes nothing) when it does not fit. Traces the message's words on "tolm.link.traffic".
int BuildCommand(std::span<unsigned char> buffer, std::span<const quint32> payload, quint32 code);

}  // namespace tolm
