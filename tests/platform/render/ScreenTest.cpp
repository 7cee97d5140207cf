// Drawing a view tree: what each view property does to the pixels, and a few known screens
// compared with their reference pictures (with a tolerance for font rasterising).

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/foundation/FileSystem.h"
#include "platform/render/Png.h"
#include "platform/render/Renderer.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "support/TempHome.h"

namespace {

using ui::Color;
using ui::Rect;

std::uint32_t argb(int r, int g, int b) {
    return 0xFF000000u | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}

bool near(std::uint32_t p, std::uint32_t q, int tolerance = 3) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

class Drawing : public testsupport::TempHomeTest {
protected:
    void SetUp() override {
        render::installUiHooks();
        window = std::make_shared<ui::Window>(Rect{0, 0, 200, 200});
        window->makeKeyAndVisible();
    }
    render::Bitmap draw() {
        cairo_surface_t* s = render::drawWindow(*window);
        render::Bitmap b = render::bitmapFromSurface(s);
        cairo_surface_destroy(s);
        return b;
    }
    std::shared_ptr<ui::View> box(const Rect& r, const Color& c, ui::View* parent = nullptr) {
        auto v = std::make_shared<ui::View>(r);
        v->setBackgroundColor(c);
        (parent ? *parent : static_cast<ui::View&>(*window)).addSubview(v);
        return v;
    }
    std::shared_ptr<ui::Window> window;
};

TEST_F(Drawing, ViewPropertiesShapeThePixels) {
    const Color red = Color::rgb(255, 0, 0), blue = Color::rgb(0, 0, 255);
    auto hidden = box({0, 0, 20, 20}, red);
    hidden->setHidden(true);
    auto half = box({20, 0, 20, 20}, Color::whiteColor());
    half->setAlpha(0.5);
    // A scrolled parent shows its child moved by the bounds origin; clipping cuts the child.
    auto scrolled = box({0, 40, 100, 40}, Color::blackColor());
    scrolled->setClipsToBounds(true);
    scrolled->setBounds({30, 0, 100, 40});
    box({30, 0, 200, 10}, blue, scrolled.get());
    // A transform scales about the centre of the frame.
    auto grown = box({140, 140, 20, 20}, red);
    grown->setTransform(ui::Transform::scale(2, 2));

    const auto b = draw();
    EXPECT_EQ(b.at(5, 5), argb(0, 0, 0));                  // hidden: the window's black
    EXPECT_TRUE(near(b.at(30, 10), argb(128, 128, 128)));  // half white over black
    EXPECT_EQ(b.at(1, 45), argb(0, 0, 255));               // child at x 30 - 30
    EXPECT_EQ(b.at(99, 45), argb(0, 0, 255));
    EXPECT_EQ(b.at(101, 45), argb(0, 0, 0));               // clipped at the parent's edge
    EXPECT_EQ(b.at(132, 132), argb(255, 0, 0));            // 150 +- 20 after scaling
    EXPECT_EQ(b.at(128, 150), argb(0, 0, 0));
}

TEST_F(Drawing, AnimationsAndTransitionsAreDrawnAtTheirCurrentValues) {
    auto moving = box({0, 0, 20, 20}, Color::rgb(0, 255, 0));
    ui::Animation::begin("move");
    ui::Animation::setDuration(1.0);
    ui::Animation::setCurve(ui::Animation::Curve::Linear);
    moving->setFrame({100, 0, 20, 20});
    ui::Animation::commit();
    home.loop().advanceBy(0.5);
    auto b = draw();
    EXPECT_EQ(b.at(55, 10), argb(0, 255, 0));
    EXPECT_EQ(b.at(5, 10), argb(0, 0, 0));
    EXPECT_EQ(b.at(105, 10), argb(0, 0, 0));

    auto card = box({0, 100, 200, 100}, Color::whiteColor());
    ui::Animation::begin("flip");
    ui::Animation::setDuration(1.0);
    ui::Animation::setCurve(ui::Animation::Curve::Linear);
    ui::Animation::setTransition(ui::Animation::Transition::FlipFromLeft, *card, true);
    ui::Animation::commit();
    home.loop().advanceBy(0.4);
    b = draw();
    // Turned most of the way to its edge: only the middle of the card shows.
    EXPECT_EQ(b.at(100, 150), argb(255, 255, 255));
    EXPECT_EQ(b.at(10, 150), argb(0, 0, 0));
    home.loop().advanceBy(1.0);
    b = draw();
    EXPECT_EQ(b.at(10, 150), argb(255, 255, 255));
    EXPECT_EQ(b.at(115, 10), argb(0, 255, 0));
}

TEST_F(Drawing, PicturesComeThroughTheDecoderHookAndKeepTheirCaps) {
    // A 5x1 picture: red caps of two pixels around a blue middle pixel.
    render::Bitmap strip{5, 1, {argb(255, 0, 0), argb(255, 0, 0), argb(0, 0, 255), argb(255, 0, 0), argb(255, 0, 0)}};
    cairo_surface_t* s = render::surfaceFromBitmap(strip);
    const auto png = render::encodePng(s).value();
    cairo_surface_destroy(s);
    auto picture = ui::Image::withData(png);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width(), 5);
    EXPECT_FALSE(ui::Image::withData("not a picture"));

