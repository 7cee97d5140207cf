#include "online/NSHTTPServer.h"

#include <curl/curl.h>
#include <pthread.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "core/NSServer.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Text.h"

namespace {

// The demo service: the web-service simulator beside the terminal. The path is the service's own.
constexpr const char* kDefaultHTTPAddress = "http://127.0.0.1:7993/app/Android/";
// An answer is read whole into memory; anything larger than this is no answer of this service.
constexpr std::size_t kMaxBodyBytes = 32u * 1024 * 1024;
constexpr int kDefaultTimeOut = 20;

std::mutex& addressMutex() {
    static std::mutex m;
    return m;
}
std::string& httpAddress() {
    static std::string address = kDefaultHTTPAddress;
    return address;
}

std::atomic<int> g_inFlight{0};

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// One transfer: the easy handle with its header list and the body as it arrives.
struct Transfer {
    std::shared_ptr<NSHTTPServer> request;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    std::string body;
    bool tooLarge = false;

    ~Transfer() {
        if (easy) curl_easy_cleanup(easy);
        if (headers) curl_slist_free_all(headers);
    }
};

size_t collectBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (t->body.size() + n > kMaxBodyBytes) {
        t->tooLarge = true;
        return 0;  // aborts the transfer
    }
    t->body.append(data, n);
    return n;
}

// Prepares a GET of the escaped URL with the service's two header fields and the configured
// time-out. False when the handle cannot be made.
bool prepare(Transfer& t, const std::string& escapedURL) {
    initCurlOnce();
    t.easy = curl_easy_init();
    if (!t.easy) return false;
    int seconds = NSServer::getOutTime();
    if (seconds <= 0) seconds = kDefaultTimeOut;
    t.headers = curl_slist_append(t.headers, "Content-Type: text/xml");
    t.headers = curl_slist_append(t.headers, "charset: UTF-8");
    curl_easy_setopt(t.easy, CURLOPT_URL, escapedURL.c_str());
    curl_easy_setopt(t.easy, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(t.easy, CURLOPT_HTTPHEADER, t.headers);
    curl_easy_setopt(t.easy, CURLOPT_TIMEOUT, static_cast<long>(seconds));
    curl_easy_setopt(t.easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(t.easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(t.easy, CURLOPT_WRITEFUNCTION, collectBody);
    curl_easy_setopt(t.easy, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(t.easy, CURLOPT_PRIVATE, &t);
    return true;
}

// The body of a finished transfer; nothing for a failure, an oversized body or a non-2xx status
// (an error page is no answer of the service).
std::optional<std::string> outcome(Transfer& t, CURLcode result) {
    if (result != CURLE_OK || t.tooLarge) return std::nullopt;
    long status = 0;
    curl_easy_getinfo(t.easy, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) return std::nullopt;
    return std::move(t.body);
}

// The worker thread "HTTP-Thread": runs every asynchronous request at once through one curl
// multi handle, so no request waits for another and the main loop never blocks on the network.
// It starts with the first request and runs until stop(); the program's end stops it before the
// screens' statics go, since an unanswered request keeps its receiver (a page) alive.
class HttpWorker {
public:
    static HttpWorker& shared() {
        static HttpWorker worker;
        return worker;
    }

    void submit(std::unique_ptr<Transfer> t) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!thread_.joinable()) {
            stopping_ = false;
            thread_ = std::thread([this] { run(); });
        }
        incoming_.push_back(std::move(t));
        curl_multi_wakeup(multi_);
    }

    // Stops and joins the thread; the requests it still had are dropped unanswered, here, on the
    // calling (main) thread, so their receivers go while everything they reach is still there.
    void stop() {
        std::vector<std::unique_ptr<Transfer>> dropped;
        std::thread thread;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!thread_.joinable()) return;
            stopping_ = true;
            curl_multi_wakeup(multi_);
            thread = std::move(thread_);
        }
        thread.join();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (auto& [easy, t] : running_) {
                curl_multi_remove_handle(multi_, easy);
                dropped.push_back(std::move(t));
            }
            running_.clear();
            for (auto& t : incoming_) dropped.push_back(std::move(t));
            incoming_.clear();
        }
        g_inFlight -= static_cast<int>(dropped.size());
        // A receiver's destructor may send again: the lock is free by now.
        dropped.clear();
    }

    ~HttpWorker() {
        stop();
        curl_multi_cleanup(multi_);
    }

