#pragma once
// The commands the ground station sends to the unit, and how long the sending side waits for
// each answer. The link thread itself allows its socket time-out per send and per receive.
// This header is shared with the unit simulator, which needs nothing else of the program.
#include <cstdint>

namespace tolm {

inline constexpr std::uint32_t CMD_GET_PART_NUMBERS = 0x01;
inline constexpr std::uint32_t CMD_DOWNLOAD_BEARING_DATA = 0x60;
inline constexpr std::uint32_t CMD_ERASE_BEARING_DATA = 0x65;
inline constexpr std::uint32_t CMD_ERASE_BEARING_DEFECT_HISTORY = 0x66;
inline constexpr std::uint32_t CMD_ERASE_ACCEL_DEFECT_HISTORY = 0x67;
inline constexpr std::uint32_t CMD_UPLOAD_MAIN_SOFTWARE = 0xF0;
inline constexpr std::uint32_t CMD_UPLOAD_DSP_SOFTWARE = 0xF2;
inline constexpr std::uint32_t CMD_UPLOAD_CONFIG_TABLE = 0xF3;

// Payload words of an upload packet (5120 bytes).
inline constexpr int kUploadPacketWords = 1280;

// Waits of the sending side for the answer.
inline constexpr int kPartNumberWaitMs = 5000;
inline constexpr int kEraseBearingDataWaitMs = 300000;
inline constexpr int kEraseDefectHistoryWaitMs = 60000;
inline constexpr int kUploadPacketWaitMs = 60000;
inline constexpr int kUploadLastPacketWaitMs = 90000;

}  // namespace tolm
