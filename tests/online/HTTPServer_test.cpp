// The web-service client against the simulator over real HTTP: what goes on the wire, how and when
// answers are delivered, and the failures that must come back as the empty answer.

#include <atomic>
#include <filesystem>
#include <thread>

#include "OnlineFixture.h"
#include "online/NSJsonResolver.h"
#include "online/NSWebPages.h"
#include "platform/render/Bitmap.h"
#include "support/SilentListener.h"

namespace onlinetest {
namespace {

struct Receiver {
    int calls = 0;
    std::string answer;
    std::string tag;
    std::thread::id thread;
};

// Sends a text request to `url` whose answer goes to `r`.
std::shared_ptr<NSHTTPServer> send(const std::string& url, const std::shared_ptr<Receiver>& r, bool async = true) {
    auto request = NSHTTPServer::initWithAddress(url);
    request->setReceiveDelegate(r);
    request->setnetServerDidReceiveSelector([raw = r.get()](const std::string& answer, NSHTTPServer& req) {
        ++raw->calls;
        raw->answer = answer;
        raw->tag = req.m_tag();
        raw->thread = std::this_thread::get_id();
    });
    request->sendGetToServer(async);
    return request;
}

using OnlineHTTP = OnlineTest;

TEST_F(OnlineHTTP, RequestTargetsHeadersAndValuesReachTheServiceAsTyped) {
    struct Case {
        std::string url;
        std::string target;  // as it must arrive on the wire
        std::string username, password;  // as the service must read them
    };
    const Case cases[] = {
        // An ordinary request stays exactly the page's form.
        {webpages::login("demo", "123456"), "/app/Android/Login.aspx?username=demo&password=123456", "demo", "123456"},
        // Spaces and Chinese go out as UTF-8 escapes.
        {webpages::login("王 五", "a b"),
         "/app/Android/Login.aspx?username=%E7%8E%8B%20%E4%BA%94&password=a%20b", "王 五", "a b"},
        // Characters that would reshape the query are escaped inside their value.
        {webpages::login("a&b=c", "1+1?#%"),
         "/app/Android/Login.aspx?username=a%26b%3Dc&password=1%2B1%3F%23%25", "a&b=c", "1+1?#%"},
    };
    for (const auto& c : cases) {
        sim.clearLog();
        auto r = std::make_shared<Receiver>();
        send(c.url, r);
        ASSERT_TRUE(pumpUntil([&] { return r->calls == 1; })) << c.url;
        const auto log = sim.requests();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].target, c.target);
        EXPECT_EQ(log[0].query.find("username")->second, c.username);
        EXPECT_EQ(log[0].query.find("password")->second, c.password);
        EXPECT_EQ(log[0].query.size(), 2u);
        EXPECT_EQ(log[0].headers.find("Content-Type")->second, "text/xml");
        EXPECT_EQ(log[0].headers.find("charset")->second, "UTF-8");
    }
}

TEST_F(OnlineHTTP, OrderModelKeepsColonsAndCommasAndArrivesWhole) {
    const nlohmann::json model = nlohmann::json::array(
        {{{"OrderID", "5001"}, {"cartlist", nlohmann::json::array({{{"PName", "鱼&虾"}, {"PNum", "1"}}})}}});
    const std::string text = NSJsonResolver::codeJson(model);
    auto r = std::make_shared<Receiver>();
    send(webpages::submitOrder(text), r);
    ASSERT_TRUE(pumpUntil([&] { return r->calls == 1; }));
    const auto log = sim.requests();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].target.substr(0, log[0].target.find("ordermodel=") + 11),
              "/app/Android/SubmitOrder.aspx?orderForm=&ordermodel=");
    const std::string sent = log[0].target.substr(log[0].target.find("ordermodel=") + 11);
    // Brackets, braces and quotes escaped; ":" and "," as they are; "&" inside the value escaped.
    EXPECT_EQ(sent.rfind("%5B%7B%22OrderID%22:%225001%22,%22cartlist%22:%5B%7B%22PName%22:%22", 0), 0u) << sent;
    EXPECT_NE(sent.find("%26"), std::string::npos);
    EXPECT_EQ(log[0].query.find("ordermodel")->second, text);
}

