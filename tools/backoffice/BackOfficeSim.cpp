#include "backoffice/BackOfficeSim.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <list>
#include <mutex>
#include <thread>

#include "GData/GDataXML.h"
#include "backoffice/SimRestaurant.h"
#include "core/NSEncDec.h"
#include "platform/foundation/Text.h"

namespace backoffice {

namespace {

constexpr size_t kMaxRequest = 64u << 20;  // a request larger than this is no request of ours
constexpr const char* kClose = "</morvane>";

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

// --- ReceivedRequest ----------------------------------------------------------------------------

std::shared_ptr<GDataXMLElement> ReceivedRequest::data() const {
    return document ? firstElement(document->rootElement(), "data") : nullptr;
}

std::string ReceivedRequest::field(const std::string& name) const { return elementText(data(), name); }

// --- Helpers ------------------------------------------------------------------------------------

std::string BackOfficeSim::reply(const std::string& dataInnerXml) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<morvane><data>" + dataInnerXml + "</data></morvane>\n";
}

std::string BackOfficeSim::errorReplyText(const std::string& describe) {
    std::string text;
    for (char c : describe) {
        if (c == '&') text += "&amp;";
        else if (c == '<') text += "&lt;";
        else if (c == '>') text += "&gt;";
        else text += c;
    }
    return reply("<result>error</result><describe>" + text + "</describe>");
}

std::string BackOfficeSim::encipherCommand(const std::string& word, const std::string& key) {
    return encipherField(word, key);
}

std::optional<std::string> BackOfficeSim::decipherCommand(const std::string& cmd, const std::string& key) {
    return decipherField(cmd, key);
}

std::string BackOfficeSim::encipherField(const std::string& value, const std::string& key) {
    NSEncDec c;
    return c.encodeBase64(c.Decrypt(value, key)).value_or("");
}

std::optional<std::string> BackOfficeSim::decipherField(const std::string& value, const std::string& key) {
    NSEncDec c;
    auto bytes = c.decodeBase64(value);
    if (!bytes) return std::nullopt;
    return c.Encrypt(*bytes, key);
}

// --- The server -----------------------------------------------------------------------------------

struct BackOfficeSim::Impl {
    mutable std::mutex mutex;
    mutable std::condition_variable changed;  // records grew, or the server is stopping

    explicit Impl(Restaurant kind) : restaurant(kind) {}

    // Guarded by mutex.
    SimRestaurant restaurant;
    Faults faults;
    std::map<std::string, ReplyOverride> overrides;
    std::vector<ReceivedRequest> requests;
    std::vector<Announcement> announcements;
    std::uint64_t connections = 0;
    bool logging = true;

    std::atomic<bool> running{false};
    std::atomic<bool> stopping{false};
    int port = 0;
    int listenFd = -1;  // -1 while refusing
    bool wantListening = true;  // guarded by mutex
    bool listening = false;     // guarded by mutex: what the acceptor has done
    int udpFd = -1;
    int wakeRead = -1, wakeWrite = -1;
    std::thread acceptor;

    struct Connection {
        int fd = -1;
        std::thread thread;
        std::atomic<bool> done{false};
    };
    std::list<std::unique_ptr<Connection>> conns;  // guarded by mutex
    // Late bytes waiting for releaseLateBytes(), and the second piece of a split reply waiting for
    // releaseSplitRest(), with the connection they belong to. Guarded by mutex; dropped when that
    // connection ends, before its socket is closed.
    struct Held {
        std::uint64_t serial = 0;
        int fd = -1;
        std::string bytes;
    };
    std::optional<Held> heldLate, heldRest;

    void log(const std::string& line) {
        bool on;
        {
            std::lock_guard<std::mutex> lock(mutex);
            on = logging;
        }
        if (on) std::fprintf(stderr, "backoffice-sim: %s\n", line.c_str());
    }

