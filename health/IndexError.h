#pragma once
// A failure of the index's database inside one operation: a statement that cannot be prepared or
// run, or a row that does not hold what the index wrote. Thrown by the database layer and caught
// at the end of the operation, which rebuilds the index from the raw files and tries once more;
// but a database that another connection keeps locked beyond the wait is busy, not damaged, and
// is left as it is.
#include <QString>

namespace tolm::health {

struct IndexError {
    QString what;
    bool busy = false;
};

}  // namespace tolm::health
