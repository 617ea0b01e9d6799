#include "sim/UnitSimulator.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QString>
#include <cerrno>
#include <chrono>

#include "link/CommandTable.h"

namespace quorsim {

namespace {

constexpr int kSliceMs = 20;
constexpr int kMaxCommand = 16384;

qint64 steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void resetAndClose(int socket) {
    const linger reset{1, 0};
    ::setsockopt(socket, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(socket);
}

quint32 be32(const unsigned char* p) {
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

const char* commandName(quint32 code) {
    switch (code) {
        case tolm::CMD_GET_PART_NUMBERS:
            return "get part numbers";
        case tolm::CMD_DOWNLOAD_BEARING_DATA:
            return "download bearing data";
        case tolm::CMD_ERASE_BEARING_DATA:
            return "erase bearing data";
        case tolm::CMD_ERASE_BEARING_DEFECT_HISTORY:
            return "erase bearing defect history";
        case tolm::CMD_ERASE_ACCEL_DEFECT_HISTORY:
            return "erase accel defect history";
        case tolm::CMD_UPLOAD_MAIN_SOFTWARE:
            return "upload main software";
        case tolm::CMD_UPLOAD_DSP_SOFTWARE:
            return "upload DSP software";
        case tolm::CMD_UPLOAD_CONFIG_TABLE:
            return "upload configuration table";
        default:
            return "unknown command";
    }
}

}  // namespace

UnitSimulator::~UnitSimulator() {
    stop();
}

bool UnitSimulator::start(quint16 port) {
    if (running_.load()) {
        return false;
    }
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) {
        return false;
    }
    const int on = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // the only address the simulator serves
    at.sin_port = htons(port);
    socklen_t length = sizeof at;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &length) != 0) {
        ::close(listener_);
        listener_ = -1;
        return false;
    }
    port_ = ntohs(at.sin_port);
    running_.store(true);
    acceptor_ = std::thread([this] { acceptLoop(); });
    return true;
}

void UnitSimulator::stop() {
    if (!running_.exchange(false)) {
        return;
    }
    acceptor_.join();
    ::close(listener_);
    listener_ = -1;
    std::map<int, std::thread> connections;
    {
        std::lock_guard lock(mutex_);
        for (int s : openSockets_) {
            ::shutdown(s, SHUT_RDWR);
        }
        connections.swap(connections_);
    }
    for (auto& [id, t] : connections) {
        t.join();
    }
    std::lock_guard lock(mutex_);
    ended_.clear();  // every one of them is joined
}

void UnitSimulator::setSegments(int bytes, int pauseMs) {
    segmentBytes_.store(bytes);
    segmentPauseMs_.store(pauseMs);
}

void UnitSimulator::refuseConnections(int n) {
    refuseNext_.store(n);
}

void UnitSimulator::powerOff(int ms) {
    offUntilMs_.store(steadyMs() + ms);
    powerEpoch_.fetch_add(1);
}

bool UnitSimulator::poweredOff() const {
    return steadyMs() < offUntilMs_.load();
}

void UnitSimulator::setReplay(std::optional<TraceScript> script) {
    std::lock_guard lock(mutex_);
    replay_ = std::move(script);
    replayNext_ = 0;
}

int UnitSimulator::answersReplayed() const {
    std::lock_guard lock(mutex_);
    return int(replayNext_);
}

void UnitSimulator::setCommandEcho(std::function<void(const QString&)> echo) {
    std::lock_guard lock(mutex_);
    echo_ = std::move(echo);
}