    void wake() {
        if (wakeWrite >= 0) {
            const char c = 1;
            [[maybe_unused]] auto n = ::write(wakeWrite, &c, 1);
        }
    }

    // Waits up to `seconds`; false when the server is stopping.
    bool pause(double seconds) {
        std::unique_lock<std::mutex> lock(mutex);
        return !changed.wait_for(lock, std::chrono::duration<double>(seconds), [&] { return stopping.load(); });
    }

    bool bindListener(int wanted) {
        int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        int one = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(wanted));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 64) != 0) {
            ::close(fd);
            return false;
        }
        socklen_t len = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
        listenFd = fd;
        return true;
    }

    bool bindUdp(int wanted) {
        int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(wanted));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            ::close(fd);
            return false;
        }
        udpFd = fd;
        return true;
    }

    // Only the acceptor thread opens and closes the listening socket (closing a socket that
    // another thread polls does not stop it listening); others ask and wait for it.
    void applyListening() {
        std::lock_guard<std::mutex> lock(mutex);
        if (wantListening && listenFd < 0) bindListener(port);
        else if (!wantListening && listenFd >= 0) closeFd(listenFd);
        listening = listenFd >= 0;
        changed.notify_all();
    }

    void acceptLoop() {
        while (!stopping) {
            applyListening();
            pollfd p[3];
            int n = 0;
            p[n++] = {wakeRead, POLLIN, 0};
            p[n++] = {udpFd, POLLIN, 0};
            int listenAt = -1;
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (listenFd >= 0) {
                    listenAt = n;
                    p[n++] = {listenFd, POLLIN, 0};
                }
                reapConnections();
            }
            if (::poll(p, static_cast<nfds_t>(n), 200) < 0) continue;
            if (p[0].revents & POLLIN) {
                char buf[64];
                [[maybe_unused]] auto r = ::read(wakeRead, buf, sizeof buf);
            }
            if (p[1].revents & POLLIN) receiveDatagram();
            if (listenAt >= 0 && (p[listenAt].revents & POLLIN)) acceptOne();
        }
    }

    void receiveDatagram() {
        char buf[65536];
        ssize_t got = ::recv(udpFd, buf, sizeof buf, 0);
        if (got < 0) return;
        Announcement a;
        a.bytes.assign(buf, static_cast<size_t>(got));
        a.text = platform::gb18030ToUtf8(a.bytes).value_or("");
        {
            std::lock_guard<std::mutex> lock(mutex);
            announcements.push_back(a);
        }
        changed.notify_all();
        log("screen " + a.text);
    }

    void acceptOne() {
        int fd;
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (listenFd < 0) return;
            fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) return;
            ++connections;
        }
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::lock_guard<std::mutex> lock(mutex);
        auto c = std::make_unique<Connection>();
        c->fd = fd;
        Connection* raw = c.get();
        const std::uint64_t serial = connections;
        c->thread = std::thread([this, raw, serial] {
            serve(raw->fd, serial);
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (heldLate && heldLate->serial == serial) heldLate.reset();
                if (heldRest && heldRest->serial == serial) heldRest.reset();
            }
            raw->done = true;
        });
        conns.push_back(std::move(c));
    }

    // Under mutex: joins the threads of finished connections.
    void reapConnections() {
        for (auto it = conns.begin(); it != conns.end();) {
            if ((*it)->done) {
                (*it)->thread.join();
                closeFd((*it)->fd);
                it = conns.erase(it);
            } else {
                ++it;
            }
        }
    }

    // Sends everything; false when the peer is gone or the server stops.
    bool sendAll(int fd, const std::string& bytes) {
        size_t at = 0;
        while (at < bytes.size()) {
            if (stopping) return false;
            ssize_t n = ::send(fd, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
            if (n < 0) {
                if (errno == EINTR) continue;
                if (errno == EAGAIN) {
                    pollfd p{fd, POLLOUT, 0};
                    ::poll(&p, 1, 100);
                    continue;
                }
                return false;
            }
            at += static_cast<size_t>(n);
        }
        return true;
    }

    ReceivedRequest parse(std::string raw, std::uint64_t serial) {
        ReceivedRequest r;
        r.raw = std::move(raw);
        r.connection = serial;
        r.document = GDataXMLDocument::initWithDataOptionsError(r.raw, 0, nullptr);
        auto root = r.document ? r.document->rootElement() : nullptr;
        if (!root) {
            r.document = nullptr;
            r.layoutProblem = "not XML";
            return r;
        }
        r.uid = attributeText(root, "UID");
        r.dev = attributeText(root, "dev");
        r.cmd = attributeText(root, "cmd");
        r.seq = attributeText(root, "seq");
        r.dnt = attributeText(root, "dnt");
        if (r.cmd == "disconnect") {
            r.command = "disconnect";
        } else {
            auto word = decipherCommand(r.cmd, r.uid);
            // A word deciphered with the wrong key is noise; only plain text counts.
            if (word && platform::isValidUTF8(*word)) {
                bool printable = !word->empty();
                for (unsigned char c : *word)
                    if (c < 0x20) printable = false;
                if (printable) r.command = *word;
            }
        }
        r.layoutProblem = requestLayoutProblem(r);
        return r;
    }

    // Takes the fault modes that apply to this request (and counts it against `times`).
    std::optional<Faults> faultsFor(const std::string& command) {
        std::lock_guard<std::mutex> lock(mutex);
        Faults& f = faults;
        const bool any = f.delaySeconds > 0 || f.silence || f.splitBytes || f.splitInsideCharacter || f.truncateAt ||
                         f.closeAt || f.garbage || f.errorReply || f.lateBytes;
        if (!any || command == "disconnect" || f.times == 0) return std::nullopt;
        if (!f.onlyCommand.empty() && f.onlyCommand != command) return std::nullopt;
        Faults taken = f;
        if (f.times > 0 && --f.times == 0) {
            const bool refuse = f.refuse;
            f = Faults{};
            f.refuse = refuse;
        }
        return taken;
    }

    // Serves one connection: requests in, replies out, until the peer or the server ends it.
    void serve(int fd, std::uint64_t serial) {
        std::string buffer;
        char chunk[65536];
        bool quiet = false;  // after a truncated reply the connection stays open and silent
        std::optional<std::string> late;  // late bytes held for the next request
        size_t searched = 0;  // the closing tag is not in buffer[0, searched)
        while (!stopping) {
            size_t end = buffer.find(kClose, searched);
            if (end == std::string::npos) {
                const size_t tag = std::string_view(kClose).size();
                searched = buffer.size() >= tag ? buffer.size() - tag + 1 : 0;
                if (buffer.size() > kMaxRequest) return;
                pollfd p{fd, POLLIN, 0};
                int ready = ::poll(&p, 1, 200);
                if (ready <= 0) continue;
                ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
                if (got <= 0) return;
                buffer.append(chunk, static_cast<size_t>(got));
                continue;
            }
            end += std::string_view(kClose).size();
            while (end < buffer.size() && (buffer[end] == '\n' || buffer[end] == '\r')) ++end;
            // The line break after the root belongs to the request; wait briefly for it.
            if (end == buffer.size() && buffer[end - 1] == '>') {
                pollfd p{fd, POLLIN, 0};
                if (::poll(&p, 1, 20) > 0) {
                    ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
                    if (got > 0) {
                        buffer.append(chunk, static_cast<size_t>(got));
                        continue;
                    }
                }
            }
            ReceivedRequest request = parse(buffer.substr(0, end), serial);
            buffer.erase(0, end);
            searched = 0;
            {
                std::lock_guard<std::mutex> lock(mutex);
                requests.push_back(request);
            }
            changed.notify_all();
            log(platform::fmt("#%i %@ (UID %@)%@", static_cast<long long>(serial),
                              request.command.empty() ? std::string("?") : request.command, request.uid,
                              request.layoutProblem.empty() ? std::string() : " refused: " + request.layoutProblem));
            if (quiet) continue;
            if (late && !sendAll(fd, *std::exchange(late, std::nullopt))) return;
            if (!answer(fd, request, quiet, late)) return;
        }
    }

    // False when the connection is to be closed.
    bool answer(int fd, const ReceivedRequest& request, bool& quiet, std::optional<std::string>& late) {
        std::optional<Faults> f = faultsFor(request.command);
        if (f && f->delaySeconds > 0 && !pause(f->delaySeconds)) return false;

        std::optional<std::string> bytes;
        bool close = false;
        if (f && f->garbage) {
            bytes = *f->garbage;
        } else if (f && f->errorReply) {
            bytes = errorReplyText(*f->errorReply);
        } else {
            ReplyOverride custom;
            {
                std::lock_guard<std::mutex> lock(mutex);
                auto it = overrides.find(request.command);
                if (it != overrides.end()) custom = it->second;
            }
            if (custom) bytes = custom(request);
            // A plain "disconnect" never gets a reply, whatever it holds.
            if (!bytes && !request.layoutProblem.empty() && request.cmd != "disconnect") {
                bytes = errorReplyText("请求格式错误: " + request.layoutProblem);
            }
            if (!bytes) {
                std::lock_guard<std::mutex> lock(mutex);
                auto a = restaurant.handle(request);
                bytes = a.bytes;
                close = a.close;
            }
        }
        if (!bytes) return !close;
        if (f && f->silence) return true;

        std::string out = *bytes;
        if (f && f->truncateAt && *f->truncateAt < out.size()) {
            quiet = true;
            return sendAll(fd, out.substr(0, *f->truncateAt));
        }
        if (f && f->closeAt) {
            sendAll(fd, out.substr(0, std::min(*f->closeAt, out.size())));
            return false;
        }
        std::vector<std::string> pieces;
        if (f && f->splitInsideCharacter) {
            size_t cut = out.size() / 2;
            for (size_t i = 0; i < out.size(); ++i)
                if ((static_cast<unsigned char>(out[i]) & 0xC0) == 0xC0) {
                    cut = i + 1;
                    break;
                }
            pieces = {out.substr(0, cut), out.substr(cut)};
        } else if (f && f->splitBytes > 0) {
            for (size_t at = 0; at < out.size(); at += f->splitBytes) pieces.push_back(out.substr(at, f->splitBytes));
        } else {
            pieces = {out};
        }
        if (f && f->lateBytes) {
            if (f->lateBytesOnRelease) {
                // Held before the reply goes: a client that has read it may release them at once.
                std::lock_guard<std::mutex> lock(mutex);
                heldLate = Held{request.connection, fd, *f->lateBytes};
            } else {
                late = *f->lateBytes;
            }
        }
        if (f && f->splitInsideCharacter && f->splitRestOnRelease) {
            // The first piece is out before the rest is held: a release, which takes the same
            // lock, can never write the rest ahead of it.
            std::lock_guard<std::mutex> lock(mutex);
            if (!sendAll(fd, pieces[0])) return false;
            heldRest = Held{request.connection, fd, pieces[1]};
            return !close;
        }
        for (size_t i = 0; i < pieces.size(); ++i) {
            if (i > 0 && !pause(f->splitPauseSeconds)) return false;
            if (!sendAll(fd, pieces[i])) return false;
        }
        return !close;
    }
};

