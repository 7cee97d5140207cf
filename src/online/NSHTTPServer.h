#pragma once
// One request to the ordering web service: an HTTP GET whose answer (the body as text, or as raw
// bytes for pictures) reaches the receiver's callback once, on the main run loop, always after the
// send has returned. The caller does not keep the request: it lives until its answer is delivered.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// Tells the answer of the newest request of one kind from the answers of earlier ones still under
// way: answers arrive in the order they complete, and a late answer of an older search or load must
// not overwrite what the newer one brought.
class NSRequestTurn {
public:
    std::uint64_t next() { return ++current_; }
    bool isCurrent(std::uint64_t turn) const { return turn == current_; }

private:
    std::uint64_t current_ = 0;
};

class NSHTTPServer : public std::enable_shared_from_this<NSHTTPServer> {
public:
    // callback(answer, request). The answer is "" when nothing usable came back.
    using Selector = std::function<void(const std::string& answer, NSHTTPServer& request)>;

    // A new request in text mode for the complete URL, as the caller formatted it (not escaped).
    static std::shared_ptr<NSHTTPServer> initWithAddress(const std::string& url);

    const std::string& serverAddress() const { return serverAddress_; }
    // Kept alive until the delivery, so a screen closed meanwhile still gets its answer once.
    void setReceiveDelegate(std::shared_ptr<void> receiver) { receiveDelegate_ = std::move(receiver); }
    void setnetServerDidReceiveSelector(Selector selector) { didReceiveSelector_ = std::move(selector); }
    void setM_tag(const std::string& tag) { tag_ = tag; }
    const std::string& m_tag() const { return tag_; }
    bool isData() const { return isData_; }

    // Text mode. true: on the HTTP worker, returns at once; false: on the calling thread, which
    // waits for the answer or the time-out. Answers true.
    bool sendGetToServer(bool async);
    // Data mode (the body's bytes unchanged), on the HTTP worker. Answers true.
    bool sendGetToServer();

    // The usual asynchronous text request: `receiver` is kept until `selector` has had the answer.
    // With a turn, the request takes the turn's next number and its answer is dropped when a newer
    // request of that turn has been sent meanwhile (the turn must live as long as the receiver).
    static void getText(const std::string& url, std::shared_ptr<void> receiver, Selector selector,
                        NSRequestTurn* turn = nullptr);
    template <class T>
    static void getText(const std::string& url, const std::shared_ptr<T>& receiver,
                        void (T::*op)(const std::string&, NSHTTPServer&), NSRequestTurn* turn = nullptr) {
        T* self = receiver.get();
        getText(url, receiver, [self, op](const std::string& answer, NSHTTPServer& r) { (self->*op)(answer, r); },
                turn);
    }

    // The service base URL ("http://<host>/app/Android/").
    static std::string getHTTPAddress();
    // Points the client at another service (the tests' own simulator).
    static void setHTTPAddress(const std::string& base);

    // The absolute address of a "Picture" path: the base URL's scheme and host, "/", then the
    // path; the path alone when the base holds no "/app"; "" for no path.
    static std::string pictureURL(const std::string& picture);
    // The whole-URL escaping: every byte that may not stand in a URL becomes %XX (upper-case hex
    // of its UTF-8 bytes); an escape already made by escapeValue is kept as it is.
    static std::string escapeURL(const std::string& url);
    // One query value escaped for the characters that would end or reshape it ("%", "&", "=",
    // "+", "?", "#"), so a name or remark holding them reaches the service intact.
    static std::string escapeValue(const std::string& value);

    // Requests sent and not yet delivered (the tests wait for their answers with it).
    static int inFlight();
    // Main thread: stops and joins the HTTP worker. The asynchronous requests it had not answered
    // are dropped without a delivery, and their receivers let go of now. The program's end calls
    // it (and so do tests that started requests); a later request starts the worker again.
    static void stopWorker();

    // From any thread: queues the delivery of the body (nothing when the request failed) on the
    // main run loop.
    void queueDelivery(std::optional<std::string> body);
    // The delivery, on the main thread: text mode hands over the body as UTF-8 text ("" when it
    // is missing or not UTF-8), data mode the bytes; then the receiver and callback are let go.
    void receiveData(const std::optional<std::string>& body);

    ~NSHTTPServer();

private:
    explicit NSHTTPServer(std::string url) : serverAddress_(std::move(url)) {}
    void send(bool async);

    std::string serverAddress_;
    Selector didReceiveSelector_;
    std::shared_ptr<void> receiveDelegate_;
    bool isData_ = false;
    bool sent_ = false;
    bool delivered_ = false;
    std::string tag_;
};

