// The synchronisation: menu tables, special lists, dish pictures, skins and videos copied from the
// back office into the local folders, and the demo-data download.

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "GData/GDataXML.h"
#include "base64/GTMBase64.h"
#include "core/NSEncDec.h"
#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "net/NSTcpPacket.h"
#include "net/RootServices.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Text.h"

namespace {

struct TableStep {
    const char* table;
    std::vector<const char*> fields;
    const char* progress;
    const char* file;
};

const std::vector<TableStep>& tableSteps() {
    static const std::vector<TableStep> steps = {
        {"yonghxx", {"yonghxx_yhm", "yonghxx_qm", "yonghxx_mm"}, "正在更新用户数据...", "yonghxx.dat"},
        {"caip",
         {"cp_id", "cp_code", "cp_qcode", "cp_name", "cp_size", "cp_unit", "cp_price", "cp_cate",
          "cp_var", "cp_mzuof", "cp_azuof"},
         "正在更新菜品数据...", "caip.dat"},
        {"stCategory", {"uid", "ctname", "ctparentid", "ctorder"}, "正在更新类别数据...", "stCategory.dat"},
        {"ssdept", {"uid", "dptName"}, "正在更新房间信息...", "ssdept.dat"},
        {"tuidyy", {"tuidyy_id", "tuidyy_neir"}, "正在更新退单原因...", "tuidyy.dat"},
        {"zuot", {"zuot_id", "zuot_mingc", "ZUOT_CANTID", "zuot_maxrs"}, "正在更新桌台数据...", "zuot.dat"},
        {"zuotzt", {"zuotzt_id", "zuotzt_mingc", "zuotzt_color"}, "正在更新菜品数据...", "zuotzt.dat"},
        {"caipu", {"caipu_id", "caipu_mingc"}, "正在更新菜谱列表...", "caipu.dat"},
        {"stBom", {"BmPuid", "BmCuid", "BmQty", "BmType", "BmShl"}, "正在更新套餐列表...", "stBom.dat"},
        {"stUnits", {"*"}, "正在更新多单位列表...", "stUnits.dat"},
        {"kouw", {"kouw_id", "kouw_neir", "kouw_bz"}, "正在更新口味做法...", "kouw.dat"},
    };
    return steps;
}

void progress(const std::string& text) { rootServices().showAyncStyle(text); }

std::string dataFile(const char* name) { return platform::fmt("%@/%@", NSServer::getDataPath(), name); }

// A table text replaces its file only when the menu could read it back: Base64 of a document
// enciphered with our key, with its root and data. Anything else would empty the table.
bool isTableText(const std::string& text) {
    auto bytes = GTMBase64::decodeData(text);
    if (!bytes) return false;
    auto document = GDataXMLDocument::initWithDataOptionsError(NSEncDec().Encrypt(*bytes, NSServer::getMacAdr()),
                                                               0, nullptr);
    return document && firstElement(document->rootElement(), "data");
}

// Files that are never fetched, whatever the server lists.
bool isExcludedName(const std::string& upperName) {
    for (const char* ext : {".DB", ".EXE", ".BAK"})
        if (upperName.find(ext) != std::string::npos) return true;
    return false;
}

// Names of the pictures the dish screens draw; their heads are enciphered with the device key.
bool isPictureName(const std::string& upperName) {
    for (const char* ext : {".BMP", ".PNG", ".JPG", ".JPEG"}) {
        const std::string_view e(ext);
        if (upperName.size() > e.size() && upperName.compare(upperName.size() - e.size(), e.size(), e) == 0)
            return true;
    }
    return false;
}

long long indexStamp(const platform::PlistValue& value) {
    if (auto s = value.string()) return platform::leadingLongLong(*s);
    if (auto i = std::get_if<long long>(&value.v)) return *i;
    return 0;
}

// The picture index of a run: absent when its file could not be read as a dictionary (nothing
// is skipped by it nor recorded in it), new when there was no file.
struct PictureIndex {
    std::optional<platform::PlistDict> dict;
    bool isNew = false;
    std::string path;

