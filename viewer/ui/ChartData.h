#pragma once
// A chart's data object: a number of data sets, each with an X and a Y array of the same
// number of doubles and a shown flag. Indexes outside the object read as 0.0 and are not
// written (the calls that write say so by returning false).
#include <optional>
#include <span>
#include <utility>
#include <vector>

class ChartData {
public:
    ChartData(int type, int sets, int points);

    int Type() const { return type_; }
    int SetCount() const { return int(sets_.size()); }
    int LastSet() const { return SetCount() - 1; }
    int LastPoint(int set) const;  // -1 for a set that does not exist

    double X(int set, int point) const;
    double Y(int set, int point) const;
    bool SetX(int set, int point, double value);
    bool SetY(int set, int point, double value);
    // The front of the set's arrays takes the values given; longer spans are cut.
    bool SetPoints(int set, std::span<const double> x, std::span<const double> y);
    std::span<const double> XData(int set) const;
    std::span<const double> YData(int set) const;

    bool Show(int set, bool shown);
    bool Shown(int set) const;

    // True once after each change of the set's values (and for a new set).
    bool TakeChanged(int set);

    // The smallest and largest X and Y of the finite points of the shown sets (of all sets when
    // none is shown); empty without a finite point.
    struct Extent {
        double xLow, xHigh, yLow, yHigh;
    };
    std::optional<Extent> DataExtent() const;

private:
    struct Set {
        std::vector<double> x;
        std::vector<double> y;
        bool shown = true;
        bool changed = true;
    };
    const Set* At(int set) const;
    Set* At(int set) { return const_cast<Set*>(std::as_const(*this).At(set)); }
    bool Valid(int set, int point) const;

    int type_;
    std::vector<Set> sets_;
};
