#pragma once
// Whether a directory can take the program's files: it exists (or, when asked to, is created
// with its missing parents) and is readable and writable.
#include <QString>
#include <optional>

#include "core/Notice.h"

namespace tolm {

// What is wrong with the directory, as the error box to show; none when it is usable.
std::optional<Notice> checkDataDirectory(const QString& path, bool create);

}  // namespace tolm
