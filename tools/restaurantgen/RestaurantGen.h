#pragma once
// A synthetic restaurant for load benchmarks and manual runs: N dishes with categories (two
// levels), tastes and cooking methods, units, set meals, users, reasons, rooms and desks, written
// into a data folder as the synchronisation stores them (each table's reply document enciphered
// with the device key, Base64 text). Deterministic for a given seed. Header-only so that the
// benchmarks can build the same restaurant without running the tool.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/NSServer.h"
#include "platform/foundation/Text.h"

namespace restaurantgen {

struct Options {
    int dishes = 5000;
    std::uint32_t seed = 1;
    std::string key = "null";  // the device key the files are enciphered with
};

// The table documents by file name, deciphered (what the terminal parses after reading).
using Tables = std::map<std::string, std::string>;

namespace detail {

class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed ? seed : 1) {}
    std::uint32_t next() {  // xorshift32: fast and the same everywhere
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int below(int n) { return n > 0 ? static_cast<int>(next() % static_cast<std::uint32_t>(n)) : 0; }

private:
    std::uint32_t state_;
};

struct Syllable {
    const char* hanzi;
    char initial;
};

inline const std::vector<Syllable>& syllables() {
    static const std::vector<Syllable> s = {
        {"红", 'H'}, {"烧", 'S'}, {"清", 'Q'}, {"蒸", 'Z'}, {"鱼", 'Y'}, {"肉", 'R'}, {"鸡", 'J'}, {"鸭", 'Y'},
        {"牛", 'N'}, {"羊", 'Y'}, {"虾", 'X'}, {"蟹", 'X'}, {"豆", 'D'}, {"腐", 'F'}, {"菜", 'C'}, {"汤", 'T'},
        {"炒", 'C'}, {"炖", 'D'}, {"香", 'X'}, {"辣", 'L'}, {"酸", 'S'}, {"甜", 'T'}, {"麻", 'M'}, {"白", 'B'},
        {"黄", 'H'}, {"金", 'J'}, {"银", 'Y'}, {"龙", 'L'}, {"凤", 'F'}, {"海", 'H'}, {"山", 'S'}, {"田", 'T'},
    };
    return s;
}

// A name of 2 to 5 syllables and its quick code (the upper-case initials).
inline void dishName(Random& r, std::string& name, std::string& code) {
    name.clear();
    code.clear();
    const int n = 2 + r.below(4);
    for (int i = 0; i < n; ++i) {
        const Syllable& s = syllables()[r.below(static_cast<int>(syllables().size()))];
        name += s.hanzi;
        code += s.initial;
    }
}

class Table {
public:
    explicit Table(const char* rowName) : row_(rowName) {
        text_ = "<?xml version=\"1.0\" encoding=\"GBK\"?><morvane><data>";
    }
    Table& row() {
        if (open_) text_ += "/>";
        text_ += "<";
        text_ += row_;
        open_ = true;
        return *this;
    }
    Table& f(int n, const std::string& value) {
        text_ += platform::fmt(" f%i=\"", n) + platform::escapeXml(value, true);
        text_ += "\"";
        return *this;
    }
    std::string finish() {
        if (open_) text_ += "/>";
        open_ = false;
        return text_ + "</data></morvane>";
    }

private:
    const char* row_;
    std::string text_;
    bool open_ = false;
};

}  // namespace detail