    auto stretched = std::make_shared<ui::ImageView>(Rect{0, 0, 100, 10});
    stretched->setImage(picture->stretchable(2, 0));
    window->addSubview(stretched);
    auto fitted = std::make_shared<ui::ImageView>(Rect{0, 50, 100, 100});
    fitted->setImage(picture);
    fitted->setContentMode(ui::ContentMode::ScaleAspectFit);
    window->addSubview(fitted);

    const auto b = draw();
    EXPECT_EQ(b.at(0, 5), argb(255, 0, 0));
    EXPECT_EQ(b.at(50, 5), argb(0, 0, 255));   // only the middle stretches
    EXPECT_EQ(b.at(99, 5), argb(255, 0, 0));
    EXPECT_TRUE(near(b.at(50, 100), argb(0, 0, 255), 12));  // 100 x 20 in the middle of the box
    EXPECT_EQ(b.at(50, 85), argb(0, 0, 0));
}

TEST_F(Drawing, TheViewLayerMeasuresTextAsItIsDrawn) {
    const ui::Font font = ui::Font::systemFont(20);
    const auto narrow = ui::measureText("iiii", font);
    const auto wide = ui::measureText("MMMM", font);
    EXPECT_LT(narrow.width, wide.width / 2);
    EXPECT_NEAR(ui::measureText("菜单", font).width, 40, 3);
    EXPECT_GT(ui::measureText("今天的特色菜是红烧肉", font, 60).height, 3 * font.size);
}

TEST_F(Drawing, AShrinkingLabelFitsItsTextAsItChangesAndMeasuresEachTextAndFontOnce) {
    // A measurer that counts its calls: each byte is `perByte` of the font's size wide.
    int measured = 0;
    auto counting = [&measured](double perByte) {
        return [&measured, perByte](std::string_view text, const ui::Font& font, double) {
            ++measured;
            return ui::Size{perByte * font.size * static_cast<double>(text.size()), font.lineHeight()};
        };
    };
    ui::setTextMeasurer(counting(0.5));
    auto price = std::make_shared<ui::Label>(Rect{0, 0, 50, 30});
    price->setFont(ui::Font::systemFont(20));
    price->setAdjustsFontSizeToFitWidth(true);
    price->setMinimumFontSize(8);
    price->setText("1234567890");
    window->addSubview(price);

    // Each step is drawn twice: the size follows every change that can move it, and only a text
    // or font not measured before (or a new measurer) reaches the measurer.
    struct Step {
        const char* what;
        std::function<void()> change;
        int measurements;
        double size;
    } steps[] = {
        {"100 wide in 50", [] {}, 1, 10},
        {"a colour", [&] { price->setTextColor(Color::rgb(255, 0, 0)); }, 1, 10},
        {"a text that fits", [&] { price->setText("12345"); }, 2, 20},
        {"a narrower label", [&] { price->setFrame({0, 0, 20, 30}); }, 2, 8},
        {"a larger minimum", [&] { price->setMinimumFontSize(12); }, 2, 12},
        {"a font small enough", [&] { price->setFont(ui::Font::systemFont(6)); }, 3, 6},
        {"another measurer", [&] { ui::setTextMeasurer(counting(1.0)); }, 4, 12},
        {"two lines, which never shrink", [&] { price->setNumberOfLines(2); }, 4, 6},
    };
    for (const Step& step : steps) {
        step.change();
        draw();
        draw();
        EXPECT_EQ(measured, step.measurements) << step.what;
        EXPECT_EQ(price->shownFont().size, step.size) << step.what;
    }
    render::installUiHooks();  // the counting measurer refers to this test's counter
}

