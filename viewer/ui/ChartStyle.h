#pragma once
// How a chart draws one data set, and the chart's text fonts given as texts like "Times, 10".
#include <QColor>
#include <QFont>
#include <optional>

class QCPGraph;

enum class ChartSymbol {
    None,
    Dot,
    Box,
    Triangle,
    Diamond,
    Star,
    Circle,
    Cross,
    Plus,
    Disc,
    InvertedTriangle
};

struct ChartStyle {
    QColor color;
    Qt::PenStyle line = Qt::SolidLine;  // Qt::NoPen: points only
    int lineWidth = 1;
    ChartSymbol symbol = ChartSymbol::None;  // ChartSymbol::None: line only
    int symbolSize = 7;

    bool operator==(const ChartStyle&) const = default;
    bool HasLine() const { return line != Qt::NoPen; }
    bool HasSymbol() const { return symbol != ChartSymbol::None; }

    // The default table: 26 clearly different colours, each set with a line and its own symbol;
    // sets from 26 on repeat the table.
    static ChartStyle Default(int set);
    static constexpr int DefaultCount = 26;
};

// Draws `graph` in `style`.
void ApplyChartStyle(QCPGraph* graph, const ChartStyle& style);

// A font from "Family, points" with optional words "Bold" and "Italic" after the size
// ("Times, 10", "Courier New, 9, Bold"); empty when the text names no family or no size.
std::optional<QFont> ParseChartFont(const QString& text);
