#include "download/MemoryTable.h"

#include "download/ReportHeader.h"
#include "download/TableFile.h"
#include "formats/MemoryLabels.h"

namespace tolm {

FileOutcome WriteTableByMemory(const ReportContext& context, const QString& path,
                               const QString& failureTitle, const char* columns,
                               const FlightDataImage& image, const BlockRows& rows) {
    TableFile file(path);
    if (std::optional<Notice> failure = file.open(failureTitle)) {
        return {false, std::move(failure)};
    }
    TextBuffer& out = file.out();
    ReportHeader::write(out, file.fileName(), context, image);
    out.text(columns);
    out.newline();
    out.separator();
    const std::vector<int> order = image.blocksByFlightNumber();
    for (quint32 memory : {0u, 1u}) {
        const std::string_view label = tableMemoryLabel(memory);
        for (int b : order) {
            const FlightBlockView f = image.block(b);
            if (f.memory() == memory) {
                rows(out, label, f);
            }
        }
        out.separator();
    }
    return {file.commit(), std::nullopt};
}

}  // namespace tolm