// The restaurant's table documents.
inline Tables makeTables(const Options& o) {
    using detail::Table;
    detail::Random r(o.seed);
    Tables tables;
    const int dishes = o.dishes > 0 ? o.dishes : 0;

    // Categories: a top level with four second-level categories each, about 40 dishes a category.
    const int tops = dishes / 200 + 2;
    std::vector<std::string> categoryIDs;
    Table category("record");
    for (int t = 0; t < tops; ++t) {
        const std::string top = platform::fmt("%06i", t * 10 + 1);
        category.row().f(1, top).f(2, platform::fmt("类别%i", t + 1)).f(3, top).f(4, platform::fmt("%03i", t));
        categoryIDs.push_back(top);
        for (int s = 1; s <= 4; ++s) {
            const std::string sub = platform::fmt("%06i", t * 10 + 1 + s);
            category.row().f(1, sub).f(2, platform::fmt("类别%i-%i", t + 1, s)).f(3, top).f(4, platform::fmt("%03i", s));
            categoryIDs.push_back(sub);
        }
    }
    tables["stCategory.dat"] = category.finish();

    // Tastes: ten taste categories of five tastes, and twenty cooking methods.
    Table kouw("record");
    for (int c = 0; c < 10; ++c) {
        const std::string cat = platform::fmt("%i", 100 + c * 10);
        kouw.row().f(1, cat).f(2, platform::fmt("口味类%i", c + 1)).f(3, "0").f(4, cat);
        for (int t = 1; t <= 5; ++t)
            kouw.row().f(1, platform::fmt("%i", 100 + c * 10 + t)).f(2, platform::fmt("口味%i-%i", c + 1, t)).f(3, "0").f(4, cat);
    }
    for (int m = 0; m < 20; ++m) kouw.row().f(1, platform::fmt("%05i", m + 1)).f(2, platform::fmt("做法%i", m + 1)).f(3, "1");
    tables["kouw.dat"] = kouw.finish();

    static const char* units[] = {"份", "例", "斤", "只", "碗", "瓶", "盘"};
    Table caip("row");
    Table bom("record");
    Table alt("record");
    std::string name, code;
    for (int i = 0; i < dishes; ++i) {
        const std::string id = platform::fmt("%i", 100000 + i);
        detail::dishName(r, name, code);
        const bool set = i % 100 == 99;
        const int flags = (set ? 0x01 : 0) | (r.below(20) == 0 ? 0x08 : 0) | (r.below(10) == 0 ? 0x04 : 0) | 0x40;
        std::string methods, surcharges;
        for (int m = r.below(4); m > 0; --m) {
            methods += platform::fmt("%05i,", 1 + r.below(20));
            surcharges += platform::fmt("%s%i;0", surcharges.empty() ? "" : ",", r.below(5));
        }
        caip.row()
            .f(1, id).f(2, platform::fmt("C%i", i)).f(3, code).f(4, name).f(5, "")
            .f(6, units[r.below(7)]).f(7, platform::fmt("%i", 8 + r.below(200)))
            .f(8, categoryIDs[static_cast<size_t>(r.below(static_cast<int>(categoryIDs.size())))])
            .f(9, r.below(50) == 0 ? "1" : "0").f(10, r.below(2) ? "1" : "0").f(11, methods)
            .f(12, platform::fmt("%i", flags)).f(13, surcharges).f(14, platform::fmt("%i", 3 + r.below(50)))
            .f(15, "60").f(16, code).f(17, "");
        if (set) {
            // Three groups: one fixed item, a choice of two among four, and an optional drink.
            const int base = 100000 + (i / 100) * 100;
            bom.row().f(1, id).f(2, platform::fmt("%i", base)).f(3, "1").f(4, "0").f(5, "1").f(6, "主菜");
            bom.row().f(1, id).f(2, platform::fmt("%i,1;%i,1;%i,1;%i,1", base + 1, base + 2, base + 3, base + 4))
                .f(3, "2").f(4, "0").f(5, "1").f(6, "配菜");
            bom.row().f(1, id).f(2, platform::fmt("%i,1;%i,1", base + 5, base + 6)).f(3, "1").f(4, "0").f(5, "1");
        }
        if (i % 10 == 0)
            alt.row().f(1, platform::fmt("%i", i)).f(2, "半份").f(3, id).f(4, platform::fmt("%i", 5 + r.below(100)));
    }
    tables["caip.dat"] = caip.finish();
    tables["stBom.dat"] = bom.finish();
    tables["stUnits.dat"] = alt.finish();

    Table users("record");
    for (int u = 0; u < 60; ++u)
        users.row().f(1, platform::fmt("%04i", u + 1)).f(2, platform::fmt("服务员%i", u + 1)).f(3, "服务员").f(4, "1");
    tables["yonghxx.dat"] = users.finish();

    Table reasons("record");
    static const char* kinds[] = {"01", "02", "03"};
    for (int k = 0; k < 24; ++k)
        reasons.row().f(1, platform::fmt("%02i", k + 1)).f(2, platform::fmt("原因%i", k + 1)).f(3, kinds[k % 3]);
    tables["tuidyy.dat"] = reasons.finish();

    // A floor of about one desk for every 25 dishes, twenty desks a room.
    const int desks = dishes / 25 + 10;
    Table rooms("record");
    Table zuot("record");
    for (int d = 0; d < desks; ++d) {
        const std::string room = platform::fmt("R%03i", d / 20);
        if (d % 20 == 0) rooms.row().f(1, room).f(2, platform::fmt("%i楼", d / 20 + 1));
        zuot.row().f(1, platform::fmt("%08i", d + 1)).f(2, platform::fmt("%i号桌", d + 1)).f(3, room)
            .f(4, platform::fmt("%i", 4 + r.below(9)));
    }
    tables["ssdept.dat"] = rooms.finish();
    tables["zuot.dat"] = zuot.finish();
    return tables;
}

// Writes every table into the folder; NO when a file cannot be written.
inline bool writeTables(const Tables& tables, const std::string& folder, const std::string& key) {
    for (const auto& [file, text] : tables)
        if (!NSServer().stringDataWriteToFile(folder + "/" + file, key, text)) return false;
    return true;
}

}  // namespace restaurantgen