BackOfficeSim::BackOfficeSim(Restaurant restaurant) : impl_(std::make_unique<Impl>(restaurant)) {}

BackOfficeSim::~BackOfficeSim() { stop(); }

bool BackOfficeSim::start(int port) {
    Impl& s = *impl_;
    if (s.running) return false;
    s.stopping = false;
    bool bound = false;
    for (int attempt = 0; attempt < 50 && !bound; ++attempt) {
        if (!s.bindListener(port)) {
            if (port != 0) return false;
            continue;
        }
        if (s.bindUdp(s.port)) {
            bound = true;
        } else {
            closeFd(s.listenFd);
            if (port != 0) return false;
        }
    }
    if (!bound) return false;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        closeFd(s.listenFd);
        closeFd(s.udpFd);
        return false;
    }
    s.wakeRead = pipeFds[0];
    s.wakeWrite = pipeFds[1];
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.wantListening = !s.faults.refuse;
        s.listening = true;
    }
    s.running = true;
    s.acceptor = std::thread([&s] { s.acceptLoop(); });
    s.log(platform::fmt("listening on 127.0.0.1:%i (TCP and UDP)", s.port));
    return true;
}

int BackOfficeSim::port() const { return impl_->port; }

bool BackOfficeSim::isRunning() const { return impl_->running; }

