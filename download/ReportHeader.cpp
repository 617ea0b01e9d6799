#include "download/ReportHeader.h"

#include <map>

#include "core/Config.h"
#include "formats/MemoryLabels.h"

namespace tolm {

namespace {

constexpr int kLabelWidth = 30;
constexpr int kPartNumberWidth = 16;
constexpr int kAlgoWidth = 10;
constexpr int kLevelColumnWidth = 12;

std::string_view view(const QByteArray& b) {
    return std::string_view(b.constData(), b.size());
}

void line(TextBuffer& out, std::string_view label, std::string_view value) {
    out.left(label, kLabelWidth);
    out.text(value);
    out.newline();
}

void lineOfNumber(TextBuffer& out, std::string_view label, long long value) {
    out.left(label, kLabelWidth);
    out.number(value);
    out.newline();
}

// "%-16.16s": exactly 16 characters, cut or padded.
void partNumberLine(TextBuffer& out, std::string_view label, const QByteArray& pn) {
    out.left(label, kLabelWidth);
    out.left(view(pn.left(kPartNumberWidth)), kPartNumberWidth);
    out.newline();
}

// The comments keep their line breaks; each becomes CR LF like every other line end.
QByteArray commentsText(const QByteArray& comments) {
    QByteArray text = comments;
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    text.replace("\n", "\r\n");
    return text;
}

QByteArray levelText(quint32 level, const char* four) {
    if (level >= 1 && level <= 3) {
        return "Level " + QByteArray::number(level);
    }
    return level == 4 ? QByteArray(four) : QByteArray("Unknown");
}

void algoLine(TextBuffer& out, std::string_view label, const QByteArray& algo1,
              const QByteArray& algo2, const QByteArray& algo3) {
    out.left(label, kLabelWidth);
    out.left(view(algo1), kAlgoWidth);
    out.left(view(algo2), kAlgoWidth);
    out.text(view(algo3));
    out.newline();
}

}  // namespace

std::string_view ReportHeader::accelSourceText(qint32 source) {
    switch (source) {
        case 0:
            return "Standard (#1 Bearing)";
        case 1:
            return "Alternate";
        case 2:
            return "Disconnected";
        default:
            return "Unknown";
    }
}

QByteArray ReportHeader::currentLevelText(quint32 level) {
    return levelText(level, "No Event");
}

QByteArray ReportHeader::historicLevelText(quint32 level) {
    return levelText(level, "No Fault");
}

std::string_view ReportHeader::memoryLabel(quint32 memory) {
    switch (memory) {
        case 0:
            return kPreDefectLabel;
        case 1:
            return kPostDefectLabel;
        default:
            return "Unknown";
    }
}

void ReportHeader::write(TextBuffer& out, const QByteArray& fileName, const ReportContext& context,
                         const FlightDataImage& image) {
    writeHeader(out, fileName, context, image);
    writeAlarmLevelTable(out, image);
}

void ReportHeader::writeHeader(TextBuffer& out, const QByteArray& fileName,
                               const ReportContext& context, const FlightDataImage& image) {
    const PartNumberRecord& pn = context.partNumbers;
    const EngineRecord engine = context.engine();
    const auto word = [&image](int w) { return image.engineWord(w); };
    const auto level = [&image](int i) {
        return quint32(image.engineWord(image::kFirstAlarmWord + i));
    };

    out.separator();
    out.text("TOLM for QUOR " + versionText().toLatin1() +
             ", engine data report. Copyright (C) Korvel. All rights reserved.");
    out.newline();
    line(out, "File name:", view(fileName));
    line(out, "File created:",
         view(context.created.toString(QStringLiteral("d MMM yyyy hh:mm:ss")).toLocal8Bit()));
    line(out, "QUOR PNR:", view(pn.textBytes(PartNumberRecord::kUnitOffset)));
    partNumberLine(out, "Boot Main S/W PNR:", pn.textBytes(PartNumberRecord::kBootMainOffset));
    partNumberLine(out, "Main Software PNR:", pn.textBytes(PartNumberRecord::kMainOffset));
    partNumberLine(out, "Boot DSP Software PNR:", pn.textBytes(PartNumberRecord::kBootDspOffset));
    partNumberLine(out, "DSP Software PNR:", pn.textBytes(PartNumberRecord::kDspOffset));
    partNumberLine(out, "CMFI Table PNR:", pn.textBytes(PartNumberRecord::kConfigOffset));
    out.separator();

    line(out, "A/C identifier:", view(context.aircraft.identifierBytes()));
    line(out, "Engine type:", view(engine.typeBytes()));
    line(out, "Engine SER:", view(engine.serBytes()));
    lineOfNumber(out, "Engine ID:", context.engineNumber());
    line(out, "Engine installation date:", view(engine.installDateBytes()));
    lineOfNumber(out, "Total engine flights:", word(image::kTotalFlightsWord));

    // "%d:%02d": hours and two-digit minutes
    out.left("Total engine hours:", kLabelWidth);
    out.number(word(image::kTotalHoursWord));
    out.text(":");
    const qint32 minutes = word(image::kTotalMinutesWord);
    if (minutes >= 0 && minutes < 10) {
        out.text("0");
    }
    out.number(minutes);
    out.newline();

    line(out, "Accelerometer source:", accelSourceText(word(image::kAccelSourceWord)));
    const QByteArray shopId = context.aircraft.shopIdBytes();
    line(out, "Shop ID:", shopId.isEmpty() ? std::string_view("---") : view(shopId));
    const QByteArray comments = commentsText(context.aircraft.commentsBytes());
    line(out, "Comments:", comments.isEmpty() ? std::string_view("[None]") : view(comments));
    out.separator();

    algoLine(out, "", "ALGO1(4R)", "ALGO2(4L)", "ALGO3(3B)");
    algoLine(out, "Current Alarm Levels:", currentLevelText(level(image::k4RCurrent)),
             currentLevelText(level(image::k4LCurrent)),
             currentLevelText(level(image::k3BCurrent)));
    algoLine(out, "Historic Alarm Levels:", historicLevelText(level(image::k4RHistoric)),
             historicLevelText(level(image::k4LHistoric)),
             historicLevelText(level(image::k3BHistoric)));
    out.separator();
}

void ReportHeader::writeAlarmLevelTable(TextBuffer& out, const FlightDataImage& image) {
    out.text("Mem Flt-#");
    for (const char* name : {"MMC4R", "MMC4L", "MMC3B", "MMH4R", "MMH4L", "MMH3B"}) {
        out.right(name, kLevelColumnWidth);
    }
    out.newline();

    // One line per flight in use; a later block with the same flight number replaces an earlier.
    std::map<qint32, int> flights;
    for (int b = 0; b < image::kFlightBlocks; ++b) {
        const qint32 n = image.block(b).flightNumber();
        if (n > 0) {
            flights[n] = b;
        }
    }
    for (const auto& [number, b] : flights) {
        const FlightBlockView f = image.block(b);
        out.right(memoryLabel(f.memory()), 3);
        out.number(number, 6);
        for (int i : {image::k4RCurrent, image::k4LCurrent, image::k3BCurrent}) {
            out.right(view(currentLevelText(f.alarmLevel(i))), kLevelColumnWidth);
        }
        for (int i : {image::k4RHistoric, image::k4LHistoric, image::k3BHistoric}) {
            out.right(view(historicLevelText(f.alarmLevel(i))), kLevelColumnWidth);
        }
        out.newline();
    }
    out.separator();
}

}  // namespace tolm
