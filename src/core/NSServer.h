#pragma once
// The state hub: every application-wide value lives here between screens, reached through class
// operations. The few instance operations (file operations, device preset, sounds) are stateless
// services called on a fresh object: `NSServer().playSound("SEND")`.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class NSDeskClass;
class NSUserClass;
class NSDishClass;
class NSATreeClass;
class NSCaipDBClass;
class NSCplbTreeClass;
class NSLangueManager;
class NSShopDBClass;
class NSTcpNet;
class SwitchViewController;
namespace ui { class Image; }

using NSDeskList = std::vector<std::shared_ptr<NSDeskClass>>;
using NSDishList = std::vector<std::shared_ptr<NSDishClass>>;

class NSServer {
public:
    // Text encodings the hub can be set to, by number; UTF-8 is the one in use.
    static constexpr unsigned kUTF8Encoding = 4;

    // ---- configuration values (Kovra.ini, but the port) ----
    static const std::string& getIp();
    static void setIP(const std::string& ip);  // non-empty: runs the device enrolment
    static const std::string& getIp2();
    static void setIP2(const std::string& ip);
    static int getPort();
    static void setPort(int port);
    // The port every start sets before the server address is applied: 7992, the back office's.
    // A shell may move it (a simulator listening on a port of its own).
    static int getStandardPort();
    static void setStandardPort(int port);
    static int getOutTime();
    static void setOutTime(int seconds);
    static bool isCaiph();
    static void setisCaiph(bool value);
    static bool isLongSocket();
    static void setIsLongSocket(bool value);
    static float getFMIDSTYLE();
    static void setFMIDSTYLE(float value);
    static float getFBIGSTYLE();
    static void setFBIGSTYLE(float value);
    static int getInterfaceType();
    static void setInterfaceType(int value);
    static bool getCanHeng();
    static void setCanHeng(bool value);
    static bool getIsShowTitleMoney();
    static void setIsShowTitleMoney(bool value);
    static const std::string& getSetDeskName();
    static void setSetDeskName(const std::string& value);
    static const std::string& getSetUserName();
    static void setSetUserName(const std::string& value);
    static const std::string& getSetUserPassword();
    static void setSetUserPassword(const std::string& value);

