#pragma once
// Which activity owns the link to the unit. A download, an erase, an upload and a connection
// set-up each own it from their start to their end; a command that would use the link, change
// its address or end the program while another activity owns it is refused (the caller shows
// refusalText()), never run inside it. The GUI thread alone uses it.
#include <QString>

namespace tolm {

enum class LinkActivity { None, SetUp, Download, Erase, Upload };

class LinkOwner {
public:
    // Ownership for as long as it lives; empty when the link was owned already.
    class Lease {
    public:
        Lease() = default;
        Lease(Lease&& other) noexcept : owner_(other.owner_) { other.owner_ = nullptr; }
        Lease& operator=(Lease&& other) noexcept;
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        ~Lease() { release(); }

        explicit operator bool() const { return owner_ != nullptr; }
        // Gives the link back before the lease ends.
        void release();

    private:
        friend class LinkOwner;
        explicit Lease(LinkOwner* owner) : owner_(owner) {}
        LinkOwner* owner_ = nullptr;
    };

    LinkOwner() = default;
    LinkOwner(const LinkOwner&) = delete;
    LinkOwner& operator=(const LinkOwner&) = delete;

    // Takes the link for `activity`; an empty lease while another activity holds it.
    Lease acquire(LinkActivity activity);
    LinkActivity holder() const { return holder_; }
    bool busy() const { return holder_ != LinkActivity::None; }

    // The text of the box that refuses a command while `holder` owns the link.
    static QString refusalText(LinkActivity holder);

private:
    LinkActivity holder_ = LinkActivity::None;
};

}  // namespace tolm
