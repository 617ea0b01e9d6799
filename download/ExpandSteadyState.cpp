#include "download/Expansions.h"
#include "download/ReportHeader.h"
#include "download/TableFile.h"

namespace tolm {

namespace {

constexpr const char* kColumns =
    "Mem Flt-# Bin      A4R_avg     TR4R_avg     TR4R_std      CN1_avg      CN2_avg      "
    "CDN_avg      A3B_avg     TR3B_avg      A3B_std     TR3B_std          A4R         TR4R     "
    "   N1-4R        N2-4R          CN1          CN2          CDN          A3B         TR3B      "
    "  N2-3B  Time History";
constexpr int kValueWidth = 12;

// One row per record: "%s %5d %3d ", the 20 values as "%*g ", one more space, the samples.
void writeRows(TextBuffer& out, const FlightDataImage& image, const std::vector<int>& order,
               quint32 memory) {
    const std::string_view label = memory == 0 ? "PrD" : "PoD";
    for (int b : order) {
        const FlightBlockView f = image.block(b);
        if (f.memory() != memory) {
            continue;
        }
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
    out.separator();
}

}  // namespace

bool ExpandSteadyState(const ReportContext& context, const QString& path,
                       const FlightDataImage& image) {
    TableFile file(path);
    if (!file.open(QStringLiteral("BRIXAutoDownload::ExpandSteadyState"))) {
        return false;
    }
    TextBuffer& out = file.out();
    ReportHeader::write(out, file.fileName(), context, image);
    out.text(kColumns);
    out.newline();
    out.separator();
    const std::vector<int> order = image.blocksByFlightNumber();
    writeRows(out, image, order, 0);
    writeRows(out, image, order, 1);
    return file.commit();
}

}  // namespace tolm