    // ---- run-time values ----
    static const std::string& getMacAdr();  // the device key; "null" before enrolment
    static void setMacAdr(const std::string& key);
    // The company number; "0" while none is set (a set "" stays "").
    static std::string getJtNO();
    static void setJtNO(const std::optional<std::string>& number);
    // The current desk: when none is held, the first offline desk, else a new empty desk that
    // joins the offline desks.
    static std::shared_ptr<NSDeskClass> getNowDesk();
    // Holds the desk; a desk with an id gets the unsent lines of its saved-order file.
    static void setNowDesk(std::shared_ptr<NSDeskClass> desk);
    static std::shared_ptr<NSUserClass> getNowUser();  // made on first use
    static void setNowUser(std::shared_ptr<NSUserClass> user);
    static std::shared_ptr<NSDeskList> getOutDesk();
    static void setOutDesk(std::shared_ptr<NSDeskList> desks);
    static std::shared_ptr<NSATreeClass> getDesks();
    static void setDesks(std::shared_ptr<NSATreeClass> desks);
    static std::shared_ptr<NSCaipDBClass> getCaipDB();
    static void setCaipDB(std::shared_ptr<NSCaipDBClass> db);
    static std::shared_ptr<NSCplbTreeClass> getUseCplbTree();
    static void setUseCplbTree(std::shared_ptr<NSCplbTreeClass> tree);
    static const std::string& getCopyDeskId();
    static void setCopyDeskId(const std::string& id);
    static std::shared_ptr<NSDishList> getRubbishs();   // made on first use, then the same list
    static std::shared_ptr<NSDishList> getCaipCopys();  // made on first use, then the same list
    static std::shared_ptr<NSLangueManager> getLangueManager();  // made (and loaded) on first use
    static void setLangueManager(std::shared_ptr<NSLangueManager> manager);
    // ---- bookings in doubt ----
    // A request that books on a desk (an order, a return, a gift, a desk operation) is noted here
    // before it is written, and the note is withdrawn when its whole reply came back (or it never
    // reached the server). A note that outlives its request means no whole reply came: the server
    // may have booked it or not. The doubt belongs to the lines the request carried and to the
    // desks it touched, and it is kept on disk ("DOUBTS.XML" in the data folder) until the
    // server's own lines settle it, so that neither a re-pick of the desk, nor a restart, nor a
    // kill while the request waits can book those lines a second time.
    struct UnsureLine {
        std::string uid;     // the line number it went with
        std::string caipID;  // the dish
        float quantity = 0;  // as written; negative for a return
        std::string kouw;    // the taste and cooking-method ids as written
        std::string xfmxID;  // the server line a return names
        // Read back without the server showing it booked: the waiter decides whether it goes.
        bool waiting = false;
        std::string consumeID;  // the bill it went on
    };
    struct UnsureBooking {
        // The request whose reply never came, until a read of the desk has weighed it; empty
        // while only lines wait for the waiter's decision.
        std::string command;
        std::string consumeID;  // the desk's bill when it was written
        std::string waiterID;   // the waiter it named; the server's lines carry it back
        // A transfer's target: when the bill has left this desk, it went there.
        std::string otherDesk, otherName, otherArea;
        std::map<std::string, float> serverLines;  // the desk's server lines before it: id -> quantity
        std::vector<UnsureLine> lines;              // the lines it carried, and those still waiting
        bool needsRead() const { return !command.empty(); }
    };
    // What reading a desk in doubt showed (settleUnsureBooking).
    struct UnsureSettle {
        enum Kind {
            kNone,       // the desk was not in doubt, or only lines wait that this read cannot settle
            kBooked,     // the server holds the lines of the request: `lines` unsent lines dropped
            kUnsettled,  // the server does not show them all: `lines` lines now wait for the waiter
            kChecked,    // a desk operation: the read shows the desk as the server holds it
            kMoved,      // a transfer happened: the bill is on `otherDesk` now (still in doubt
                         // until the bill is found there, followUnsureBill)
        } kind = kNone;
        int lines = 0;
        // kMoved: where the bill went, and what it was (its id, its server lines) to know it there.
        std::string otherDesk, otherName, otherArea;
        std::string consumeID;
        std::vector<std::string> lineIDs;
    };
    // Notes a request for a desk (an empty id is not noted) before it is written. Lines that
    // already wait for the waiter stay; the request's own lines join them. The note is made
    // durable on a thread of its own: awaitUnsureNote before the request goes out.
    static void noteUnsureBooking(const std::string& deskID, UnsureBooking booking);
    // Returns once the notes made so far, and the files written with them, are on the disk.
    static void awaitUnsureNote();
    // The file is written in the same flush as the next note, before it; at the latest when any
    // file of the saved orders or the doubts is written next.
    static void writeWithNextNote(std::string path, std::string text);
    // The request noted last for the desk got its whole reply, or never reached the server: the
    // desk is as it was before the note. The caller has saved what the reply changed first.
    static void withdrawUnsureBooking(const std::string& deskID);
    static const UnsureBooking* getUnsureBooking(const std::string& deskID);  // null while not in doubt
    static bool needsUnsureRead(const std::string& deskID);  // a request in doubt awaits a read
    static void clearUnsureBooking(const std::string& deskID);
    // After the desk's server lines were read (with its unsent lines beside them): weighs the
    // request in doubt against the lines that are new on the server since it was written. Only
    // evidence settles it: each carried line must match a new server line one for one (dish,
    // quantity, tastes and cooking methods, and the waiter the server names), or a return must
    // show as exactly its fall of its line. Anything short of that leaves the unsent lines
    // waiting for the waiter; nothing is dropped on a guess. When the doubt changed, `saveDesk`
    // runs before the doubt's file is written: a settled line never comes back as unsent.
    static UnsureSettle settleUnsureBooking(NSDeskClass& desk, const std::function<void()>& saveDesk = {});
    // After kMoved, the desk the bill went to was read (`there`, its server lines): when it holds
    // the bill, `desk` becomes that desk, with its server lines, its own saved unsent lines and,
    // beside them, the unsent and waiting lines of the desk the bill left, which keeps nothing;
    // both files are written before the doubt ends (the target's own doubt, if any, is for a read
    // of it to settle). When it does not, the transfer's doubt just ends. Answers whether the bill
    // was followed.
    static bool followUnsureBill(NSDeskClass& desk, const NSDeskClass& there, const UnsureSettle& moved);
    // The desk's unsent lines that may already be on the server.
    static std::vector<std::shared_ptr<NSDishClass>> unsureLines(const NSDeskClass& desk);
    static bool isUnsureLine(const NSDeskClass& desk, const NSDishClass& line);
    // The noted line an unsent line of the desk stands for; null when it is not in doubt.
    static const UnsureLine* unsureLineOf(const NSDeskClass& desk, const NSDishClass& line);
    // The waiter decided: these lines go (or went away) as plain unsent lines.
    static void releaseUnsureLines(const NSDeskClass& desk, const std::vector<std::shared_ptr<NSDishClass>>& lines);
    // The highest line number any noted request carried on this device (-1 before the first):
    // a number that went out is never handed out again, even when the server never saw it.
    static int lastUnsureLineNumber();
    // Drops what is held in memory; the next use reads the file of the data folder again.
    static void forgetUnsureBookings();
    static std::shared_ptr<NSTcpNet> getTcp();
    static void setTcp(std::shared_ptr<NSTcpNet> tcp);
    // Held without ownership: the application delegate owns the root controller.
    static std::shared_ptr<SwitchViewController> getRootController();
    static void setRootController(const std::shared_ptr<SwitchViewController>& root);
    // The online store, made on first use and kept for the whole run (releaseStatic leaves it).
    static std::shared_ptr<NSShopDBClass> getShopDB();
    static void setShopDB(std::shared_ptr<NSShopDBClass> db);
    static const std::string& getWelShowFormName();
    static void setWelShowFormName(const std::string& name);

