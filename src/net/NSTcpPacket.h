#pragma once
// One request to the back-office server and its reply. A builder makes the envelope (`morvane`
// with UID, dev, cmd, seq, dnt) and the empty `data` fields of one command, fillers write the
// values from the data model, the exchange sends it over the shared link with fail-over from the
// first to the second server address, and the reply forms read the answer into the data model.
//
// Every text written into a request is literal ("&" stays "&" on the server's side).

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/NSServer.h"

class GDataXMLDocument;
class GDataXMLElement;
class NSATreeClass;
class NSDeskClass;
class NSDishClass;
class NSTcpNet;
class NSUserClass;
class NSYuDingClass;

class NSTcpPacket {
public:
    // Command codes (the command word is what the envelope enciphers into `cmd`).
    static constexpr int kQuery = 800001;        // "query"
    static constexpr int kTreeData = 800002;     // "treedata"
    static constexpr int kGetFile = 800003;      // "getfile"
    static constexpr int kDeskState = 800004;    // "deskstate"
    static constexpr int kCustom = 800005;       // the command word is free text
    static constexpr int kOpenDesk = 800006;     // "opendesk"
    static constexpr int kAddDish = 800007;      // "adddish"
    static constexpr int kHasten = 800008;       // "hasten"
    static constexpr int kDelDish = 800009;      // "deldish"
    static constexpr int kUpdateMenu = 800010;   // "updatemenu"
    static constexpr int kDisconnect = 800011;   // "disconnect", sent as the plain word
    static constexpr int kChangeDesk = 800012;   // "changedesk"
    static constexpr int kClearDesk = 800013;    // "cleardesk"
    static constexpr int kPrintAllDish = 800014; // "printalldish"
    static constexpr int kLogin = 820001;        // "login"
    // The client version the login request announces.
    static constexpr const char* kClientVersion = "00-201310241706";

    // How large a reply of each kind may be. Real replies are far smaller; the limits keep what
    // one hostile reply can cost in memory (its text, its document, the records made from it)
    // well within the terminal's means.
    static constexpr std::size_t kPlainReplyBytes = 1u << 20;        // answers, login, desks opened
    static constexpr std::size_t kDeskReplyBytes = 8u << 20;         // desk lines, desk states
    static constexpr std::size_t kListReplyBytes = 8u << 20;         // named lists, file lists
    static constexpr std::size_t kTableReplyBytes = 16u << 20;       // one table's text
    static constexpr std::size_t kFileReplyBytes = 64u << 20;        // one downloaded file

    // The command word of a fixed code; none for the custom code and unknown codes.
    static std::optional<std::string> commandWord(int code);
    // The `cmd` value of a word under a device key: the word enciphered with the key (the
    // cipher's writing direction), Base64.
    static std::string encipherCommand(const std::string& word, const std::string& key);

    // A packet without document on the hub's shared link (made when the hub has none), with the
    // server address chosen for its whole life.
    NSTcpPacket();
    // A packet on a given link, leaving the hub alone (the link's own "disconnect").
    explicit NSTcpPacket(NSTcpNet& link);
    ~NSTcpPacket();
    NSTcpPacket(const NSTcpPacket&) = delete;
    NSTcpPacket& operator=(const NSTcpPacket&) = delete;

    // ---- builders ----
    // The envelope and fields of a fixed command; an unknown code leaves the packet without a
    // document and `type` 0.
    static std::shared_ptr<NSTcpPacket> initWithType(int code);
    // A custom command (800005): waiterid, deskid, consumeid empty, then param1 and param2.
    static std::shared_ptr<NSTcpPacket> initWithCustom(const std::string& word, const std::string& param1,
                                                       const std::string& param2);
    // Builds the document of a code into this packet (what initWithType does after making it).
    void buildType(int code);

