#pragma once
// A failed read of a raw flight-data file, as a value: the operation that failed (for the box
// title "Error - %1"), the message and the file (for the box text "%1: %2").
#include <QString>
#include <optional>
#include <utility>

namespace tolm::viewer {

struct ReadError {
    QString operation;  // "SelectDialog::ExtractFlightInfo", "SelectDialog::ExtractFlightData"
    QString message;    // "Failed to open file", ...
    QString path;

    QString title() const { return QStringLiteral("Error - %1").arg(operation); }
    QString text() const { return QStringLiteral("%1: %2").arg(message, path); }
    bool operator==(const ReadError&) const = default;
};

// Either a value or the error that prevented it.
template <class T>
class Outcome {
public:
    Outcome(T value) : value_(std::move(value)) {}          // NOLINT: implicit by design
    Outcome(ReadError error) : error_(std::move(error)) {}  // NOLINT

    bool ok() const { return value_.has_value(); }
    const T& value() const& { return *value_; }
    T&& value() && { return std::move(*value_); }
    const ReadError& error() const { return *error_; }

private:
    std::optional<T> value_;
    std::optional<ReadError> error_;
};

}  // namespace tolm::viewer