bool UnitSimulator::waitForCommands(std::size_t n, int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    while (unit_.commands().size() < n) {
        if (deadline.hasExpired()) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

bool UnitSimulator::waitForConnections(int n, int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    while (accepted_.load() < n) {
        if (deadline.hasExpired()) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void UnitSimulator::acceptLoop() {
    while (running_.load()) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, kSliceMs) <= 0) {
            continue;
        }
        const int s = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (s < 0) {
            continue;
        }
        if (poweredOff()) {
            resetAndClose(s);
            continue;
        }
        if (refuseNext_.load() > 0) {
            refuseNext_.fetch_sub(1);
            resetAndClose(s);
            continue;
        }
        const int on = 1;
        ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        const int id = accepted_.fetch_add(1) + 1;
        std::vector<std::thread> ended;
        {
            std::lock_guard lock(mutex_);
            for (int e : ended_) {
                if (const auto it = connections_.find(e); it != connections_.end()) {
                    ended.push_back(std::move(it->second));
                    connections_.erase(it);
                }
            }
            ended_.clear();
            openSockets_.insert(s);
            connections_.emplace(id, std::thread([this, s, id] { serve(s, id); }));
        }
        for (std::thread& t : ended) {
            t.join();
        }
    }
}

void UnitSimulator::serve(int socket, int id) {
    unsigned char header[8];
    std::vector<unsigned char> body(kMaxCommand);
    const int epoch = powerEpoch_.load();
    bool died = false;
    while (running_.load()) {
        if (powerEpoch_.load() != epoch) {
            died = true;
            break;
        }
        if (!readExactly(socket, header, 4, epoch)) {
            died = powerEpoch_.load() != epoch;
            break;
        }
        const quint32 length = be32(header);
        if (length < 8 || length > kMaxCommand || !readExactly(socket, header + 4, 4, epoch) ||
            !readExactly(socket, body.data(), int(length - 8), epoch)) {
            died = powerEpoch_.load() != epoch;
            break;
        }
        ReceivedCommand command{be32(header + 4), {}};
        for (quint32 at = 0; at + 4 <= length - 8; at += 4) {
            command.payload.push_back(be32(body.data() + at));
        }
        echo(id, command, int(length));
        if (std::optional<ScriptedAnswer> scripted; nextScripted(scripted)) {
            const QByteArray bytes =
                QByteArray(reinterpret_cast<const char*>(header), 8) +
                QByteArray(reinterpret_cast<const char*>(body.data()), qsizetype(length - 8));
            if (!scripted) {
                say(id, QStringLiteral("the trace has no answer left: connection closed"));
                break;
            }
            if (!play(socket, id, bytes, *scripted)) {
                break;
            }
            continue;
        }
        const Reply reply = unit_.handle(command);
        if (reply.silent) {
            waitUntilClosed(socket);
            break;
        }
        if (!pauseMs(reply.delayMs)) {
            break;
        }
        if (powerEpoch_.load() != epoch) {
            died = true;  // switched off while it worked on the command: no answer
            break;
        }
        if (!send(socket, reply) || reply.closeAfter >= 0) {
            break;
        }
    }
    if (died) {
        dieWithPower(socket);
    }
    {
        std::lock_guard lock(mutex_);
        openSockets_.erase(socket);
        ended_.push_back(id);
    }
    if (died) {
        resetAndClose(socket);
    } else {
        ::close(socket);
    }
    unit_.connectionEnded();
}

void UnitSimulator::dieWithPower(int socket) {
    unsigned char discard[1024];
    while (running_.load() && poweredOff()) {
        pollfd p{socket, POLLIN, 0};
        if (::poll(&p, 1, kSliceMs) > 0 && ::recv(socket, discard, sizeof discard, 0) <= 0) {
            return;
        }
    }
}

bool UnitSimulator::readExactly(int socket, unsigned char* into, int count, int epoch) {
    for (int have = 0; have < count;) {
        pollfd p{socket, POLLIN, 0};
        if (!running_.load() || powerEpoch_.load() != epoch) {
            return false;
        }
        if (::poll(&p, 1, kSliceMs) <= 0) {
            continue;
        }
        const ssize_t n = ::recv(socket, into + have, size_t(count - have), 0);
        if (n <= 0) {
            return false;
        }
        have += int(n);
    }
    return true;
}

bool UnitSimulator::pauseMs(int ms) {
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (!running_.load()) {
            return false;
        }
        std::this_thread::sleep_for(
            std::chrono::milliseconds(qMin<qint64>(kSliceMs, deadline.remainingTime())));
    }
    return running_.load();
}

void UnitSimulator::waitUntilClosed(int socket) {
    unsigned char discard[1024];
    while (running_.load()) {
        pollfd p{socket, POLLIN, 0};
        if (::poll(&p, 1, kSliceMs) > 0 && ::recv(socket, discard, sizeof discard, 0) <= 0) {
            return;
        }
    }
}

