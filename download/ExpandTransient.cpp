#include "download/Expansions.h"
#include "download/MemoryTable.h"

namespace tolm {

namespace {

constexpr const char* kColumns =
    "Mem Flt-# Type  Ts          A4R         TR4R        N1-4R        N2-4R          CN1          "
    "CN2          CDN          A3B         TR3B        N2-3B  Time History";
constexpr const char* kGroupTypes[image::kTransientGroups] = {"TOC", "TOD", "AOD", "AOA"};
constexpr int kValueWidth = 12;
// The average line leaves N1-4R and N2-4R blank and has no place for values 8 and 9.
constexpr int kAveragesBeforeGap = 2;
constexpr int kAveragesAfterGap[] = {3, 4, 5, 6, 7};

void rowStart(TextBuffer& out, std::string_view label, qint32 flight, const char* type) {
    out.text(label);
    out.text(" ");
    out.number(flight, 5);
    out.text(" ");
    out.right(type, 4);
    out.text(" ");
}

// "%s %5d %4s %3s %*g %*g %*s %*s %*g %*g %*g %*g %*g\n" with "avg" and blank N1/N2 columns.
void averageLine(TextBuffer& out, std::string_view label, const FlightBlockView& f, int m) {
    rowStart(out, label, f.flightNumber(), kGroupTypes[m]);
    out.right("avg", 3);
    for (int j = 0; j < kAveragesBeforeGap; ++j) {
        out.text(" ");
        out.general(f.transientAverage(m, j), kValueWidth);
    }
    for (int blank = 0; blank < 2; ++blank) {
        out.text(" ");
        out.right("", kValueWidth);
    }
    for (int j : kAveragesAfterGap) {
        out.text(" ");
        out.general(f.transientAverage(m, j), kValueWidth);
    }
    out.newline();
}

// Per group: one row per record, then the group's average line.
void writeBlock(TextBuffer& out, std::string_view label, const FlightBlockView& f) {
    for (int m = 0; m < image::kTransientGroups; ++m) {
        for (int k = 0; k < image::kTransientRecords; ++k) {
            rowStart(out, label, f.flightNumber(), kGroupTypes[m]);
            out.number(k + 1, 3);
            out.text(" ");
            for (int j = 0; j < image::kTransientValues; ++j) {
                out.general(f.transientValue(m, k, j), kValueWidth);
                out.text(" ");
            }
            out.text(" ");
            out.samples(f.transientSamples(m, k), image::kSamples);
            out.newline();
        }
        averageLine(out, label, f, m);
    }
}

}  // namespace

FileOutcome ExpandTransient(const ReportContext& context, const QString& path,
                            const FlightDataImage& image) {
    return WriteTableByMemory(context, path, QStringLiteral("BRIXAutoDownload::ExpandTransient"),
                              kColumns, image, writeBlock);
}

}  // namespace tolm
