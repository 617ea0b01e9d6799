#include "viewer/FlightDataElement.h"

#include "core/ByteOrder.h"

namespace tolm::viewer {

namespace {

bool inRange(int v, int count) {
    return v >= 0 && v < count;
}

}  // namespace

FlightDataElement::FlightDataElement(RawFileHeader header, QByteArray block, int slot, QString path)
    : header_(std::move(header)), block_(std::move(block)), slot_(slot), path_(std::move(path)) {
    // A short block reads as zeros where it has no bytes.
    if (block_.size() != raw::kDataBlockSize) {
        block_.resize(raw::kDataBlockSize, '\0');
    }
}

float FlightDataElement::floatAt(qsizetype offset) const {
    return loadLeF32(block_.constData() + offset);
}

RecordSamples FlightDataElement::samplesAt(qsizetype offset) const {
    RecordSamples s;
    const char* p = block_.constData() + offset;
    for (int i = 0; i < kSamplesPerRecord; ++i) {
        s[i] = loadLeI16(p + 2 * i);
    }
    return s;
}

float FlightDataElement::steadyValue(int row, int record) const {
    if (!inRange(row, kSteadyRows) || !inRange(record, kSteadyRecords)) {
        return 0.0f;
    }
    return floatAt(raw::kSteadyValuesOffset + (row * kSteadyRecords + record) * 4);
}

float FlightDataElement::transientValue(int row, int bin, int record) const {
    if (!inRange(row, kTransientRows) || !inRange(bin, 4) || !inRange(record, kTransientRecords)) {
        return 0.0f;
    }
    return floatAt(raw::kTransientValuesOffset +
                   ((row * 4 + bin) * kTransientRecords + record) * 4);
}

float FlightDataElement::transientAverage(int row, int bin) const {
    if (!inRange(row, kTransientRows) || !inRange(bin, 4)) {
        return 0.0f;
    }
    return floatAt(raw::kTransientAveragesOffset + (row * 4 + bin) * 4);
}

RecordSamples FlightDataElement::steadySamples(int record) const {
    if (!inRange(record, kSteadyRecords)) {
        return RecordSamples{};
    }
    return samplesAt(raw::kSteadySamplesOffset + qsizetype(record) * kSamplesPerRecord * 2);
}

RecordSamples FlightDataElement::transientSamples(int bin, int record) const {
    if (!inRange(bin, 4) || !inRange(record, kTransientRecords)) {
        return RecordSamples{};
    }
    return samplesAt(raw::kTransientSamplesOffset +
                     qsizetype(bin * kTransientRecords + record) * kSamplesPerRecord * 2);
}

bool FlightDataElement::steadySuspect() const {
    for (int r = 0; r < kSteadyRecords; ++r) {
        if (steadyValue(10, r) < 0.0f) {
            return true;
        }
    }
    return false;
}

bool FlightDataElement::transientSuspect() const {
    for (int row = 0; row < kTransientRows; ++row) {
        for (int bin = 0; bin < 4; ++bin) {
            for (int k = 0; k < kTransientRecords; ++k) {
                if (transientValue(row, bin, k) < 0.0f) {
                    return true;
                }
            }
        }
    }
    return false;
}

}  // namespace tolm::viewer
