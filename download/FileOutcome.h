#pragma once
// How writing one file of a download went: whether it was written, and the box the user must
// see about it, if any.
#include <optional>

#include "core/Notice.h"

namespace tolm {

struct FileOutcome {
    bool written = false;
    std::optional<Notice> notice;
};

}  // namespace tolm
