// Every title and label a person reads on the screens the screenshot script visits (and the few
// panels it passes by) stands out from what lies under it by a contrast ratio of at least 4.5:1.
// A screen is drawn twice: once without its texts, which shows what lies under each text (plates,
// fills, gradients and pictures alike), and once with each text in a mark colour of its own,
// which tells the texts that show from those hidden under other views or dimmed behind a dialog.
// A text's colour is compared with the mean colour beneath its glyphs. A screen on which no text
// shows at all (not come up yet, or covered whole) fails: it would pass with nothing measured.

#include <cairo.h>
#include <gtest/gtest-spi.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "model/NSCaipDBClass.h"
#include "platform/render/Renderer.h"
#include "platform/render/Text.h"
#include "screens/online/PagesFixture.h"
#include "screens/online/UIMapFindViewController.h"
#include "screens/orderlist/UIDishLViewController.h"

namespace {

constexpr double kMinimumContrast = 4.5;

struct Colour {
    double r = 0, g = 0, b = 0;  // 0..1, sRGB
};

double luminance(const Colour& c) {
    auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double contrast(const Colour& a, const Colour& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::string hex(const Colour& c) {
    char s[8];
    std::snprintf(s, sizeof s, "#%02X%02X%02X", static_cast<int>(std::lround(c.r * 255)),
                  static_cast<int>(std::lround(c.g * 255)), static_cast<int>(std::lround(c.b * 255)));
    return s;
}

// The screen drawn at one pixel per point; the window's surface is opaque (black where nothing
// paints), so its premultiplied pixels are the colours themselves.
struct Surface {
    explicit Surface(const ui::Window& w) : s(render::drawWindow(w)) {}
    ~Surface() { cairo_surface_destroy(s); }
    int width() const { return cairo_image_surface_get_width(s); }
    int height() const { return cairo_image_surface_get_height(s); }
    std::uint32_t at(int x, int y) const {
        const auto* row = cairo_image_surface_get_data(s) + static_cast<std::size_t>(y) * cairo_image_surface_get_stride(s);
        return reinterpret_cast<const std::uint32_t*>(row)[x];
    }
    cairo_surface_t* s;
};

// The colour that marks the n-th text drawn (from 1) in the drawing that tells which texts show.
render::Rgba markOf(std::size_t n) {
    return {static_cast<double>(n >> 16 & 0xFF) / 255, static_cast<double>(n >> 8 & 0xFF) / 255,
            static_cast<double>(n & 0xFF) / 255, 1};
}

// What the check found on a window: how many texts show, and "text: #fg on #bg r:1" for every one
// that reads below the minimum.
struct Measured {
    int texts = 0;
    std::vector<std::string> failures;
};

// A text shows when some of its glyphs' pixels keep its own mark colour in the second drawing: one
// cut away, covered by another view, or dimmed behind a dialog's shade (an inactive screen) does
// not count.
Measured measureTexts(const ui::Window& window) {
    std::vector<render::DrawnText> texts;
    render::setTextObserver([&texts](const render::DrawnText& t) -> std::optional<render::Rgba> {
        texts.push_back(t);
        return std::nullopt;
    });
    const Surface bare(window);
    std::size_t drawn = 0;
    render::setTextObserver([&drawn](const render::DrawnText&) -> std::optional<render::Rgba> {
        return markOf(++drawn);
    });
    const Surface marked(window);
    render::setTextObserver(nullptr);

    Measured out;
    for (std::size_t i = 0; i < texts.size() && drawn == texts.size(); ++i) {
        const auto& t = texts[i];
        const std::uint32_t mark = 0xFF000000u | static_cast<std::uint32_t>(i + 1);
        const int x0 = std::max(0, static_cast<int>(std::floor(t.x0)));
        const int y0 = std::max(0, static_cast<int>(std::floor(t.y0)));
        const int x1 = std::min(bare.width(), static_cast<int>(std::ceil(t.x1)));
        const int y1 = std::min(bare.height(), static_cast<int>(std::ceil(t.y1)));
        double r = 0, g = 0, b = 0;
        int n = 0, shown = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const std::uint32_t p = bare.at(x, y);
                shown += marked.at(x, y) == mark;
                r += (p >> 16 & 0xFF) / 255.0, g += (p >> 8 & 0xFF) / 255.0, b += (p & 0xFF) / 255.0;
                ++n;
            }
        }
        if (shown < 3) continue;
        ++out.texts;
        const Colour under{r / n, g / n, b / n};
        const double a = t.colour.a;
        const Colour ink{t.colour.r * a + under.r * (1 - a), t.colour.g * a + under.g * (1 - a),
                         t.colour.b * a + under.b * (1 - a)};
        const double ratio = contrast(ink, under);
        if (ratio < kMinimumContrast) {
            char line[64];
            std::snprintf(line, sizeof line, " %.2f:1", ratio);
            out.failures.push_back("\"" + t.text + "\": " + hex(ink) + " on " + hex(under) + line);
        }
    }
    EXPECT_EQ(drawn, texts.size()) << "the two drawings drew different texts";
    return out;
}

class Readable : public pagestest::PagesTest {
protected:
    // Checks the screen as it is now; `name` tells which one in the failure.
    void check(const std::string& name) {
        loop().drain();
        // With KOVRA_SCREENSHOT_DIR set, each checked screen is kept there to look at.
        if (const char* dir = std::getenv("KOVRA_SCREENSHOT_DIR"))
            render::saveScreenshot(*window, std::string(dir) + "/readable-" + std::to_string(checked) + ".png");
        const Measured measured = measureTexts(*window);
        if (measured.texts == 0) ADD_FAILURE() << name << ": no text shows, so none was measured\n" << dump();
        for (const auto& failure : measured.failures) ADD_FAILURE() << name << ": " << failure;
        ++checked;
    }
    void tapAt(double x, double y) {
        ASSERT_TRUE(ui::tapAt(*window, {x, y}).ok) << "tap " << x << "," << y << "\n" << dump();
        loop().drain();
    }
    int checked = 0;
};

TEST_F(Readable, TheWaitersScreens) {
    ASSERT_TRUE(NSServer().ayncCaip());
    check("welcome");
    tap("设置");
    advance(1);
    check("settings");
    tap("返回");
    advance(1);

    tap("开始点菜");
    advance(2);
    check("menu grid");
    tap("列表");
    advance(1);
    check("menu list");
    ASSERT_TRUE(root->showBigCaip1(NSServer::getCaipDB()->m_CaipArray.at(0)));
    root->showBigCaip();
    advance(1);
    check("dish detail");
    tap("返回");
    advance(1);

    tap("已点菜单");
    advance(1);
    check("order list");
    tap("桌台:");
    advance(1);
    check("login panel");
    tapAt(466, 894);
    type("0001");
    pressReturn();
    type("123");
    pressReturn();
    advance(1);
    tap("确定");
    advance(1);
    check("desk picker");
    tapAt(273, 414);
    advance(1);
    tapAt(273, 414);
    advance(1);
    tap("确定");
    advance(1);
    check("guests pad");
    tapAt(312, 518);
    advance(0.5);
    tap("确定");
    advance(1);

    // The function menu of a waiter.
    NSServer::setIsWaiterUser(true);
    ASSERT_TRUE(root->listViewController);
    root->listViewController->showfwykr();
    tap("功能");
    advance(0.5);
    check("function menu");
    EXPECT_EQ(checked, 10);
}

TEST_F(Readable, TheGuestsScreens) {
    tap("在线服务");
    advance(1);
    check("online home");
    tap("未登录");
    advance(1);
    check("customer login");
    tap("用户名");
    type("demo");
    tap("密码");
    type("123456");
    tapAndWait("登录");
    advance(1);
    tap("附近商家");
    advance(0.5);
    ASSERT_TRUE(answers());
    advance(1);
    check("shop list");
    tap("地图");
    advance(1);
    check("map");
    tap("列表");
    advance(1);
    tapAndWait("蜀香园");
    advance(1);
    check("shop detail");
    tapAndWait("外卖");
    advance(1);
    check("take-away form");
    EXPECT_EQ(checked, 6);
}

TEST_F(Readable, AScreenWithNoTextShowingFailsTheCheck) {
    check("welcome");
    // Covered whole by a plain view: every text is there, and none shows.
    auto cover = std::make_shared<ui::View>(window->bounds());
    cover->setBackgroundColor(ui::Color::white(0.2));
    window->addSubview(cover);
    EXPECT_NONFATAL_FAILURE(check("covered"), "no text shows");
    cover->removeFromSuperview();
}

}  // namespace