void BackOfficeSim::stop() {
    Impl& s = *impl_;
    if (!s.running) return;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.stopping = true;
        // Wake every connection blocked in a read or a pause.
        for (auto& c : s.conns) ::shutdown(c->fd, SHUT_RDWR);
    }
    s.changed.notify_all();
    s.wake();
    if (s.acceptor.joinable()) s.acceptor.join();
    std::list<std::unique_ptr<Impl::Connection>> conns;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        conns.swap(s.conns);
        closeFd(s.listenFd);
    }
    for (auto& c : conns) {
        if (c->thread.joinable()) c->thread.join();
        closeFd(c->fd);
    }
    closeFd(s.udpFd);
    closeFd(s.wakeRead);
    closeFd(s.wakeWrite);
    s.running = false;
}

void BackOfficeSim::setLogging(bool on) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->logging = on;
}

void BackOfficeSim::setFaults(const Faults& faults) {
    Impl& s = *impl_;
    std::unique_lock<std::mutex> lock(s.mutex);
    s.faults = faults;
    s.wantListening = !faults.refuse;
    if (!s.running) return;
    s.wake();
    // Refusal takes effect before this returns, so the caller's next connect sees it; the bound
    // is for a listener that can never change, not for a busy machine.
    s.changed.wait_for(lock, std::chrono::seconds(60), [&] { return s.listening == s.wantListening || s.stopping; });
}

