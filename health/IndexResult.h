#pragma once
// The answer of one operation of the flight index: its value, or the reason the index could not
// be used at all (its database could not even be made afresh).
#include <QString>
#include <optional>
#include <utility>

namespace tolm::health {

template <class T>
class IndexResult {
public:
    IndexResult(T value) : value_(std::move(value)) {}  // NOLINT: implicit by design
    static IndexResult failed(QString error) { return IndexResult(std::nullopt, std::move(error)); }

    bool ok() const { return value_.has_value(); }
    const T& value() const& { return *value_; }
    T&& value() && { return std::move(*value_); }
    const QString& error() const { return error_; }

private:
    IndexResult(std::nullopt_t, QString error) : error_(std::move(error)) {}

    std::optional<T> value_;
    QString error_;
};

}  // namespace tolm::health