    // ---- folders and encoding ----
    static const std::string& getDocPath();
    static void setDocPath(const std::string& path);
    static const std::string& getTemPath();
    static void setTemPath(const std::string& path);
    static const std::string& getDataPath();
    static void setDataPath(const std::string& path);
    static const std::string& getCaippicPath();
    static void setCaippicPath(const std::string& path);
    static const std::string& getSkinsPath();
    static void setSkinsPath(const std::string& path);
    static const std::string& getMediaPath();
    static void setMediaPath(const std::string& path);
    static const std::string& getShopPath();
    static void setShopPath(const std::string& path);
    static unsigned getEnc();
    static void setEnc(unsigned encoding);

    // ---- flags ----
    static bool getIsShowAlert();
    static void setIsShowAlert(bool value);
    static bool isWaiterUser();
    static void setIsWaiterUser(bool value);
    static bool isSendClose();
    static void setIsSendClose(bool value);
    static bool isSend();  // always YES; the stored value is never read
    static void setIsSend(bool value);
    static bool getIsHengB();
    static void setIsHengB(bool value);
    static bool isMustShu();
    static void setMustShu(bool value);  // YES clears mustHeng
    static bool isMustHeng();
    static void setMustHeng(bool value);  // YES clears mustShu
    static bool getCanR();
    static void setCanR(bool value);

    // ---- lifecycle and diagnostics ----
    static void releaseStatic();
    static void saveDebugLog(const std::string& text);
    static double usedMemory();  // resident memory in MB
    // Back to the state before start-up (for a fresh start in the same process).
    static void resetForTesting();

    // The device enrolment that setIP: runs; the server client installs it.
    static void setEnrolmentHook(std::function<void()> hook);

    // ---- configuration, folders, device preset ----
    static void loadEnc();
    static void loadPath();
    static void loadIni();
    static void writeINI();
    static void createDir();
    bool loadCaipu();

    // ---- device key ----
    static void loadMacAdr();

    // ---- saved orders ----
    // Appends the unsent lines of the current desk's saved-order file to it.
    static void loadNowDesk();

