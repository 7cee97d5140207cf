#pragma once
// The back-office simulator: a real TCP (and UDP) server on 127.0.0.1 that speaks the server side
// of the terminal's protocol, serves a demo restaurant and keeps desk state across requests. Tests
// start it in-process; `backoffice-sim` runs it as the demo server. Fault modes let tests make it
// misbehave on purpose, and every request it receives is recorded for them to compare.
//
// Thread-safe: the server runs on its own threads; every public operation may be called from any
// thread at any time, also while connections are being served.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class GDataXMLDocument;
class GDataXMLElement;

namespace backoffice {

// One request as the server received it.
struct ReceivedRequest {
    std::string raw;           // the bytes as they arrived: the document and the line break after it
    std::string uid;           // the root's UID attribute (the device key the terminal holds)
    std::string dev;           // dev
    std::string cmd;           // cmd as sent (Base64 of the enciphered word, or "disconnect")
    std::string seq;           // seq
    std::string dnt;           // dnt: "1" one request per connection, "0" long-socket mode
    std::string command;       // the command word deciphered with UID; "" when it cannot be
    std::shared_ptr<GDataXMLDocument> document;  // the parsed request; null when not XML
    std::uint64_t connection = 0;                // serial number of the TCP connection (from 1)
    // What departs from the terminal's layout (envelope attributes and values, the command's
    // `data` children in order, line rows); "" when the request has it. Such a request gets an
    // error reply naming the problem, unless a reply override answers it.
    std::string layoutProblem;

    // The `data` element of the request (null when missing), and the text of its first child
    // of that name ("" when missing).
    std::shared_ptr<GDataXMLElement> data() const;
    std::string field(const std::string& name) const;
};

// How the server misbehaves. A request met by `garbage` or `errorReply` is not applied to the
// restaurant; under the other modes it is applied and only its reply goes wrong (as when a reply
// is lost on the way, so a repeated request acts twice). Each mode applies to the requests whose
// command word matches `onlyCommand` ("" = every request) for the next `times` of them (-1 = until
// other faults are set); "disconnect" is never affected.
struct Faults {
    // Connections are refused: the listening socket is closed (connect fails at once) until
    // faults without it are set; then it listens on the same port again. Open connections stay.
    // Not limited by `onlyCommand` or `times`.
    bool refuse = false;

    // Seconds to wait after a request before its reply is sent.
    double delaySeconds = 0;
    // The request is read and never answered; the connection stays open until the peer closes.
    bool silence = false;
    // The reply is written in pieces of this many bytes (0: whole), `splitPauseSeconds` apart.
    std::size_t splitBytes = 0;
    double splitPauseSeconds = 0.05;
    // The reply is written in two pieces, the cut falling inside its first multi-byte UTF-8
    // character (after its lead byte), `splitPauseSeconds` apart; a reply without one is cut in
    // the middle. With `splitRestOnRelease`, the second piece waits for releaseSplitRest()
    // instead, so that a test surely reads the first piece alone.
    bool splitInsideCharacter = false;
    bool splitRestOnRelease = false;
    // Only the first `truncateAt` bytes of the reply are sent; the connection then stays open
    // and silent.
    std::optional<std::size_t> truncateAt;
    // The first `closeAt` bytes of the reply are sent, then the connection is closed.
    std::optional<std::size_t> closeAt;
    // These bytes are sent in place of the reply (for instance bytes that are no XML).
    std::optional<std::string> garbage;
    // An error reply with this describe text is sent in place of the reply.
    std::optional<std::string> errorReply;
    // These bytes follow the reply on the same connection, as the late end of some other answer
    // would. They are held until the next request arrives there and go out before its reply, so
    // they surely come after the client wrote that request; with `lateBytesOnRelease`, until
    // releaseLateBytes(), so that a test can have them wait in the client's socket before the
    // client writes again. Held bytes go with their connection when it ends. No pause orders
    // them: on a busy machine a pause is no order at all.
    std::optional<std::string> lateBytes;
    bool lateBytesOnRelease = false;

