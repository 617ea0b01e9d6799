#pragma once
// Read access to one flight block of a flight-data image held in memory, value by value.
#include <QtGlobal>

#include "core/ByteOrder.h"
#include "download/FlightImageLayout.h"

namespace tolm {

class FlightBlockView {
public:
    explicit FlightBlockView(const unsigned char* block) : p_(block) {}

    qint32 flightNumber() const { return i32(image::kFlightNumberOffset); }
    quint32 carriedWord() const { return u32(image::kCarriedWordOffset); }
    quint32 memory() const { return u32(image::kMemoryOffset); }
    // i: the order of image::k4RCurrent .. image::k4LHistoric
    quint32 alarmLevel(int i) const { return u32(image::kAlarmLevelsOffset + 4 * i); }

    float steadyValue(int r, int j) const { return f32(steady(r) + 4 * j); }
    const unsigned char* steadySamples(int r) const {
        return p_ + steady(r) + image::kSteadyStateSamplesOffset;
    }

    float transientAverage(int m, int j) const { return f32(group(m) + 4 * j); }
    float transientValue(int m, int k, int j) const { return f32(transient(m, k) + 4 * j); }
    const unsigned char* transientSamples(int m, int k) const {
        return p_ + transient(m, k) + image::kTransientSamplesOffset;
    }

    quint32 campbellSelector() const { return u32(image::kCampbellSelectorOffset); }
    float fs(int band) const { return f32(image::kBandsOffset + 8 * band); }
    float fw(int band) const { return f32(image::kBandsOffset + 8 * band + 4); }
    const unsigned char* campbellSet(int s) const {
        return p_ + image::kCampbellSetsOffset + s * image::kCampbellSetSize;
    }
    float campbellValue(int s, int j) const { return loadLeF32(campbellSet(s) + 4 * j); }
    // q: 0 A_4L, 1 F_4L, 2 K1_4L, 3 K2_4L
    float bandValue(int s, int band, int q) const {
        return loadLeF32(campbellSet(s) +
                         4 * (image::kCampbellSetValues + band * image::kBandValues + q));
    }

    static qint16 sample(const unsigned char* samples, int i) { return loadLeI16(samples + 2 * i); }

private:
    static int steady(int r) {
        return image::kSteadyStateOffset + r * image::kSteadyStateRecordSize;
    }
    static int group(int m) { return image::kTransientOffset + m * image::kTransientGroupSize; }
    static int transient(int m, int k) {
        return group(m) + image::kTransientRecordsOffset + k * image::kTransientRecordSize;
    }
    quint32 u32(int at) const { return loadLe32(p_ + at); }
    qint32 i32(int at) const { return loadLeI32(p_ + at); }
    float f32(int at) const { return loadLeF32(p_ + at); }

    const unsigned char* p_;
};

}  // namespace tolm