    // ---- enciphered and plain files ----
    // Base64-decoded then deciphered with the key (the device key when none); empty when the file
    // is missing or not Base64.
    std::string stringDataReadFromFile(const std::string& path,
                                       const std::optional<std::string>& key = std::nullopt);
    // Enciphered with the key, Base64-encoded, written atomically. Empty data writes nothing: NO.
    bool stringDataWriteToFile(const std::string& path, const std::optional<std::string>& key,
                               const std::string& data);
    bool stringWriterToFile(const std::string& path, const std::string& text);
    bool dataWriterToFile(const std::string& path, const std::string& data);
    // The bytes of a dish picture with its enciphered head deciphered (empty when missing).
    std::string readCaipImageData(const std::string& path);
    // The dish picture decoded, or none when it is missing or damaged.
    std::shared_ptr<ui::Image> readCaipImage(const std::string& path);
    // Whether the dish picture's head, deciphered with the device key held now, starts like a
    // picture (BMP, PNG or JPEG). One stored under another key (before an enrolment changed the
    // key) does not, and would draw nothing.
    bool isCaipImageReadable(const std::string& path, const std::optional<std::string>& key = std::nullopt);
    // After the device key changed (the device enrolled), the table files of the data folder and
    // the dish pictures that read under `oldKey` are written again under the key held now, so
    // the menu already on the device stays readable. Files that do not read under the old key
    // are left as they are. Answers how many files were taken over.
    int reencipherStoredFiles(const std::string& oldKey);

    // ---- small services ----
    bool playSound(const std::string& name);
    // Distance in km between two positions in degrees.
    static double D_jw(double lat1, double lng1, double lat2, double lng2);

    // ---- order model ----
    // Replaces the menu database by a new one loaded from the menu data files (the demo menu
    // without a category file), then applies the device preset.
    static void loadCaipXml();

    // ---- desks and saved orders ----
    // Saves the current desk: an offline desk (id "") rewrites the offline file, any other desk
    // its own desk file.
    static void saveSelectDish0();
    // Writes the current desk's file: its unsent lines only.
    static void saveNowDesk();
    // Writes the given desk's file, named after its id.
    static void saveSelectDish1(const std::shared_ptr<NSDeskClass>& desk);
    // The current desk's bill went to `target` (a transfer): the current desk takes the target's
    // id, name and area with its unsent lines, and the target's saved lines are kept under the
    // desk the bill left.
    static void moveNowDesk(const NSDeskClass& target);
    // The text the desk's own file would hold now (its unsent lines); none for a desk whose id
    // cannot name a file.
    static std::optional<std::string> deskFileText(const NSDeskClass& desk);
    // Writes that text as the desk's own file; false when it could not be written. Not durable:
    // for a save that a durable note of the same change already covers.
    static bool writeDeskFileText(const NSDeskClass& desk, const std::string& text, bool durable = true);
    // The desk's own file written with the next note, before it (writeWithNextNote): the numbers
    // its lines go with are on the disk when the request naming them goes out.
    static void saveDeskWithNextNote(const NSDeskClass& desk);
    // Writes every offline desk, with all its lines, to the offline file.
    static void saveOutDesk();
    // Appends the lines of the given desk's file to it.
    static void loadSelectDish(const std::shared_ptr<NSDeskClass>& desk);
    static void loadSelectDish(NSDeskClass& desk);
    // Replaces the offline desks by those of the offline file (none without it).
    static void loadOutDesk();
    // Removes the desk file of that id.
    static void delSaveDish(const std::string& deskID);
    // Whether a desk id may name a file of the data folder: ids that could leave the folder,
    // take the offline file's name or be too long for a file name are never used as file names.
    static bool isSafeDeskFileName(const std::string& deskID);
    // The largest saved-order file that is read; a server's copy larger than this is refused.
    static constexpr std::size_t kMaxSavedOrderBytes = 16u << 20;
    // Rebuilds the desk tree from the room and desk files, with the desk states of a desk-state
    // reply when one is given, and the offline section when asked for with a reply.
    static void loadDesks(const std::optional<std::string>& reply, bool offline);