    std::string onlyCommand;
    int times = -1;
};

// The options a login reply carries.
struct LoginOptions {
    bool sendClose = false;
    int longSocket = 0;  // sent as it is: 256 tests the lowest-8-bits rule
    std::string scaleMid = "1.5";
    std::string scaleLarge = "2";
    std::optional<int> dishCount;  // nothing: the highest line counter seen for the waiter
};

// A reservation of one or more desks, served by "yudinfo" and opened by "yudopen".
struct SimReservation {
    std::string consumeID;  // the reservation's bill ID
    int guests = 0;
    std::string company, diningTime, guestName, telephone, bookingTime, remark;
    std::vector<std::string> deskIDs;
    struct Dish { std::string caipID; double quantity = 1; std::string kw; int serving = 0; };
    std::vector<Dish> dishes;
};

// One datagram received on the UDP port.
struct Announcement {
    std::string bytes;  // as received (GB18030)
    std::string text;   // decoded to UTF-8; "" when the bytes are not GB18030
};

// One order line of a desk's bill, as the simulator keeps it.
struct SimLine {
    std::string xfmxID;    // server line ID
    std::string uid;       // the terminal's line number
    std::string caipID;
    double quantity = 0;
    double quantity2 = 0;
    std::string units;
    std::string price;     // unit price
    // The line's surcharges (cooking methods and manual, `addamt`): an amount for the whole line,
    // booked into the unit price a refresh reports, as the refresh has no place of its own for it.
    double addAmount = 0;
    std::string tasteIDs;  // "," list as the terminal sent it
    std::string remark;
    int serving = 0;       // chucfs
    int state = 1;         // line state reported back: 1 ordered, 2 hastened, 3 served
    std::string time;
    std::string waiter;
    bool isSet = false, isExp = false, addOn = false, varQty = false;
    std::string parent;    // server line ID of the group head, "" outside a group
};

// A desk with its open bill.
struct SimDesk {
    std::string id;
    std::string name;
    std::string room;
    std::string state = "1";  // "1" free, "4"/"5" reserved, "6" open
    std::string consumeID;    // bill ID, "" while free
    int guests = 0;
    std::string waiter;
    std::string openTime;
    std::vector<SimLine> lines;
    int printed = 0;          // how many print requests the bill received
    std::string remark;
    // Opened or merged under another desk's bill by a join: lines joined later go to that desk.
    bool joined = false;
    // The discount applied to the bill ("rebatexiaof"): template code ("" none) and amount off.
    std::string rebateCode;
    double rebateAmount = 0;
};

// The restaurant a simulator serves. The tests' restaurant is small and generated (numbered
// categories, placeholder names, flat pictures); tests count on its content. The demo restaurant
// is the one a newcomer meets through backoffice-sim: real dishes with drawn pictures, set meals
// with choice groups, cooking methods with surcharges, tastes, several units, weighed and
// sold-out dishes, waiters, and rooms with desks in every state.
enum class Restaurant { Tests, Demo };

class BackOfficeSim {
public:
    // The company number the demo login values are enciphered with unless setCompanyNumber says
    // otherwise: the terminal's own default.
    static constexpr const char* kCompanyNumber = "0";
    // The waiters are the rows of the "yonghxx" table ("0001" to "0060" in the tests'
    // restaurant, "1001" to "1006" in the demo one), each with the password "123".

    explicit BackOfficeSim(Restaurant restaurant = Restaurant::Tests);
    ~BackOfficeSim();  // stops
    BackOfficeSim(const BackOfficeSim&) = delete;
    BackOfficeSim& operator=(const BackOfficeSim&) = delete;

    // Listens on 127.0.0.1:port for TCP and UDP (port 0: a free port number that is free for
    // both). False when either cannot be bound or the server already runs.
    bool start(int port = 0);
    int port() const;
    // Closes every connection and both sockets; waits for the server threads to end.
    void stop();
    bool isRunning() const;

    // Server diagnostics on standard error (default on; the program's --quiet turns them off).
    void setLogging(bool on);

    // --- Fault modes --------------------------------------------------------------------------
    void setFaults(const Faults& faults);
    void clearFaults();
    // Writes the late bytes held for release (Faults::lateBytesOnRelease) on their connection;
    // false when none are held or they could not be written.
    bool releaseLateBytes();
    // Writes the second piece of a split reply held for release (Faults::splitRestOnRelease) on
    // its connection; false when none is held or it could not be written.
    bool releaseSplitRest();

    // A reply of the test's own for one command word: the function gets the request and answers
    // the bytes to send, or nothing to let the simulator answer as usual. Replaces an earlier
    // function for the word; an empty function removes it. Fault modes still apply.
    using ReplyOverride = std::function<std::optional<std::string>(const ReceivedRequest&)>;
    void overrideReply(const std::string& command, ReplyOverride reply);

