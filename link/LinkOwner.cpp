#include "link/LinkOwner.h"

namespace tolm {

LinkOwner::Lease& LinkOwner::Lease::operator=(Lease&& other) noexcept {
    if (this != &other) {
        release();
        owner_ = other.owner_;
        other.owner_ = nullptr;
    }
    return *this;
}

void LinkOwner::Lease::release() {
    if (owner_) {
        owner_->holder_ = LinkActivity::None;
        owner_ = nullptr;
    }
}

LinkOwner::Lease LinkOwner::acquire(LinkActivity activity) {
    if (busy() || activity == LinkActivity::None) {
        return Lease();
    }
    holder_ = activity;
    return Lease(this);
}

QString LinkOwner::refusalText(LinkActivity holder) {
    switch (holder) {
        case LinkActivity::SetUp:
            return QStringLiteral(
                "The connection to the unit is being set up. Please wait until it has "
                "finished.");
        case LinkActivity::Download:
            return QStringLiteral("A download is in progress. Please wait until it has finished.");
        case LinkActivity::Erase:
            return QStringLiteral("An erase is in progress. Please wait until it has finished.");
        case LinkActivity::Upload:
            return QStringLiteral(
                "A software upload is in progress. Please wait until it has finished.");
        case LinkActivity::None:
            break;
    }
    return QString();
}

}  // namespace tolm