TEST_F(Drawing, MeasuredSizesAreRememberedAcrossLabelsWithinABound) {
    // A measurer that numbers its answers, so that a width tells which call measured it.
    int measured = 0;
    auto numbering = [&measured] {
        return [&measured](std::string_view, const ui::Font&, double) { return ui::Size{double(++measured), 0}; };
    };
    ui::setTextMeasurer(numbering());
    const ui::Font font = ui::Font::withName("Helvetica", 15);

    // Two dishes' tiles built afresh with the same price: only the first label lays it out.
    for (double x : {0.0, 100.0}) {
        auto price = std::make_shared<ui::Label>(Rect{x, 0, 100, 20});
        price->setFont(font);
        price->setAdjustsFontSizeToFitWidth(true);
        price->setText("38元/份");
        window->addSubview(price);
    }
    draw();
    EXPECT_EQ(measured, 1);

    // Each part of the question counts: asked twice, each is measured once and keeps its answer.
    struct Question {
        const char* what;
        std::string text;
        ui::Font font;
        double maxWidth;
    } questions[] = {
        {"the labels' price", "38元/份", font, 0},
        {"another text", "48元/份", font, 0},
        {"another font", "38元/份", ui::Font::withName("Courier", 15), 0},
        {"another size", "38元/份", ui::Font::withName("Helvetica", 14), 0},
        {"bold", "38元/份", {"Helvetica", 15, true}, 0},
        {"wrapped", "38元/份", font, 40},
    };
    for (int round = 0; round < 2; ++round)
        for (std::size_t i = 0; i < std::size(questions); ++i)
            EXPECT_EQ(ui::measureText(questions[i].text, questions[i].font, questions[i].maxWidth).width, double(i + 1))
                << questions[i].what;
    EXPECT_EQ(measured, 6);

    // A new measurer answers afresh.
    ui::setTextMeasurer(numbering());
    EXPECT_EQ(ui::measureText("38元/份", font).width, 7);

    // Twice as many other texts as are remembered, the price in use all along: the price and the
    // latest texts are still known with their own answers, one text before them is forgotten.
    const std::size_t bound = ui::kRememberedMeasurements;
    std::vector<double> answers;
    for (std::size_t i = 0; i < 2 * bound; ++i) {
        answers.push_back(ui::measureText("菜" + std::to_string(i), font).width);
        if (i % 100 == 0) {
            EXPECT_EQ(ui::measureText("38元/份", font).width, 7);
        }
    }
    const int before = measured;
    EXPECT_EQ(ui::measureText("38元/份", font).width, 7);
    for (std::size_t i = bound + 1; i < 2 * bound; ++i)
        EXPECT_EQ(ui::measureText("菜" + std::to_string(i), font).width, answers[i]) << i;
    EXPECT_EQ(measured, before);
    EXPECT_EQ(ui::measureText("菜" + std::to_string(bound), font).width, before + 1);
    // A text too long to keep is measured each time.
    const std::string description(ui::kLongestRememberedText + 1, 'a');
    ui::measureText(description, font);
    ui::measureText(description, font);
    EXPECT_EQ(measured, before + 3);
    render::installUiHooks();  // the numbering measurer refers to this test's counter
}