void BackOfficeSim::clearFaults() { setFaults(Faults{}); }

bool BackOfficeSim::releaseLateBytes() {
    Impl& s = *impl_;
    // Under the lock the connection cannot end and close its socket meanwhile.
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.heldLate) return false;
    const Impl::Held held = std::move(*s.heldLate);
    s.heldLate.reset();
    return s.sendAll(held.fd, held.bytes);
}

bool BackOfficeSim::releaseSplitRest() {
    Impl& s = *impl_;
    // Under the lock the connection cannot end and close its socket meanwhile.
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.heldRest) return false;
    const Impl::Held held = std::move(*s.heldRest);
    s.heldRest.reset();
    return s.sendAll(held.fd, held.bytes);
}

void BackOfficeSim::overrideReply(const std::string& command, ReplyOverride reply) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    if (reply) impl_->overrides[command] = std::move(reply);
    else impl_->overrides.erase(command);
}

std::vector<ReceivedRequest> BackOfficeSim::requests() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->requests;
}

std::vector<ReceivedRequest> BackOfficeSim::requestsFor(const std::string& command) const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    std::vector<ReceivedRequest> out;
    for (auto& r : impl_->requests)
        if (r.command == command) out.push_back(r);
    return out;
}

std::vector<Announcement> BackOfficeSim::announcements() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->announcements;
}

std::uint64_t BackOfficeSim::connectionCount() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->connections;
}

void BackOfficeSim::clearRecords() {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->requests.clear();
    impl_->announcements.clear();
}

bool BackOfficeSim::waitForRequests(std::size_t count, double seconds) const {
    std::unique_lock<std::mutex> lock(impl_->mutex);
    return impl_->changed.wait_for(lock, std::chrono::duration<double>(seconds),
                                   [&] { return impl_->requests.size() >= count; });
}

