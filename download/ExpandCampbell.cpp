#include "download/Expansions.h"
#include "download/ReportHeader.h"
#include "download/TableFile.h"
#include "formats/MemoryLabels.h"

namespace tolm {

namespace {

int setCount(quint32 selector) {
    return selector == 0 ? 1 : selector == 1 ? 2 : 5;
}

// The Campbell data of one flight: band table, set table, band values of each set. Fields are
// right-aligned and never cut; numbers take QTextStream's default formatting.
void writeFlight(TextBuffer& out, const FlightBlockView& f) {
    const qint32 flight = f.flightNumber();
    const std::string_view label = tableMemoryLabel(f.memory());
    const auto names = [&out](std::initializer_list<const char*> list) {
        for (const char* name : list) {
            out.right(name, 10);
        }
    };

    out.text("Campbell Data Selector: ");
    out.number(f.campbellSelector());
    out.newline();
    out.separator();
    out.text("Mem  Flt-#  Bnd");
    names({"Fs", "Fw"});
    out.newline();
    out.separator();
    for (int i = 0; i < image::kCampbellBands; ++i) {
        out.right(label, 3);
        out.number(flight, 7);
        out.number(i, 5);
        out.smart(f.fs(i), 10);
        out.smart(f.fw(i), 10);
        out.newline();
    }
    out.separator();

    const int sets = setCount(f.campbellSelector());
    out.right("Flt-#  Set", 5);
    names({"CN1_4L", "CN2_4L", "CDN_4L", "FN1_4L", "FN2_4L", "FDN_4L"});
    out.newline();
    for (int set = 0; set < sets; ++set) {
        out.number(flight, 5);
        out.number(set, 5);
        for (int j = 0; j < image::kCampbellSetValues; ++j) {
            out.smart(f.campbellValue(set, j), 10);
        }
        out.newline();
    }
    out.separator();

    out.right("Flt-#", 5);
    out.right("Set", 5);
    names({"BND", "A_4L", "F_4L", "K1_4L", "K2_4L"});
    out.newline();
    for (int set = 0; set < sets; ++set) {
        for (int b = 0; b < image::kCampbellBands; ++b) {
            out.number(flight, 5);
            out.number(set, 5);
            out.number(b, 10);
            for (int q = 0; q < image::kBandValues; ++q) {
                out.smart(f.bandValue(set, b, q), 10);
            }
            out.newline();
        }
        out.separator();
    }
}

}  // namespace

FileOutcome ExpandCampbell(const ReportContext& context, const QString& path,
                           const FlightDataImage& image) {
    TableFile file(path);
    if (std::optional<Notice> failure =
            file.open(QStringLiteral("BRIXAutoDownload::ExpandCampbell"))) {
        return {false, std::move(failure)};
    }
    TextBuffer& out = file.out();
    ReportHeader::write(out, file.fileName(), context, image);
    // The table holds no samples: it stays in the buffer and reaches the file in one piece.
    // Every block in use is listed, negative flight numbers included; only 0 marks an empty one.
    for (int b : image.blocksByFlightNumber()) {
        if (image.block(b).flightNumber() != 0) {
            writeFlight(out, image.block(b));
        }
    }
    return {file.commit(), std::nullopt};
}

}  // namespace tolm
