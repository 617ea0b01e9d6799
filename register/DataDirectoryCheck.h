#pragma once
// Whether a directory can take the program's files: it exists (or, when asked to, is created
// with its missing parents) and is readable and writable. Failures are reported in a box.
#include <QString>

namespace tolm {

bool checkDataDirectory(const QString& path, bool create);

}  // namespace tolm