    // --- What was received ----------------------------------------------------------------------
    std::vector<ReceivedRequest> requests() const;
    // The requests whose deciphered command word is `command`.
    std::vector<ReceivedRequest> requestsFor(const std::string& command) const;
    std::vector<Announcement> announcements() const;
    // How many TCP connections were accepted so far.
    std::uint64_t connectionCount() const;
    void clearRecords();
    // Waits (up to `seconds`) until at least `count` requests (or announcements) were recorded.
    bool waitForRequests(std::size_t count, double seconds) const;
    bool waitForAnnouncements(std::size_t count, double seconds) const;

    // --- Restaurant state -------------------------------------------------------------------------
    // The device key the next "check" assigns (otherwise a fresh "SIMnnnnnnnn" for each).
    void setNextDeviceKey(const std::string& key);
    // The keys assigned so far, in order.
    std::vector<std::string> assignedKeys() const;
    // A copy of a desk's state; nothing for an unknown desk ID.
    std::optional<SimDesk> desk(const std::string& deskID) const;
    // Puts a desk into a state (for tests that need an open, reserved or busy desk).
    void setDesk(const SimDesk& desk);
    // The sold-out list every desk reply carries: dish ID -> remaining quantity ("0" sold out).
    void setSellOut(const std::map<std::string, std::string>& sellOut);
    // The "rebatexiaof" answer put between <html> and </html>, in place of the bill's discount
    // that the simulator works out (template, amount off, total and amount due).
    void setRebateText(const std::string& html);
    // The discount list ("treedata" "rebate"): code -> name, state "/".
    void setRebates(const std::vector<std::pair<std::string, std::string>>& rebates);
    void setCompanyNumber(const std::string& number);
    void setLoginOptions(const LoginOptions& options);
    // A reservation, keyed by each of its desks; those desks show state "4".
    void setReservation(const SimReservation& reservation);
    // The saved-order document "ipadload" answers for a desk (default: the desk with no lines).
    void setSavedOrder(const std::string& deskID, const std::string& document);

    // The plain table document served for a "query" of that table ("caip", "zuot", ...), and a
    // replacement for it. Tables are enciphered with the requesting device's key when served.
    std::string tableDocument(const std::string& table) const;
    void setTableDocument(const std::string& table, const std::string& document);
    // The menu's unit price of a dish, which a line ordered at the menu's price ("-1") gets.
    std::string menuPrice(const std::string& dishID) const;

    // The files served by "getfile" and listed by "picdir" ("bmp"), "skindir" ("png") and
    // "mediadir" ("mpg"): name as listed, stamp, bytes. The demo serves each dish's picture
    // "<id>.BMP", thumbnail "<id>T.BMP" and description "<id>M.TXT", two skin pictures and one
    // video, and the demo skin (tools/skingen) once the skin files are first asked for. A ".BMP"
    // of kind "bmp" travels with its first 1024 bytes enciphered with the requesting device's
    // key. setFile adds or replaces one file (by name); removeFiles empties a list; either, for
    // the skin files, leaves the demo skin out.
    struct File {
        std::string name;
        int stamp = 1;
        std::string bytes;
        // The size the list announces; nothing: the real size.
        std::optional<long long> listedSize;
    };
    std::vector<File> files(const std::string& kind) const;
    void setFile(const std::string& kind, const File& file);
    void removeFiles(const std::string& kind);
    // The dish IDs of the special lists "Dailynew" and "Recommend".
    void setSpecialList(const std::string& name, const std::vector<std::string>& dishIDs);

    // --- Helpers for tests ----------------------------------------------------------------------
    // A reply envelope around the inner XML of its `data` element.
    static std::string reply(const std::string& dataInnerXml);
    // The error reply with that describe text.
    static std::string errorReplyText(const std::string& describe);
    // The `cmd` value of a command word for a device key (the terminal's encipherment).
    static std::string encipherCommand(const std::string& word, const std::string& key);
    // The reverse; nothing when the text is not Base64.
    static std::optional<std::string> decipherCommand(const std::string& cmd, const std::string& key);
    // Login field values: enciphered with the company number, Base64.
    static std::string encipherField(const std::string& value, const std::string& key);
    static std::optional<std::string> decipherField(const std::string& value, const std::string& key);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace backoffice