bool BackOfficeSim::waitForAnnouncements(std::size_t count, double seconds) const {
    std::unique_lock<std::mutex> lock(impl_->mutex);
    return impl_->changed.wait_for(lock, std::chrono::duration<double>(seconds),
                                   [&] { return impl_->announcements.size() >= count; });
}

void BackOfficeSim::setNextDeviceKey(const std::string& key) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->restaurant.nextDeviceKey = key;
}

std::vector<std::string> BackOfficeSim::assignedKeys() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->restaurant.assignedKeys;
}

std::optional<SimDesk> BackOfficeSim::desk(const std::string& deskID) const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    auto it = impl_->restaurant.desks.find(deskID);
    if (it == impl_->restaurant.desks.end()) return std::nullopt;
    return it->second;
}

void BackOfficeSim::setDesk(const SimDesk& desk) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    auto& r = impl_->restaurant;
    if (!r.desks.count(desk.id)) r.deskOrder.push_back(desk.id);
    r.desks[desk.id] = desk;
}

void BackOfficeSim::setSellOut(const std::map<std::string, std::string>& sellOut) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->restaurant.sellOut = sellOut;
}

void BackOfficeSim::setRebateText(const std::string& html) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->restaurant.rebateText = html;
}

void BackOfficeSim::setRebates(const std::vector<std::pair<std::string, std::string>>& rebates) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->restaurant.rebates = rebates;
}

void BackOfficeSim::setCompanyNumber(const std::string& number) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->restaurant.companyNumber = number;
}

void BackOfficeSim::setLoginOptions(const LoginOptions& options) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->restaurant.loginOptions = options;
}

void BackOfficeSim::setReservation(const SimReservation& reservation) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    auto& r = impl_->restaurant;
    for (auto& id : reservation.deskIDs) {
        r.reservations[id] = reservation;
        auto it = r.desks.find(id);
        if (it != r.desks.end()) {
            it->second.state = "4";
            it->second.consumeID = reservation.consumeID;
            it->second.guests = reservation.guests;
        }
    }
}

void BackOfficeSim::setSavedOrder(const std::string& deskID, const std::string& document) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->restaurant.savedOrders[deskID] = document;
}

std::string BackOfficeSim::tableDocument(const std::string& table) const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    auto it = impl_->restaurant.tables.find(table);
    return it == impl_->restaurant.tables.end() ? std::string() : it->second;
}

void BackOfficeSim::setTableDocument(const std::string& table, const std::string& document) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->restaurant.tables[table] = document;
    if (table == "caip") impl_->restaurant.indexMenuPrices();
}

std::string BackOfficeSim::menuPrice(const std::string& dishID) const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    auto it = impl_->restaurant.menuPrices.find(dishID);
    return it == impl_->restaurant.menuPrices.end() ? std::string() : it->second;
}

std::vector<BackOfficeSim::File> BackOfficeSim::files(const std::string& kind) const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    auto it = impl_->restaurant.files.find(kind);
    return it == impl_->restaurant.files.end() ? std::vector<File>{} : it->second;
}

void BackOfficeSim::setFile(const std::string& kind, const File& file) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    // A caller that shapes the skin files itself gets only what it shapes.
    if (kind == "png") impl_->restaurant.demoSkinPending = false;
    auto& list = impl_->restaurant.files[kind];
    for (auto& f : list)
        if (f.name == file.name) {
            f = file;
            return;
        }
    list.push_back(file);
}

void BackOfficeSim::removeFiles(const std::string& kind) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->restaurant.files[kind].clear();
    if (kind == "png") impl_->restaurant.demoSkinPending = false;
}

void BackOfficeSim::setSpecialList(const std::string& name, const std::vector<std::string>& dishIDs) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->restaurant.specialLists[name] = dishIDs;
}

}  // namespace backoffice
