#pragma once
// The bearing data the simulated unit holds for one engine: a flight-data image generated from a
// seed, so that tests know every value, written by the simulator's own small writer both as the
// unit sends it (big-endian response) and as the program files a validated response (host order).
#include <QByteArray>
#include <QtGlobal>
#include <array>
#include <memory>

#include "sim/image/FlightBlock.h"

namespace quorsim {

class FlightImage {
public:
    static constexpr int kFlightBlocks = 20;
    static constexpr int kFlightBlockSize = 143828;
    static constexpr int kImageSize = 68 + kFlightBlocks * kFlightBlockSize;  // response size
    static constexpr int kHeaderWords = 12;

    // Engine header words.
    static constexpr int kTotalFlightsWord = 1;
    static constexpr int kTotalHoursWord = 2;
    static constexpr int kTotalMinutesWord = 3;
    static constexpr int kCountWord = 4;  // kept by the program without being interpreted
    static constexpr int kAccelSourceWord = 5;
    static constexpr int kFirstAlarmWord = 6;  // six levels, the order of a block's alarm levels

    // A realistic image: engine header, 20 flight blocks (some empty), both memories, alarm
    // levels, steady-state and transient values, 1024-sample time histories with shaft-order
    // sines and noise, Campbell data.
    static FlightImage generate(quint32 seed, int engineNumber);
    // What the unit sends after its bearing data was erased: every flight block empty.
    static FlightImage erased(int engineNumber);

    FlightImage(const FlightImage& other);
    FlightImage& operator=(const FlightImage& other);
    FlightImage(FlightImage&&) noexcept = default;
    FlightImage& operator=(FlightImage&&) noexcept = default;
    ~FlightImage();

    // The whole response as the unit sends it: size word, ack 0, block count, blocks; big-endian.
    QByteArray wireResponse() const;
    // The same response in host (little-endian) order, as the link files a validated response.
    QByteArray responseFile() const;

    int engineNumber() const { return engineNumber_; }

    quint32 headerWord(int w) const { return header_.at(w); }
    void setHeaderWord(int w, quint32 v) { header_.at(w) = v; }
    quint32 alarmLevel(int i) const { return header_.at(kFirstAlarmWord + i); }

    // Flight block b = 0..19; the mutable form is for edge cases (duplicate, negative or empty
    // flight numbers, odd memories and selectors, chosen values).
    const FlightBlock& block(int b) const { return blocks_->at(b); }
    FlightBlock& block(int b) { return blocks_->at(b); }

    qint32 flightNumber(int b) const { return block(b).flightNumber; }
    void setFlightNumber(int b, qint32 n) { block(b).flightNumber = n; }
    quint32 memory(int b) const { return block(b).memory; }
    void setMemory(int b, quint32 m) { block(b).memory = m; }
    quint32 campbellSelector(int b) const { return block(b).campbellSelector; }
    void setCampbellSelector(int b, quint32 s) { block(b).campbellSelector = s; }

private:
    using Blocks = std::array<FlightBlock, kFlightBlocks>;
    explicit FlightImage(int engineNumber);
    QByteArray serialise(bool bigEndian) const;

    int engineNumber_ = 1;
    std::array<quint32, kHeaderWords> header_{};
    std::unique_ptr<Blocks> blocks_;  // about 2.9 MB: kept off the stack
};

}  // namespace quorsim