TEST_F(OnlineHTTP, AnswerIsDeliveredOnceOnTheMainLoopAfterTheSendReturned) {
    for (bool async : {true, false}) {
        auto r = std::make_shared<Receiver>();
        std::weak_ptr<Receiver> watch = r;
        auto request = send(webpages::cityInfo(), r, async);
        r.reset();
        // Not from inside the send, in either mode; the request keeps its receiver until then.
        EXPECT_FALSE(watch.expired());
        EXPECT_EQ(watch.lock()->calls, 0);
        request.reset();
        ASSERT_TRUE(pumpUntil([&] { return watch.expired() || watch.lock()->calls > 0; })) << async;
        // Delivered, then the receiver is let go.
        EXPECT_TRUE(settle());
        EXPECT_TRUE(watch.expired()) << async;
    }
    // The receiver's own view of one delivery.
    auto r = std::make_shared<Receiver>();
    send(webpages::cityInfo(), r);
    ASSERT_TRUE(settle());
    for (int i = 0; i < 5; ++i) home.loop().runOnce();
    EXPECT_EQ(r->calls, 1);
    EXPECT_EQ(r->thread, std::this_thread::get_id());
    // The transfer itself ran on the client's worker.
    bool worker = false;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        worker = worker || platform::fs::readAll(task.path().string() + "/comm").value_or("") == "HTTP-Thread\n";
    EXPECT_TRUE(worker);
    NSJsonResolver json;
    ASSERT_TRUE(json.resolveJson(r->answer));
    EXPECT_EQ(json_read::list(*json.jsonMap, "datelist").size(), 3u);
}

TEST_F(OnlineHTTP, EveryFailureIsTheEmptyAnswerAndErrorPagesParseAsNothing) {
    struct Case {
        websim::Fault fault;
        bool empty;  // the answer is ""; otherwise it is text that does not parse
    };
    const Case cases[] = {{websim::Fault::Status, true},
                          {websim::Fault::NoAnswer, true},
                          {websim::Fault::HtmlError, false},
                          {websim::Fault::BadJson, false},
                          {websim::Fault::DeepJson, false}};
    const int outTime = NSServer::getOutTime();
    for (const auto& c : cases) {
        // Only the request left unanswered is to meet the time-out, so only it has a short one:
        // an error page that came late would be taken for no answer.
        NSServer::setOutTime(c.fault == websim::Fault::NoAnswer ? 1 : outTime);
        sim.setFault("getcityinfo", c.fault);
        auto r = std::make_shared<Receiver>();
        send(webpages::cityInfo(), r);
        ASSERT_TRUE(pumpUntil([&] { return r->calls == 1; })) << static_cast<int>(c.fault);
        EXPECT_EQ(r->answer.empty(), c.empty) << static_cast<int>(c.fault);
        NSJsonResolver json;
        EXPECT_FALSE(json.resolveJson(r->answer)) << static_cast<int>(c.fault);
        sim.clearFaults();
    }
    NSServer::setOutTime(outTime);
    // The blocking mode fails the same way, and delivers after it returned.
    sim.setFault("getcityinfo", websim::Fault::Status);
    auto blocking = std::make_shared<Receiver>();
    send(webpages::cityInfo(), blocking, false);
    EXPECT_EQ(blocking->calls, 0);
    ASSERT_TRUE(pumpUntil([&] { return blocking->calls == 1; }));
    EXPECT_EQ(blocking->answer, "");
    sim.clearFaults();
    // A body that is not UTF-8 is no text answer.
    auto r = std::make_shared<Receiver>();
    send(NSHTTPServer::pictureURL("upload/shop101.png"), r);
    ASSERT_TRUE(pumpUntil([&] { return r->calls == 1; }));
    EXPECT_EQ(r->answer, "");
    // Nobody listening.
    const std::string base = sim.baseURL();
    sim.stop();
    r = std::make_shared<Receiver>();
    send(base + "getcityinfo.aspx", r);
    ASSERT_TRUE(pumpUntil([&] { return r->calls == 1; }));
    EXPECT_EQ(r->answer, "");
}

TEST_F(OnlineHTTP, LaterRequestMayBeAnsweredFirstEachToItsOwnReceiver) {
    // The first request's answer is held until the second one was delivered.
    sim.setFault("getcityinfo", websim::Fault::Held);
    auto slow = std::make_shared<Receiver>();
    auto fast = std::make_shared<Receiver>();
    send(webpages::cityInfo(), slow);
    send(webpages::shopTypeList(), fast);
    ASSERT_TRUE(pumpUntil([&] { return fast->calls == 1; }));
    EXPECT_EQ(slow->calls, 0);
    ASSERT_TRUE(waitForRequests(2));  // the held one has come in too
    sim.releaseHeld();
    ASSERT_TRUE(pumpUntil([&] { return slow->calls == 1; }));
    EXPECT_NE(slow->answer.find("datelist"), std::string::npos);
    EXPECT_NE(fast->answer.find("shoptypelist"), std::string::npos);
}