// --- Known screens --------------------------------------------------------------------------

// Compares with the reference picture: a pixel differs when a channel is off by more than 48,
// and at most 0.5 % of the pixels may differ (glyph edges move a little between font builds).
// KOVRA_UPDATE_REFERENCE=1 writes the reference pictures instead.
void expectLooksLike(const ui::Window& window, const std::string& name) {
    const std::string reference = std::string(KOVRA_SOURCE_DIR) + "/tests/platform/render/reference/" + name + ".png";
    cairo_surface_t* s = render::drawWindow(window);
    const render::Bitmap actual = render::bitmapFromSurface(s);
    if (std::getenv("KOVRA_UPDATE_REFERENCE")) {
        ASSERT_TRUE(render::writePng(s, reference));
        cairo_surface_destroy(s);
        return;
    }
    const std::string written = platform::temporaryFolder() + "/" + name + ".png";
    render::writePng(s, written);
    cairo_surface_destroy(s);
    auto expected = render::decodeImageFile(reference);
    ASSERT_TRUE(expected) << "missing reference " << reference;
    ASSERT_EQ(expected->width, actual.width);
    ASSERT_EQ(expected->height, actual.height);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < actual.pixels.size(); ++i)
        if (!near(actual.pixels[i], expected->pixels[i], 48)) ++differing;
    EXPECT_LE(differing, actual.pixels.size() / 200) << name << ": " << differing << " pixels differ; see " << written;
}

class Screens : public testsupport::TempHomeTest {
protected:
    void SetUp() override {
        render::installUiHooks();
        window = std::make_shared<ui::Window>(Rect{0, 0, 320, 480});
        window->makeKeyAndVisible();
        root = std::make_shared<ui::View>(Rect{0, 20, 320, 460});
        root->setBackgroundColor(Color::rgb(235, 235, 240));
        window->addSubview(root);
    }
    template <typename T>
    std::shared_ptr<T> add(std::shared_ptr<T> v) {
        root->addSubview(v);
        return v;
    }
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ui::View> root;
};

TEST_F(Screens, AFormOfControls) {
    auto title = add(std::make_shared<ui::Label>(Rect{10, 10, 300, 30}));
    title->setText("点菜单 第3桌");
    title->setFont(ui::Font::boldSystemFont(20));
    title->setTextAlignment(ui::TextAlignment::Center);
    title->setShadowColor(Color::white(1));
    title->setShadowOffset({0, 1});

    auto note = add(std::make_shared<ui::Label>(Rect{10, 45, 300, 40}));
    note->setText("今天的特色菜是红烧肉和清蒸鱼，欢迎品尝本店招牌菜");
    note->setNumberOfLines(2);
    note->setFont(ui::Font::systemFont(14));
    note->setTextColor(Color::rgb(81, 88, 88));

    auto field = add(std::make_shared<ui::TextField>(Rect{10, 95, 200, 31}));
    field->setBorderStyle(ui::TextField::BorderStyle::RoundedRect);
    field->setPlaceholder("输入数量");
    auto secret = add(std::make_shared<ui::TextField>(Rect{10, 135, 200, 31}));
    secret->setBorderStyle(ui::TextField::BorderStyle::Line);
    secret->setSecureTextEntry(true);
    secret->setText("1234");

    auto ok = add(std::make_shared<ui::Button>(ui::Button::Type::RoundedRect, Rect{10, 180, 140, 44}));
    ok->setTitle("确定");
    auto send = add(std::make_shared<ui::Button>(ui::Button::Type::Custom, Rect{170, 180, 140, 44}));
    send->setTitle("送单");
    send->setTitleColor(Color::whiteColor());
    send->setBackgroundColor(Color::rgb(180, 40, 40));
    send->setCornerRadius(8);
    auto off = add(std::make_shared<ui::Button>(ui::Button::Type::RoundedRect, Rect{10, 235, 140, 44}));
    off->setTitle("不可用");
    off->setEnabled(false);

    auto sw = add(std::make_shared<ui::Switch>(Rect{170, 240, 0, 0}));
    sw->setOn(true);
    auto seg = add(std::make_shared<ui::SegmentedControl>(std::vector<std::string>{"大份", "中份", "小份"},
                                                          Rect{10, 295, 300, 34}));
    seg->setSelectedSegmentIndex(1);
    expectLooksLike(*window, "form");
}