    // ---- server operations ----
    // Each sends one request to the back office on a fresh object (`NSServer().XCall()`), blocks
    // until its exchange has ended, and reports its own failures through the root's services.
    // Waiter, desk and bill of a request are the logged-in user and the current desk unless an
    // argument names another desk.
    bool XCall();
    bool clearDesk();
    bool changeDesk(const std::string& guests, const std::string& waiter, const std::string& remark);
    bool setDeskPeoples(int guests);
    bool XDeskChange(const NSDeskClass& target);
    // Stores the server's saved-order document of the current desk as its desk file.
    bool readipad();
    bool DownloadDeskState(bool offline);
    // The discount text between <html> and </html>; none when the exchange fails.
    std::optional<std::string> getNowRebate(const std::optional<std::string>& code, float amount);
    bool getRebate();
    // An order and a return are noted in doubt before they go and stay noted after their reply:
    // the caller saves the desk without the accepted lines, then withdrawUnsureBooking.
    bool addDish(const NSDeskClass& desk);
    bool XHastenDish(const NSDishClass& line, const std::string& waiterID, const std::string& type,
                     const std::string& msg);
    bool XYuDingInfo(const NSDeskClass& desk, class NSYuDingClass& reservation);
    // The server's result code (0 accepted); -1 when nothing usable came back.
    int login(NSUserClass& user);
    bool XPrint();
    bool XPrint2();
    // `whileWaiting` runs once while the server answers, if the request got written.
    bool XRefreshDishList(NSDeskClass& desk, std::function<void()> whileWaiting = {});
    bool XDeskDetail(NSDeskClass& desk);
    // How a desk is read: the order list's refresh ("updatemenu") or the detail ("deskdetail") of
    // a desk holding its unsent lines; or the detail of a desk being opened, whose saved unsent
    // lines then join the server's from its file.
    enum class DeskRead { kRefresh, kDetail, kOpen };
    // Reads the desk, with its unsent lines in it, and does all a read of a desk in doubt asks
    // for: settles the doubt, follows a bill a transfer took (the desk then stands for the
    // target), saves the desk's file before the doubt's, and tells the waiter once what it found:
    // as an alert, or on the message panel when the tap goes on to a question (`quietly`).
    // Every read of a desk goes through it. Answers whether the desk was read (not when the bill
    // left it for a desk that cannot be read now: the doubt stays); `settled` gets what the read
    // settled.
    // `whileWaiting` runs once while the server answers a refresh, if its request got written.
    bool readDesk(NSDeskClass& desk, DeskRead how, bool quietly = false, UnsureSettle* settled = nullptr,
                  std::function<void()> whileWaiting = {});
    bool OpenDesk(NSDeskClass& desk);
    bool OpenYudingDesk(const class NSYuDingClass& reservation);
    bool XDelDish(const NSDeskClass& desk);
    bool XModifyDishQty(const NSDishClass& line, const NSDeskClass& desk, const std::string& quantity);
    // The device enrolment: obtains the device key into mac.dat unless one is stored.
    bool loadMacFormServer();
    // Local: removes that very line object from the current desk and saves the desk.
    bool deleteCaip(const std::shared_ptr<NSDishClass>& line);
    // The device's up IPv4 addresses but the first found, each followed by ",".
    std::string deviceIPAdress();
    bool selectCaip(const void* object);  // answers NO
    bool messageIsError(const std::optional<std::string>& text);
    static void InitAddresses();
    static void GetIPAddresses();

    // ---- synchronisation ----
    // The menu tables, special lists and dish pictures, then the menu database reloaded.
    bool ayncCaip(const void* sender = nullptr);
    bool ayncPic(const void* sender = nullptr);
    // The skin files, then the videos.
    bool updateSys(const void* sender = nullptr);
    // The menu synchronisation with the screen kept awake.
    bool downloadCSH();

    // The screen announcement: one UDP datagram "<key:desk:param>" in GB18030 to the first server
    // address and port, queued on the main run loop and forgotten. No desk id, no announcement.
    static void sendTV(const std::string& key, const std::optional<std::string>& deskID,
                       const std::optional<std::string>& param);
};
