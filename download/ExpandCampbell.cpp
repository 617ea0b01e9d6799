#include <QTextStream>

#include "download/Expansions.h"
#include "download/ReportHeader.h"
#include "download/TableFile.h"

namespace tolm {

namespace {

const QString kSeparator(100, QLatin1Char('-'));
constexpr const char* kNewline = "\r\n";

int setCount(quint32 selector) {
    return selector == 0 ? 1 : selector == 1 ? 2 : 5;
}

// The Campbell data of one flight: band table, set table, band values of each set. Numbers and
// fields take QTextStream's default formatting; "reset" restores it before each line end.
void writeFlight(QTextStream& s, const FlightBlockView& f) {
    const qint32 flight = f.flightNumber();
    const QString label = f.memory() == 0 ? QStringLiteral("PrD") : QStringLiteral("PoD");
    const auto end = [&s] { s << Qt::reset << kNewline; };
    const auto separator = [&s] { s << kSeparator << kNewline; };

    s << "Campbell Data Selector: " << f.campbellSelector() << kNewline;
    separator();
    s << "Mem  Flt-#  Bnd" << qSetFieldWidth(10) << "Fs"
      << "Fw";
    end();
    separator();
    for (int i = 0; i < image::kCampbellBands; ++i) {
        s << qSetFieldWidth(3) << label << qSetFieldWidth(7) << flight << qSetFieldWidth(5) << i
          << qSetFieldWidth(10) << f.fs(i) << f.fw(i);
        end();
    }
    separator();

    const int sets = setCount(f.campbellSelector());
    s << qSetFieldWidth(5) << "Flt-#  Set" << qSetFieldWidth(10);
    for (const char* name : {"CN1_4L", "CN2_4L", "CDN_4L", "FN1_4L", "FN2_4L", "FDN_4L"}) {
        s << name;
    }
    end();
    for (int set = 0; set < sets; ++set) {
        s << qSetFieldWidth(5) << flight << set << qSetFieldWidth(10);
        for (int j = 0; j < image::kCampbellSetValues; ++j) {
            s << f.campbellValue(set, j);
        }
        end();
    }
    separator();

    s << qSetFieldWidth(5) << "Flt-#"
      << "Set" << qSetFieldWidth(10) << "BND"
      << "A_4L"
      << "F_4L"
      << "K1_4L"
      << "K2_4L";
    end();
    for (int set = 0; set < sets; ++set) {
        for (int b = 0; b < image::kCampbellBands; ++b) {
            s << qSetFieldWidth(5) << flight << set << qSetFieldWidth(10) << b;
            for (int q = 0; q < image::kBandValues; ++q) {
                s << f.bandValue(set, b, q);
            }
            end();
        }
        separator();
    }
}

}  // namespace

bool ExpandCampbell(const ReportContext& context, const QString& path,
                    const FlightDataImage& image) {
    TableFile file(path);
    if (!file.open(QStringLiteral("BRIXAutoDownload::ExpandCampbell"))) {
        return false;
    }
    TextBuffer& out = file.out();
    ReportHeader::write(out, file.fileName(), context, image);

    // Built in memory first (it holds no samples), then written in one piece.
    QString table;
    QTextStream s(&table);
    for (int b : image.blocksByFlightNumber()) {
        if (image.block(b).flightNumber() > 0) {
            writeFlight(s, image.block(b));
        }
    }
    s.flush();
    out.text(table.toLatin1());
    return file.commit();
}

}  // namespace tolm
