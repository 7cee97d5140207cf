#include "SkinGen.h"

#include <algorithm>
#include <functional>

#include "Draw.h"
#include "Pictures.h"
#include "base64/GTMBase64.h"
#include "core/NSEncDec.h"
#include "platform/foundation/Text.h"
#include "screens/skin/SkinLayout.h"

namespace skingen {
namespace {

using artgen::Rgb;
namespace pal = artgen::palette;

constexpr size_t kMaxCategories = 3;

struct Box {
    int x1, y1, x2, y2;
    int w() const { return x2 - x1; }
    int h() const { return y2 - y1; }
};

std::string rectText(const Box& b) { return platform::fmt("%i,%i,%i,%i", b.x1, b.y1, b.x2, b.y2); }

std::string esc(const std::string& text) { return platform::escapeXml(text, true); }

// A main-form button: face picture, pressed picture, action text.
struct ButtonSpec {
    std::string picture;  // base name; "_D" marks the pressed one
    std::string title;
    std::string func;
    Box box;
    Rgb face;
    Rgb pressed;
};

// The slot cell of column c, row r on a category form.
Box slotCell(int c, int r) {
    const int x = 34 + c * 360, y = 150 + r * 250;
    return {x, y, x + 340, y + 230};
}

std::vector<ButtonSpec> mainButtons(const std::vector<Category>& categories, const std::string& featured,
                                    const std::string& video) {
    std::vector<ButtonSpec> buttons;
    auto at = [](int column, int row) {
        const int x = 84 + column * 310, y = 220 + row * 130;
        return Box{x, y, x + 290, y + 110};
    };
    buttons.push_back({"MENU", "全部菜单", "Run", at(0, 0), pal::brand, pal::brandDark});
    buttons.push_back({"LIST", "已点菜单", "CheckList", at(1, 0), pal::green, pal::greenDark});
    for (size_t i = 0; i < categories.size(); ++i)
        buttons.push_back({platform::fmt("OPEN%i", static_cast<int>(i) + 2), categories[i].name,
                           platform::fmt("Open(Form%i)", static_cast<int>(i) + 2),
                           at(static_cast<int>(i % 2), 1 + static_cast<int>(i / 2)), pal::blue, pal::slateDark});
    const int row = 1 + static_cast<int>((categories.size() + 1) / 2);
    if (!featured.empty())
        buttons.push_back({"FEATURED", "招牌菜 一点即点", platform::fmt("RunF(%@)", featured), at(0, row), pal::amber,
                           pal::brandDark});
    buttons.push_back({"MOVIE", "宣传片", platform::fmt("Movie(84,300,684,700,%@)", video), at(1, row), pal::slate,
                       pal::slateDark});
    buttons.push_back({"SET", "设置", "Set", {628, 50, 728, 110}, pal::slate, pal::slateDark});
    return buttons;
}

std::vector<ButtonSpec> categoryButtons() {
    return {{"HOME", "返回首页", "Open(Form1)", {34, 920, 254, 990}, pal::slate, pal::slateDark},
            {"CLIST", "已点菜单", "CheckList", {514, 920, 734, 990}, pal::green, pal::greenDark}};
}

void buttonXml(std::string& xml, int k, const ButtonSpec& b) {
    xml += platform::fmt("<Button%i><Skin>%@.PNG</Skin><SkinF>%@_D.PNG</SkinF><Func>%@</Func><Rect>%@</Rect></Button%i>",
                         k, b.picture, b.picture, esc(b.func), rectText(b.box), k);
}

std::string png(int w, int h, std::function<void(cairo_t*, double, double)> draw) {
    return artgen::encodePicture({"", w, h, std::move(draw)}).value_or("");
}

std::string buttonPicture(const ButtonSpec& b, bool pressed) {
    return png(b.box.w(), b.box.h(), [b, pressed](cairo_t* cr, double w, double h) {
        artgen::fillRect(cr, 0, 0, w, h, pressed ? b.pressed : b.face, 14);
        artgen::glyph(cr, b.title, 6, 0, w - 12, h, h > 90 ? 30 : 24, pal::card, true);
    });
}

// Background with a title bar; `decorate` draws the rest.
std::string background(const std::string& title, const std::string& subtitle,
                       const std::function<void(cairo_t*)>& decorate) {
    return png(kWidth, kHeight, [&](cairo_t* cr, double w, double h) {
        artgen::fillRect(cr, 0, 0, w, h, pal::paper);
        artgen::fillRect(cr, 0, 0, w, 140, pal::bar);
        // Centred between the margins that keep clear of the settings button on the right.
        artgen::glyph(cr, title, 140, 20, w - 280, 70, 40, pal::card, true);
        artgen::glyph(cr, subtitle, 140, 88, w - 280, 36, 20, pal::line);
        decorate(cr);
    });
}

}  // namespace

std::string layoutXml(const std::vector<Category>& all, const std::string& featured, const std::string& video) {
    const std::vector<Category> categories(all.begin(), all.begin() + static_cast<long>(std::min(all.size(), kMaxCategories)));
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><ZirevOvuZud>";
    xml += "<MainForm>Form1</MainForm><ScreenWidth>768</ScreenWidth>";
    xml += platform::fmt("<Screensavers><Time>120000</Time><Func>movie(%@)</Func></Screensavers>", esc(video));
    xml += platform::fmt("<FormCnt>%i</FormCnt>", static_cast<int>(categories.size()) + 1);
    xml += "<Form1><Skin>MAIN.PNG</Skin>";
    int k = 1;
    for (const auto& b : mainButtons(categories, featured, video)) buttonXml(xml, k++, b);
    xml += "</Form1>";
    for (size_t i = 0; i < categories.size(); ++i) {
        const int n = static_cast<int>(i) + 2;
        xml += platform::fmt("<Form%i noState=\"1\"><Skin>CATEGORY%i.PNG</Skin><CategoryId>%@</CategoryId>", n, n,
                             esc(categories[i].id));
        int j = 1;
        for (int r = 0; r < kSlotRows; ++r)
            for (int c = 0; c < kSlotColumns; ++c, ++j) {
                const Box cell = slotCell(c, r);
                xml += platform::fmt("<CaipImage%i isShowBig=\"true\" rect=\"%@\"/>", j,
                                     rectText({cell.x1 + 10, cell.y1 + 10, cell.x1 + 170, cell.y1 + 130}));
                xml += platform::fmt("<CaipName%i rect=\"%@\"/>", j,
                                     rectText({cell.x1 + 180, cell.y1 + 14, cell.x2 - 8, cell.y1 + 64}));
                xml += platform::fmt("<CaipPrice%i rect=\"%@\"/>", j,
                                     rectText({cell.x1 + 180, cell.y1 + 70, cell.x2 - 8, cell.y1 + 110}));
                xml += platform::fmt("<CaipQuickSel%i skins=\"QUICK.PNG\" rect=\"%@\"/>", j,
                                     rectText({cell.x1 + 180, cell.y1 + 150, cell.x2 - 20, cell.y1 + 210}));
            }
        k = 1;
        for (const auto& b : categoryButtons()) buttonXml(xml, k++, b);
        xml += platform::fmt("</Form%i>", n);
    }
    xml += "</ZirevOvuZud>";
    return xml;
}

std::string encipherLayout(const std::string& xml) {
    return GTMBase64::encodeData(NSEncDec().Decrypt(xml, skin::kLayoutKey)).value_or("");
}

std::vector<SkinFile> demoSkin(const std::vector<Category>& all, const std::string& featured,
                               const std::string& video) {
    const std::vector<Category> categories(all.begin(), all.begin() + static_cast<long>(std::min(all.size(), kMaxCategories)));
    std::vector<SkinFile> files;
    files.push_back({skin::kMainLayout, encipherLayout(layoutXml(categories, featured, video))});
    files.push_back({"MAIN.PNG", background("欢迎光临", "点一下开始点菜，或选一个类别", [](cairo_t*) {})});
    for (size_t i = 0; i < categories.size(); ++i) {
        const int n = static_cast<int>(i) + 2;
        files.push_back({platform::fmt("CATEGORY%i.PNG", n),
                         background(categories[i].name, "左右滑动翻页 · 点“点/退”加入或退回", [](cairo_t* cr) {
                             for (int r = 0; r < kSlotRows; ++r)
                                 for (int c = 0; c < kSlotColumns; ++c) {
                                     const Box b = slotCell(c, r);
                                     artgen::fillRect(cr, b.x1, b.y1, b.w(), b.h(), pal::card, 12);
                                     artgen::strokeRect(cr, b.x1, b.y1, b.w(), b.h(), pal::line, 2, 12);
                                 }
                         })});
    }
    std::vector<ButtonSpec> buttons = mainButtons(categories, featured, video);
    for (const auto& b : categoryButtons()) buttons.push_back(b);
    for (const auto& b : buttons) {
        files.push_back({b.picture + ".PNG", buttonPicture(b, false)});
        files.push_back({b.picture + "_D.PNG", buttonPicture(b, true)});
    }
    files.push_back({"QUICK.PNG", png(140, 60, [](cairo_t* cr, double w, double h) {
                         artgen::fillRect(cr, 0, 0, w, h, pal::brand, 12);
                         artgen::glyph(cr, "点 / 退", 0, 0, w, h, 24, pal::card, true);
                     })});
    return files;
}

}  // namespace skingen