// Asks for the picture at `url` in data mode, tagged with the address, as the picture cache does.
std::shared_ptr<NSHTTPServer> sendForPicture(const std::string& url, const std::shared_ptr<Receiver>& r) {
    auto request = NSHTTPServer::initWithAddress(url);
    request->setM_tag(url);
    request->setReceiveDelegate(r);
    request->setnetServerDidReceiveSelector([raw = r.get()](const std::string& bytes, NSHTTPServer& req) {
        ++raw->calls;
        raw->answer = bytes;
        raw->tag = req.m_tag();
    });
    request->sendGetToServer();
    return request;
}

TEST_F(OnlineHTTP, DataModeHandsOverTheBytesWithTheTag) {
    const std::string url = NSHTTPServer::pictureURL("upload/shop101.png");
    EXPECT_EQ(url, sim.baseURL().substr(0, sim.baseURL().find("app/")) + "upload/shop101.png");
    for (bool fail : {false, true}) {
        if (fail) sim.setFault("pic", websim::Fault::Status);
        auto r = std::make_shared<Receiver>();
        auto request = sendForPicture(url, r);
        EXPECT_TRUE(request->isData());
        ASSERT_TRUE(pumpUntil([&] { return r->calls == 1; }));
        EXPECT_EQ(r->answer, fail ? std::string() : sim.picture("upload/shop101.png"));
        EXPECT_EQ(r->tag, url);
    }
}

TEST_F(OnlineHTTP, SimulatorServesDrawnPicturesThatTellShopsApart) {
    auto fetch = [&](const std::string& path) {
        auto r = std::make_shared<Receiver>();
        sendForPicture(NSHTTPServer::pictureURL(path), r);
        EXPECT_TRUE(pumpUntil([&] { return r->calls == 1; })) << path;
        return r->answer;
    };
    const std::string shop = fetch("upload/shop101.png"), other = fetch("upload/shop102.png"),
                      dish = fetch("upload/food101-101.png"), unknown = fetch("upload/nothing.png");
    for (const std::string* bytes : {&shop, &other, &dish, &unknown}) {
        const auto decoded = render::decodePng(*bytes);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->width, 320);
        EXPECT_EQ(decoded->height, 240);
    }
    EXPECT_NE(shop, other);
    EXPECT_NE(shop, dish);
}

TEST_F(OnlineHTTP, RequestWithoutReceiverOrCallbackStillEnds) {
    auto noReceiver = NSHTTPServer::initWithAddress(webpages::cityInfo());
    bool called = false;
    noReceiver->setnetServerDidReceiveSelector([&](const std::string&, NSHTTPServer&) { called = true; });
    noReceiver->sendGetToServer(true);
    auto noCallback = NSHTTPServer::initWithAddress(webpages::cityInfo());
    noCallback->setReceiveDelegate(std::make_shared<int>(1));
    noCallback->sendGetToServer(true);
    noReceiver.reset();
    noCallback.reset();
    EXPECT_TRUE(settle());
    EXPECT_FALSE(called);
    EXPECT_EQ(sim.requests().size(), 2u);
}

// The program's end: requests still unanswered are dropped with their receivers, on the calling
// thread, and the worker is joined; a request after that starts it again.
TEST_F(OnlineHTTP, StoppingTheWorkerDropsUnansweredRequestsAndTheirReceivers) {
    testsupport::SilentListener silent;
    ASSERT_GT(silent.port(), 0);
    auto waiting = std::make_shared<Receiver>();
    std::weak_ptr<Receiver> gone = waiting;
    send("http://127.0.0.1:" + std::to_string(silent.port()) + "/app/Android/getcityinfo.aspx", waiting);
    waiting.reset();
    ASSERT_TRUE(pumpUntil([&] { return silent.connectionsMade() > 0; }));
    EXPECT_FALSE(gone.expired());
    EXPECT_EQ(NSHTTPServer::inFlight(), 1);

    NSHTTPServer::stopWorker();
    EXPECT_TRUE(gone.expired());
    EXPECT_EQ(NSHTTPServer::inFlight(), 0);
    home.loop().drain();

    auto later = std::make_shared<Receiver>();
    send(webpages::cityInfo(), later);
    ASSERT_TRUE(pumpUntil([&] { return later->calls == 1; }));
    EXPECT_NE(later->answer.find("datelist"), std::string::npos);
}

}  // namespace
}  // namespace onlinetest