    void load() {
        if (!platform::fs::exists(path)) {
            dict = platform::PlistDict();
            isNew = true;
        } else {
            dict = platform::readPlistDictFile(path);
            isNew = false;
        }
    }
};

struct FileListRun {
    const char* list;       // "picdir", "skindir", "mediadir"
    const char* kind;       // getfile kind
    std::string folder;
    const char* indexName;  // picture index file in the folder
    const char* rowProgress;
    bool indexPerRow;       // the index is read anew before every fetched row
    bool dishPictures;      // its pictures are stored with their heads enciphered
};

// Fetches the listed files that are new or changed into the folder, recording each in the index.
bool downloadList(const FileListRun& run) {
    std::shared_ptr<NSATreeClass> tree = std::make_shared<NSATreeClass>();
    auto listPacket = NSTcpPacket::initWithType(NSTcpPacket::kTreeData);
    if (!listPacket->sendPacketForTreeData(run.list, tree)) return false;
    auto filePacket = NSTcpPacket::initWithType(NSTcpPacket::kGetFile);

    // The files and their index are written quickly one by one and reach the disk together when
    // the run ends, however it ends.
    struct FlushAtEnd {
        const std::string& folder;
        ~FlushAtEnd() { platform::fs::flushFileSystemOf(folder); }
    } flush{run.folder};

    PictureIndex index;
    index.path = platform::fmt("%@/%@", run.folder, run.indexName);
    if (!run.indexPerRow) index.load();

    const int nodes = tree->m_length;
    for (int i = 1; i < nodes && i < static_cast<int>(tree->m_name.size()); ++i) {
        const std::string& listed = tree->m_name[i];
        std::string name = platform::toUpper(listed);
        // A name that could leave the folder, or that the file system would refuse, is skipped.
        if (!platform::fs::isStorableFileName(name)) continue;
        std::string path = platform::fmt("%@/%@", run.folder, name);
        long long stamp = i < static_cast<int>(tree->m_state.size())
                              ? platform::leadingLongLong(tree->m_state[i]) : 0;
        long long size = i < static_cast<int>(tree->m_code.size())
                             ? platform::leadingLongLong(tree->m_code[i]) : 0;
        if (size <= 0 || isExcludedName(name)) continue;
        if (run.indexPerRow) index.load();
        if (index.dict && !index.isNew) {
            auto it = index.dict->find(name);
            // A dish picture stored under another device key (the demo data's, before the device
            // enrolled) is fetched again: the index cannot tell, and the screens would draw nothing.
            if (it != index.dict->end() && std::llabs(indexStamp(it->second) - stamp) < 10 &&
                platform::fs::exists(path) &&
                (!run.dishPictures || !isPictureName(name) || NSServer().isCaipImageReadable(path)))
                continue;
        }
        progress(platform::fmt(run.rowProgress, i, nodes, name));
        std::optional<std::string> bytes;
        if (!filePacket->sendPacketForGetFile(name, size, run.kind, bytes) || !bytes) return false;
        // A reply may run past the announced size; only the file itself is stored.
        if (static_cast<long long>(bytes->size()) < size) return false;
        bytes->resize(static_cast<std::size_t>(size));
        if (!NSServer().dataWriterToFile(path, *bytes)) return false;
        if (index.dict) {
            (*index.dict)[name] = platform::fmt("%i", stamp);
            // The record makes a broken run resume at the first missing file; a failed write of
            // it costs only a second download.
            platform::writePlistDictFile(index.path, *index.dict, platform::fs::Durability::Quick);
        }
    }
    return true;
}

bool downloadSpecialList(const char* name, const char* file) {
    std::shared_ptr<NSATreeClass> tree = std::make_shared<NSATreeClass>();
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kTreeData);
    if (!packet->sendPacketForTreeData(name, tree) || !packet->receiveMessage) return false;
    return NSServer().stringWriterToFile(dataFile(file), *packet->receiveMessage);
}

}  // namespace

bool NSServer::ayncCaip(const void*) {
    createDir();
    auto query = NSTcpPacket::initWithType(NSTcpPacket::kQuery);
    for (const auto& step : tableSteps()) {
        progress(step.progress);
        query->reset();
        if (!query->setTableName(step.table)) return false;
        for (const char* field : step.fields)
            if (!query->addFieldName(field)) return false;
        if (!query->sendPacketForRecord() || !query->receiveMessage) return false;
        if (!isTableText(*query->receiveMessage)) return false;
        if (!stringWriterToFile(dataFile(step.file), *query->receiveMessage)) return false;
    }
    if (!downloadSpecialList("Dailynew", "Dailynew.dat")) return false;
    if (!downloadSpecialList("Recommend", "Recommend.dat")) return false;
    bool pictures = ayncPic(nullptr);
    // The tables are all new by now: the menu follows them even when a picture failed.
    loadCaipXml();
    return pictures;
}

bool NSServer::ayncPic(const void*) {
    progress("正在获取图片信息...");
    return downloadList({"picdir", "bmp", getCaippicPath(), "caippic.dat",
                         "正在更新图片(%i/%i)\r\n%@", false, true});
}

bool NSServer::updateSys(const void*) {
    createDir();
    progress("正在获取皮肤数据...");
    if (!downloadList({"skindir", "png", getSkinsPath(), "skins.dat",
                       "正在更新文件(%i/%i)\r\n%@", false, false}))
        return false;
    progress("正在获取视频数据...");
    return downloadList({"mediadir", "mpg", getMediaPath(), "media.dat",
                         "正在更新文件(%i/%i)\r\n%@", true, false});
}

bool NSServer::downloadCSH() {
    rootServices().setIdleTimerDisabled(true);
    bool ok = ayncCaip(nullptr);
    rootServices().setIdleTimerDisabled(false);
    return ok;
}
