#include "viewer/ui/ChartStyle.h"

#include "viewer/ui/QCustomPlotHeader.h"

#include <array>

namespace {

// Colours that stay apart on white paper and on screen, darkest first where they pair up.
constexpr std::array<QRgb, ChartStyle::DefaultCount> kPalette = {
    0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd, 0x8c564b, 0xe377c2, 0x7f7f7f, 0xbcbd22,
    0x17becf, 0x000080, 0x800000, 0x006400, 0xcc5500, 0x4b0082, 0x008080, 0xc71585, 0xb8860b,
    0x2f4f4f, 0xdc143c, 0x4169e1, 0x2e8b57, 0xd2691e, 0x9400d3, 0x00bfff, 0x000000};

constexpr std::array<ChartSymbol, 10> kSymbols = {
    ChartSymbol::Disc,    ChartSymbol::Box,  ChartSymbol::Triangle,
    ChartSymbol::Diamond, ChartSymbol::Star, ChartSymbol::Circle,
    ChartSymbol::Cross,   ChartSymbol::Plus, ChartSymbol::InvertedTriangle,
    ChartSymbol::Dot};

QCPScatterStyle::ScatterShape shapeOf(ChartSymbol symbol) {
    switch (symbol) {
        case ChartSymbol::None:
            return QCPScatterStyle::ssNone;
        case ChartSymbol::Dot:
            return QCPScatterStyle::ssDot;
        case ChartSymbol::Box:
            return QCPScatterStyle::ssSquare;
        case ChartSymbol::Triangle:
            return QCPScatterStyle::ssTriangle;
        case ChartSymbol::Diamond:
            return QCPScatterStyle::ssDiamond;
        case ChartSymbol::Star:
            return QCPScatterStyle::ssStar;
        case ChartSymbol::Circle:
            return QCPScatterStyle::ssCircle;
        case ChartSymbol::Cross:
            return QCPScatterStyle::ssCross;
        case ChartSymbol::Plus:
            return QCPScatterStyle::ssPlus;
        case ChartSymbol::Disc:
            return QCPScatterStyle::ssDisc;
        case ChartSymbol::InvertedTriangle:
            return QCPScatterStyle::ssTriangleInverted;
    }
    return QCPScatterStyle::ssNone;
}

}  // namespace

ChartStyle ChartStyle::Default(int set) {
    const int i = set < 0 ? 0 : set % DefaultCount;
    ChartStyle style;
    style.color = QColor::fromRgb(kPalette[i]);
    style.symbol = kSymbols[i % kSymbols.size()];
    return style;
}

void ApplyChartStyle(QCPGraph* graph, const ChartStyle& style) {
    QPen pen(style.color, style.lineWidth, style.HasLine() ? style.line : Qt::SolidLine);
    graph->setPen(pen);
    graph->setLineStyle(style.HasLine() ? QCPGraph::lsLine : QCPGraph::lsNone);
    QCPScatterStyle scatter(shapeOf(style.symbol), style.symbolSize);
    scatter.setPen(QPen(style.color, 1));
    if (style.symbol == ChartSymbol::Disc) {
        scatter.setBrush(style.color);
    }
    graph->setScatterStyle(scatter);
}

std::optional<QFont> ParseChartFont(const QString& text) {
    const QStringList words = text.split(QLatin1Char(','));
    if (words.size() < 2) {
        return std::nullopt;
    }
    const QString family = words[0].trimmed();
    bool ok = false;
    const double points = words[1].trimmed().toDouble(&ok);
    if (family.isEmpty() || !ok || points <= 0) {
        return std::nullopt;
    }
    QFont font(family);
    font.setPointSizeF(points);
    for (qsizetype i = 2; i < words.size(); ++i) {
        const QString word = words[i].trimmed();
        if (word.compare(QLatin1String("Bold"), Qt::CaseInsensitive) == 0) {
            font.setBold(true);
        } else if (word.compare(QLatin1String("Italic"), Qt::CaseInsensitive) == 0) {
            font.setItalic(true);
        }
    }
    return font;
}