class Rows : public ui::TableViewDataSource {
public:
    int numberOfSections(ui::TableView&) override { return 2; }
    int numberOfRows(ui::TableView&, int section) override { return section == 0 ? 2 : 3; }
    std::optional<std::string> titleForHeader(ui::TableView&, int section) override {
        return section == 0 ? "热菜" : "凉菜";
    }
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView&, const ui::IndexPath& p) override {
        static const char* names[2][3] = {{"红烧肉", "清蒸鱼", ""}, {"拍黄瓜", "皮蛋豆腐", "凉拌木耳"}};
        auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "SimpleTableIdentifier");
        cell->textLabel()->setText(names[p.section][p.row]);
        if (p.row == 1) cell->setAccessoryType(ui::TableViewCell::AccessoryType::Checkmark);
        return cell;
    }
};

TEST_F(Screens, ATableUnderAnAlert) {
    Rows rows;
    auto table = add(std::make_shared<ui::TableView>(Rect{0, 0, 320, 460}));
    table->setDataSource(&rows);
    table->reloadData();
    table->selectRow(ui::IndexPath{1, 0}, false, ui::ScrollPosition::None);
    auto alert = std::make_shared<ui::AlertView>("提示", "网络连接失败", nullptr, "确定",
                                                 std::vector<std::string>{"重试"});
    ASSERT_TRUE(alert->show());
    home.loop().advanceBy(1.0);
    expectLooksLike(*window, "table-alert");
    alert->dismissWithClickedButtonIndex(0, false);
    table->setDataSource(nullptr);
}

class Portions : public ui::PickerViewDataSource, public ui::PickerViewDelegate {
public:
    int numberOfComponents(ui::PickerView&) override { return 2; }
    int numberOfRows(ui::PickerView&, int component) override { return component == 0 ? 3 : 10; }
    std::string titleForRow(ui::PickerView&, int row, int component) override {
        static const char* sizes[] = {"大份", "中份", "小份"};
        return component == 0 ? sizes[row] : std::to_string(row + 1) + " 份";
    }
};

TEST_F(Screens, PickersSearchAndTexts) {
    auto search = add(std::make_shared<ui::SearchBar>(Rect{0, 0, 320, 44}));
    search->setPlaceholder("菜名或拼音首字母");
    Portions portions;
    auto picker = add(std::make_shared<ui::PickerView>(Rect{0, 50, 320, 160}));
    picker->setDataSource(&portions);
    picker->setDelegate(&portions);
    picker->setShowsSelectionIndicator(true);
    picker->reloadAllComponents();
    picker->selectRow(1, 0, false);
    picker->selectRow(4, 1, false);
    auto date = add(std::make_shared<ui::DatePicker>(Rect{0, 215, 320, 120}));
    date->setMode(ui::DatePicker::Mode::Time);
    date->setMinuteInterval(5);
    // A fixed moment, shown in a fixed time zone (the wheels show local time).
    setenv("TZ", "UTC", 1);
    tzset();
    date->setDate(1.0e9);
    auto text = add(std::make_shared<ui::TextView>(Rect{10, 340, 190, 60}));
    text->setText("备注：少放辣，多加葱花，打包带走");
    text->setFont(ui::Font::systemFont(14));
    text->setEditable(false);
    auto web = add(std::make_shared<ui::WebView>(Rect{10, 405, 190, 50}));
    web->loadHTMLString("<p>欢迎光临</p>", "http://menu.example/shop/12");
    auto spinner = add(std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorView::Style::Gray));
    spinner->setFrame({230, 360, 40, 40});
    spinner->setHidesWhenStopped(false);
    expectLooksLike(*window, "pickers");
    picker->setDataSource(nullptr);
    picker->setDelegate(nullptr);
}

}  // namespace