private:
    HttpWorker() {
        initCurlOnce();
        multi_ = curl_multi_init();
    }

    void run() {
        pthread_setname_np(pthread_self(), "HTTP-Thread");
        for (;;) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (stopping_) return;
                for (auto& t : incoming_) {
                    CURL* easy = t->easy;
                    if (curl_multi_add_handle(multi_, easy) != CURLM_OK) {
                        t->request->queueDelivery(std::nullopt);
                        continue;
                    }
                    running_.emplace_back(easy, std::move(t));
                }
                incoming_.clear();
            }
            int still = 0;
            curl_multi_perform(multi_, &still);
            int left = 0;
            while (CURLMsg* msg = curl_multi_info_read(multi_, &left)) {
                if (msg->msg != CURLMSG_DONE) continue;
                finish(msg->easy_handle, msg->data.result);
            }
            curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
        }
    }

    void finish(CURL* easy, CURLcode result) {
        curl_multi_remove_handle(multi_, easy);
        for (auto it = running_.begin(); it != running_.end(); ++it) {
            if (it->first != easy) continue;
            std::unique_ptr<Transfer> t = std::move(it->second);
            running_.erase(it);
            t->request->queueDelivery(outcome(*t, result));
            return;
        }
    }

    std::mutex mutex_;
    std::thread thread_;
    CURLM* multi_ = nullptr;
    bool stopping_ = false;
    std::vector<std::unique_ptr<Transfer>> incoming_;
    std::vector<std::pair<CURL*, std::unique_ptr<Transfer>>> running_;  // the worker thread's while it runs
};

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

void appendEscape(std::string& out, unsigned char c) {
    static const char digits[] = "0123456789ABCDEF";
    out += '%';
    out += digits[c >> 4];
    out += digits[c & 15];
}

}  // namespace

std::shared_ptr<NSHTTPServer> NSHTTPServer::initWithAddress(const std::string& url) {
    return std::shared_ptr<NSHTTPServer>(new NSHTTPServer(url));
}

NSHTTPServer::~NSHTTPServer() = default;

int NSHTTPServer::inFlight() { return g_inFlight.load(); }

void NSHTTPServer::stopWorker() { HttpWorker::shared().stop(); }

std::string NSHTTPServer::getHTTPAddress() {
    std::lock_guard<std::mutex> lock(addressMutex());
    return httpAddress();
}

void NSHTTPServer::setHTTPAddress(const std::string& base) {
    std::lock_guard<std::mutex> lock(addressMutex());
    httpAddress() = base;
}

std::string NSHTTPServer::pictureURL(const std::string& picture) {
    // No picture path is no picture: the bare host is no address to fetch.
    if (picture.empty()) return {};
    const std::string base = getHTTPAddress();
    const auto at = base.find("/app");
    if (at == std::string::npos) return picture;
    return base.substr(0, at + 1) + picture;
}

std::string NSHTTPServer::escapeURL(const std::string& url) {
    // What a URL may hold as it stands: letters, digits, the unreserved marks and the reserved
    // characters. Everything else (space, quotes, braces, non-ASCII bytes...) is escaped.
    static const char kKept[] = "-_.!~*'();/?:@&=+$,";
    std::string out;
    out.reserve(url.size());
    for (std::size_t i = 0; i < url.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(url[i]);
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (alnum || (c != 0 && std::strchr(kKept, c))) {
            out += static_cast<char>(c);
        } else if (c == '%' && i + 2 < url.size() && isHex(url[i + 1]) && isHex(url[i + 2])) {
            out += '%';  // a value's own escape stays as made
        } else {
            appendEscape(out, c);
        }
    }
    return out;
}

std::string NSHTTPServer::escapeValue(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (char ch : value) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '%' || c == '&' || c == '=' || c == '+' || c == '?' || c == '#') {
            appendEscape(out, c);
        } else {
            out += ch;
        }
    }
    return out;
}

void NSHTTPServer::getText(const std::string& url, std::shared_ptr<void> receiver, Selector selector,
                           NSRequestTurn* turn) {
    auto request = initWithAddress(url);
    request->setReceiveDelegate(std::move(receiver));
    if (turn) {
        selector = [turn, number = turn->next(), selector = std::move(selector)](const std::string& answer,
                                                                                 NSHTTPServer& r) {
            if (turn->isCurrent(number)) selector(answer, r);
        };
    }
    request->setnetServerDidReceiveSelector(std::move(selector));
    request->sendGetToServer(true);
}

bool NSHTTPServer::sendGetToServer(bool async) {
    send(async);
    return true;
}

bool NSHTTPServer::sendGetToServer() {
    if (!sent_) isData_ = true;
    send(true);
    return true;
}

void NSHTTPServer::send(bool async) {
    if (sent_) return;  // a request is used once
    sent_ = true;
    ++g_inFlight;
    auto t = std::make_unique<Transfer>();
    t->request = shared_from_this();
    if (!prepare(*t, escapeURL(serverAddress_))) {
        queueDelivery(std::nullopt);
    } else if (async) {
        HttpWorker::shared().submit(std::move(t));
    } else {
        const CURLcode result = curl_easy_perform(t->easy);
        queueDelivery(outcome(*t, result));
    }
}

void NSHTTPServer::queueDelivery(std::optional<std::string> body) {
    platform::RunLoop::main().post(
        [self = shared_from_this(), body = std::move(body)] { self->receiveData(body); });
}

void NSHTTPServer::receiveData(const std::optional<std::string>& body) {
    if (delivered_) return;
    delivered_ = true;
    // Released whatever happens, so a request delivers at most once.
    auto receiver = std::move(receiveDelegate_);
    auto selector = std::move(didReceiveSelector_);
    --g_inFlight;
    if (!receiver || !selector) return;
    std::string answer;
    if (body) {
        if (isData_ || platform::isValidUTF8(*body)) answer = *body;
    }
    selector(answer, *this);
}