    // ---- fillers: NO (and nothing written) on a packet of another command ----
    bool SetCustom(const std::string& userID, const std::string& deskID, const std::string& billID);
    bool addElement(const std::string& name, const std::string& value);  // appended to `data`
    bool setAllDeskState();
    bool setOpenDesk(const NSDeskClass& desk);
    bool setUpdateMenu(const NSDeskClass& desk);
    bool setClearDesk(const NSDeskClass& desk);
    bool setChangeDesk(const NSDeskClass& desk, const NSDeskClass& target);
    bool setHasten(const NSDishClass& line, const std::string& userID, const std::string& type,
                   const std::string& msg);
    // NO as well when the desk has nothing to add (NSDeskClass::HaveAddDish).
    bool setAddDish(const NSDeskClass& desk);
    bool setDelDish(const NSDeskClass& desk);
    bool SetPrintAllDish(const NSDeskClass& desk);
    bool setYuDing(const NSYuDingClass& reservation);  // appends `desk` and `caip`; always YES
    bool setUser(const NSUserClass& user);
    bool setTableName(const std::string& table);
    bool addFieldName(const std::string& field);
    // Empties the fields of the packet's command for another use of the same command.
    void reset();

    // The first child of that name under `data` (null when none); for tests and the operations
    // that read a field back.
    std::shared_ptr<GDataXMLElement> dataField(const std::string& name) const;

    // ---- the exchange ----
    // Serialises the request and sends it; with a reply wanted, reads one. YES for a complete
    // reply that is no error reply. Two attempts; an error reply is not retried.
    bool sendPacketForNone(bool wantsReply);
    bool sendPacketForDelCaip();
    // Whether the request books or changes something on the server's bill (an order, a return, a
    // gift, a desk operation): such a request is never written twice in one exchange.
    bool booksOnServer() const;
    // The raw file exchange of a "getfile" packet: `bytes` gets what was read (at least `size`
    // bytes, maybe more). Two attempts, each on a connection of its own that it ends, also in
    // long-socket mode.
    bool sendPacketForGetFile(const std::string& fileName, long long size, const std::string& kind,
                              std::optional<std::string>& bytes);
    // The error reply rule: a text holding "error" that parses and has data/describe is shown by
    // the alert-or-message rule; YES then.
    bool messageIsError(const std::optional<std::string>& reply);
    // The alert of showMsg was answered: clears the alert-shown flag.
    void alertViewClickedButtonAtIndex(int button);
    void showMsg();

    // ---- reply forms: the exchange, then the reply read into the data model ----
    bool sendPacketForUpdateMenu(NSDeskClass& desk);
    bool sendPacketForDeskDetail(NSDeskClass& desk);
    bool sendPacketForLogin(int* code, NSUserClass& user);
    bool sendPacketForDeskState(bool offline);
    bool sendPacketForOpenDesk(NSDeskClass& desk);
    bool sendPacketForYuding(NSDeskClass& desk);     // "yudopen": a reserved desk opened
    bool sendPacketForYuDing(NSYuDingClass& reservation);  // "yudinfo": a reservation's details
    // A null tree is replaced by a new one, also when the exchange fails.
    bool sendPacketForTreeData(const std::string& listName, std::shared_ptr<NSATreeClass>& tree);
    bool sendPacketForRecord();  // receiveMessage becomes the text before "</morvane>"

    // ---- the reply readings alone, on a text already received (no exchange) ----
    static bool readUpdateMenu(const std::string& reply, NSDeskClass& desk);
    static bool readDeskDetail(const std::string& reply, NSDeskClass& desk);
    static bool readLogin(const std::string& reply, int* code, NSUserClass& user);
    static bool readOpenDesk(const std::string& reply, NSDeskClass& desk);
    static bool readYudingOpen(const std::string& reply, NSDeskClass& desk);
    static bool readYuDingInfo(const std::string& reply, NSYuDingClass& reservation);
    static bool readTreeData(const std::string& reply, NSATreeClass& tree);
    static std::string readRecord(const std::string& reply);