bool UnitSimulator::send(int socket, const Reply& reply) {
    const qsizetype total = reply.closeAfter >= 0 ? reply.closeAfter : reply.bytes.size();
    const int segment = segmentBytes_.load();
    const auto* data = reinterpret_cast<const unsigned char*>(reply.bytes.constData());
    for (qsizetype sent = 0; sent < total;) {
        const qsizetype piece = segment > 0 ? qMin<qsizetype>(segment, total - sent) : total - sent;
        const ssize_t n = ::send(socket, data + sent, size_t(piece), MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        sent += n;
        if (segment > 0 && sent < total && !pauseMs(segmentPauseMs_.load())) {
            return false;
        }
    }
    return true;
}

void UnitSimulator::echo(int id, const ReceivedCommand& command, int length) {
    std::lock_guard lock(mutex_);
    if (!echo_) {
        return;
    }
    QString line = QStringLiteral("connection %1: command %2 (%3, %4 bytes)")
                       .arg(id)
                       .arg(QStringLiteral("0x%1").arg(command.code, 2, 16, QLatin1Char('0')))
                       .arg(QLatin1String(commandName(command.code)))
                       .arg(length);
    if (command.payload.size() <= 2) {
        for (quint32 word : command.payload) {
            line += QLatin1Char(' ') + QString::number(word);
        }
    }
    echo_(line);
}

void UnitSimulator::say(int id, const QString& text) {
    std::lock_guard lock(mutex_);
    if (echo_) {
        echo_(QStringLiteral("connection %1: %2").arg(id).arg(text));
    }
}

bool UnitSimulator::nextScripted(std::optional<ScriptedAnswer>& answer) {
    std::lock_guard lock(mutex_);
    if (!replay_) {
        return false;
    }
    if (replayNext_ < replay_->answers().size()) {
        answer = replay_->answers()[replayNext_++];
    }
    return true;
}

bool UnitSimulator::play(int socket, int id, const QByteArray& command,
                         const ScriptedAnswer& answer) {
    if (command != answer.command) {
        say(id, QStringLiteral("the trace recorded another command here (%1); answered as recorded")
                    .arg(QString::fromLatin1(answer.command.left(16).toHex())));
    }
    QElapsedTimer since;
    since.start();
    for (const ScriptedAnswer::Piece& piece : answer.pieces) {
        if (!pauseUntil(since, piece.atMs) || !send(socket, Reply{piece.bytes})) {
            return false;
        }
    }
    using Ending = ScriptedAnswer::Ending;
    switch (answer.ending) {
        case Ending::Whole:
            return true;
        case Ending::Silence:
            waitUntilClosed(socket);
            return false;
        case Ending::Close:
            pauseUntil(since, answer.endAtMs);
            return false;
        case Ending::GiveUp:
            if (!connectedUntil(socket, since, answer.endAtMs)) {
                return false;
            }
            [[fallthrough]];
        case Ending::Reset:
            if (pauseUntil(since, answer.endAtMs)) {
                const linger reset{1, 0};
                ::setsockopt(socket, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
            }
            return false;
    }
    return false;
}

bool UnitSimulator::pauseUntil(const QElapsedTimer& since, qint64 atMs) {
    for (qint64 left = atMs - since.elapsed(); left > 0; left = atMs - since.elapsed()) {
        if (!running_.load()) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(qMin<qint64>(kSliceMs, left)));
    }
    return running_.load();
}

bool UnitSimulator::connectedUntil(int socket, const QElapsedTimer& since, qint64 atMs) {
    unsigned char discard[1024];
    for (qint64 left = atMs - since.elapsed(); left > 0; left = atMs - since.elapsed()) {
        pollfd p{socket, POLLIN, 0};
        if (!running_.load()) {
            return false;
        }
        if (::poll(&p, 1, int(qMin<qint64>(kSliceMs, left))) > 0 &&
            ::recv(socket, discard, sizeof discard, 0) <= 0) {
            return false;
        }
    }
    return true;
}

}  // namespace quorsim
