#pragma once
// The bearing data the simulated unit holds for one engine: a flight-data image generated from a
// seed, so that tests know every value, written by the simulator's own small writer both as the
// unit sends it (big-endian response) and as the program files a validated response (host order).
#include <QByteArray>
#include <QtGlobal>

namespace quorsim {

class FlightImage {
public:
    static constexpr int kFlightBlocks = 20;
    static constexpr int kFlightBlockSize = 143828;
    static constexpr int kImageSize = 68 + kFlightBlocks * kFlightBlockSize;  // response size

    // A realistic image: engine header, 20 flight blocks (some empty), both memories, alarm
    // levels, steady-state and transient values, 1024-sample time histories with shaft-order
    // sines and noise, Campbell data.
    static FlightImage generate(quint32 seed, int engineNumber);
    // What the unit sends after its bearing data was erased: every flight block empty.
    static FlightImage erased(int engineNumber);

    // The whole response as the unit sends it: size word, ack 0, block count, blocks; big-endian.
    QByteArray wireResponse() const;
    // The same response in host (little-endian) order, as the link files a validated response.
    QByteArray responseFile() const;

    // (Accessors and mutators for every value follow in the implementation.)
};

}  // namespace quorsim