    // ---- state ----
    std::optional<std::string> sendMessage;   // the serialised request of the last exchange
    // The request document, built from the fields when it is first asked for after a change
    // (fillers change fields many times before one exchange); none for an unknown command.
    std::shared_ptr<GDataXMLDocument> document() const;
    // The request's bytes written straight from the fields, exactly as the document serialises
    // them; none when a text needs the XML library's own handling (not UTF-8, control
    // characters), and then the document is serialised instead.
    std::optional<std::string> directText() const;
    std::optional<std::string> receiveMessage;  // the last reply read; none after a failed read
    // The largest reply this request accepts; the forms set it for their kind.
    std::size_t replyLimit = kPlainReplyBytes;
    // Work that can go on while the server answers: run once, after the request is written and
    // before its reply is read.
    std::function<void()> whileWaiting;
    // Whether the reply must be a well-formed document: one that is not fails the attempt as a
    // lost reply does. Only the table text and the replies read as raw text are exempt.
    bool replyIsDocument = true;
    int type = 0;
    bool isUseIP2 = false;  // this packet talks to the second server address
    // A request that books, written without a whole reply coming back, leaves its desk in doubt
    // (noted in the hub, with the lines it carried and the desk's server lines before it). This
    // is that desk when the request's own desk field names something else (a join carries the
    // other desk's bill there); else that field's desk.
    std::optional<std::string> doubtfulDesk;
    // The other desk a join touches: it is left in doubt beside (a transfer's target is known
    // from the request itself).
    std::optional<std::string> partnerDesk;
    // A request that books is noted before it is written and the note withdrawn with its whole
    // reply. With this set, the note stays after the reply: the caller withdraws it
    // (NSServer::withdrawUnsureBooking) once the desk's file no longer offers what was accepted.
    bool keepsNoteOnReply = false;

private:
    // The request as plain values; the document is rebuilt from them after every change, so a
    // text always enters the tree literally.
    struct Field {
        std::string name;
        std::string text;
        std::vector<std::pair<std::string, std::string>> attributes;
        std::vector<Field> children;
    };

    bool connect();
    void serialise();
    // The exchange's last reply as a document (null unless the exchange answered YES with a
    // document reply); the forms read it instead of parsing the text again.
    std::shared_ptr<GDataXMLDocument> replyDocument_;
    // Reads a large reply without a tree instead, keeping what it needs; false when the text is no
    // document (the attempt then fails as a lost reply does). Set by the forms that use it.
    std::function<bool(const std::string&)> replyReader_;
    bool fileIsErrorReply(const std::string& bytes);
    void rebuild();
    std::shared_ptr<GDataXMLElement> data() const;
    Field* field(const std::string& name);
    bool setText(const std::string& name, const std::string& text);
    void setDeskFields(const NSDeskClass& desk);
    static std::shared_ptr<GDataXMLElement> makeElement(const Field& field);
    // Adds the field's element to the parent and its children to the copy that now stands in
    // the tree, so every node is copied once.
    static void appendField(const std::shared_ptr<GDataXMLElement>& parent, const Field& field);
    static Field xiaofmxField(const NSDishClass& line);
    // What the request would leave in doubt, gathered by the fillers as they write it.
    NSServer::UnsureBooking unsure_;
    void noteCarried(const NSDishClass& line);
    // The desk's bill, the waiter and the desk's server lines as last read.
    void noteDesk(const NSDeskClass& desk);
    // Notes the request's desks in the hub, before the request is written.
    void noteUnsure();
    // Its reply came whole, or it never reached the server: the desks are as before the note.
    void withdrawNote();
    std::vector<std::string> notedDesks_;  // the desks noteUnsure noted, until withdrawn

    // The desk a request is about ("" when it names none).
    std::string requestDeskID();

    std::string customWord_;  // the command word of a custom request
    std::vector<std::pair<std::string, std::string>> envelope_;
    std::vector<Field> fields_;
    bool hasDocument_ = false;
    mutable bool stale_ = true;
    mutable std::shared_ptr<GDataXMLDocument> sendDocument_;
    std::shared_ptr<NSTcpNet> sharedLink_;  // keeps the hub's link alive for the packet's life
    NSTcpNet* link_ = nullptr;
};
