#include "download/Expansions.h"
#include "download/MemoryTable.h"

namespace tolm {

namespace {

constexpr const char* kColumns =
    "Mem Flt-# Bin      A4R_avg     TR4R_avg     TR4R_std      CN1_avg      CN2_avg      "
    "CDN_avg      A3B_avg     TR3B_avg      A3B_std     TR3B_std          A4R         TR4R     "
    "   N1-4R        N2-4R          CN1          CN2          CDN          A3B         TR3B      "
    "  N2-3B  Time History";
constexpr int kValueWidth = 12;

// One row per record: "%s %5d %3d ", the 20 values as "%*g ", one more space, the samples.
void writeBlock(TextBuffer& out, std::string_view label, const FlightBlockView& f) {
    for (int r = 0; r < image::kSteadyStateRecords; ++r) {
        out.text(label);
        out.text(" ");
        out.number(f.flightNumber(), 5);
        out.text(" ");
        out.number(r + 1, 3);
        out.text(" ");
        for (int j = 0; j < image::kSteadyStateValues; ++j) {
            out.general(f.steadyValue(r, j), kValueWidth);
            out.text(" ");
        }
        out.text(" ");
        out.samples(f.steadySamples(r), image::kSamples);
        out.newline();
    }
}

}  // namespace

FileOutcome ExpandSteadyState(const ReportContext& context, const QString& path,
                              const FlightDataImage& image) {
    return WriteTableByMemory(context, path, QStringLiteral("BRIXAutoDownload::ExpandSteadyState"),
                              kColumns, image, writeBlock);
}

}  // namespace tolm
