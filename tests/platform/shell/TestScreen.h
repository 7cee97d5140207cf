#pragma once
// A small screen for the shells' tests: a counter button, a label that shows the count, a text
// field whose return key is recorded, a button hidden under a cover, a disabled button, a
// button that starts a named animation whose end is recorded, a keypad whose key pictures take no
// touches of their own, a picker of rooms, a list that rests open at an inset when pulled down far
// enough, a button whose work finishes on a worker thread, a second field beside the first and a
// third under the cover (for the Tab key), a button that turns the page with a curl, and one
// that puts up the wait mark and then blocks the main thread as an exchange does.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/RunLoop.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace shelltest {

// A pad drawn as one picture: it finds the key under the finger itself.
class KeyPad : public ui::View {
public:
    using ui::View::View;
    std::function<void(int tag)> pressed;
    // With a keyboard, its digits press the keys they name.
    bool keyPressed(const std::string& key) override {
        if (key.size() != 1 || key[0] < '1' || key[0] > '3' || !pressed) return false;
        pressed(100 + (key[0] - '0'));
        return true;
    }
    void touchesEnded(const ui::TouchSet& touches, const ui::Event*) override {
        const ui::Point p = touches.anyObject()->locationInView(this);
        for (auto& key : subviews())
            if (key->frame().contains(p) && pressed) pressed(key->tag());
    }
};

inline const std::vector<std::string> kRooms = {"大厅", "包间", "露台", "二楼", "三楼", "外卖"};

class TestScreen : public ui::ViewController,
                   public ui::TextFieldDelegate,
                   public ui::PickerViewDataSource,
                   public ui::PickerViewDelegate,
                   public ui::ScrollViewDelegate {
public:
    ~TestScreen() override {
        if (worker.joinable()) worker.join();
        if (list) list->setDelegate(nullptr);
        if (rooms) {
            rooms->setDataSource(nullptr);
            rooms->setDelegate(nullptr);
        }
    }

    int taps = 0;
    std::vector<std::string> returned;   // the field's text at each return key
    std::vector<std::string> stopped;    // names of the animations that ended
    std::shared_ptr<ui::Label> count;
    std::shared_ptr<ui::TextField> field;
    std::shared_ptr<ui::TextField> note;      // beside the field
    std::shared_ptr<ui::TextField> underCover;
    std::shared_ptr<ui::Button> send;
    std::shared_ptr<ui::View> panel;
    std::shared_ptr<ui::Label> amount;   // tag 11: the keys pressed on the pad
    std::shared_ptr<ui::PickerView> rooms;
    std::shared_ptr<ui::Label> room;     // tag 12: the room chosen on the picker
    std::shared_ptr<ui::ScrollView> list;
    std::shared_ptr<ui::Label> loaded;   // tag 13: what the worker thread answered
    std::thread worker;
    std::function<void()> blocking;      // what happens while the main thread is blocked

    void viewDidLoad() override {
        auto& v = *view();
        v.setBackgroundColor(ui::Color::whiteColor());

        send = std::make_shared<ui::Button>(ui::Button::Type::Custom, ui::Rect{20, 40, 160, 50});
        send->setTitle("送单");
        send->setBackgroundColor(ui::Color::rgb(200, 30, 30));
        send->setTitleColor(ui::Color::whiteColor());
        send->addTarget(ui::ControlEvent::TouchUpInside, [this](ui::Control&) {
            ++taps;
            count->setText("已送 " + std::to_string(taps));
        });
        v.addSubview(send);

        count = std::make_shared<ui::Label>(ui::Rect{200, 40, 200, 50});
        count->setTag(7);
        count->setText("未送");
        v.addSubview(count);

        field = std::make_shared<ui::TextField>(ui::Rect{20, 120, 300, 31});
        field->setTag(9);
        field->setBorderStyle(ui::TextField::BorderStyle::RoundedRect);
        field->setPlaceholder("数量");
        field->setDelegate(this);
        v.addSubview(field);

        note = std::make_shared<ui::TextField>(ui::Rect{340, 120, 180, 31});
        note->setBorderStyle(ui::TextField::BorderStyle::RoundedRect);
        note->setPlaceholder("备注");
        v.addSubview(note);

        auto covered = std::make_shared<ui::Button>(ui::Button::Type::RoundedRect, ui::Rect{20, 200, 160, 44});
        covered->setTitle("被盖住");
        v.addSubview(covered);
        underCover = std::make_shared<ui::TextField>(ui::Rect{200, 205, 150, 31});
        v.addSubview(underCover);
        auto cover = std::make_shared<ui::View>(ui::Rect{0, 190, 400, 70});
        cover->setBackgroundColor(ui::Color::white(0.5, 0.5));
        v.addSubview(cover);

        auto disabled = std::make_shared<ui::Button>(ui::Button::Type::RoundedRect, ui::Rect{20, 300, 160, 44});
        disabled->setTitle("禁用");
        disabled->setEnabled(false);
        v.addSubview(disabled);

        panel = std::make_shared<ui::View>(ui::Rect{400, 400, 100, 100});
        panel->setBackgroundColor(ui::Color::rgb(30, 30, 200));
        v.addSubview(panel);
        auto slide = std::make_shared<ui::Button>(ui::Button::Type::RoundedRect, ui::Rect{20, 400, 160, 44});
        slide->setTitle("滑动");
        slide->addTarget(ui::ControlEvent::TouchUpInside, [this](ui::Control&) {
            ui::Animation::begin("slide");
            ui::Animation::setDuration(0.3);
            ui::Animation::setDidStop([this](const std::optional<std::string>& name, bool, void*) {
                stopped.push_back(name.value_or("?"));
            });
            panel->setFrame({400, 600, 100, 100});
            ui::Animation::commit();
        });
        v.addSubview(slide);

        // The next page: new content, shown by a curl of the whole screen, as the dish menu does.
        auto turn = std::make_shared<ui::Button>(ui::Button::Type::RoundedRect, ui::Rect{20, 700, 160, 44});
        turn->setTitle("翻页");
        turn->addTarget(ui::ControlEvent::TouchUpInside, [this](ui::Control&) {
            ui::Animation::begin("page");
            ui::Animation::setDuration(0.3);
            ui::Animation::setTransition(ui::Animation::Transition::CurlUp, *view(), true);
            ui::Animation::setDidStop([this](const std::optional<std::string>& name, bool, void*) {
                stopped.push_back(name.value_or("?"));
            });
            view()->setBackgroundColor(ui::Color::rgb(250, 240, 200));
            ui::Animation::commit();
        });
        v.addSubview(turn);

        auto exchange = std::make_shared<ui::Button>(ui::Button::Type::RoundedRect, ui::Rect{200, 700, 160, 44});
        exchange->setTitle("等待");
        exchange->addTarget(ui::ControlEvent::TouchUpInside, [this](ui::Control&) {
            auto logo = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorView::Style::WhiteLarge);
            logo->setFrame({420, 250, 32, 32});
            // It fades in, as the message panel does; the frame drawn before the block shows it.
            logo->setAlpha(0);
            view()->addSubview(logo);
            ui::Animation::begin(std::string("fade"));
            ui::Animation::setDuration(0.3);
            logo->setAlpha(1);
            ui::Animation::commit();
            logo->startAnimating();
            if (ui::Window* w = view()->window()) w->displayNow();
            if (blocking) blocking();
            logo->stopAnimating();
            logo->removeFromSuperview();
        });
        v.addSubview(exchange);

        auto pad = std::make_shared<KeyPad>(ui::Rect{550, 40, 200, 70});
        pad->setBackgroundColor(ui::Color::white(0.8));
        for (int i = 0; i < 3; ++i) {
            auto key = std::make_shared<ui::ImageView>(ui::Rect{10.0 + 60 * i, 10, 50, 50});
            key->setTag(101 + i);
            key->setBackgroundColor(ui::Color::white(0.6));
            pad->addSubview(key);
        }
        pad->pressed = [this](int tag) { amount->setText(amount->text() + std::to_string(tag - 100)); };
        v.addSubview(pad);
        amount = std::make_shared<ui::Label>(ui::Rect{550, 120, 200, 30});
        amount->setTag(11);
        v.addSubview(amount);

        rooms = std::make_shared<ui::PickerView>(ui::Rect{20, 480, 300, 160});
        rooms->setDataSource(this);
        rooms->setDelegate(this);
        v.addSubview(rooms);
        room = std::make_shared<ui::Label>(ui::Rect{20, 650, 300, 30});
        room->setTag(12);
        v.addSubview(room);

        list = std::make_shared<ui::ScrollView>(ui::Rect{550, 220, 200, 300});
        list->setContentSize({200, 900});
        list->setDelegate(this);
        for (int i = 0; i < 9; ++i) {
            auto row = std::make_shared<ui::Label>(ui::Rect{0, 100.0 * i, 200, 100});
            row->setText("第" + std::to_string(i + 1) + "行");
            list->addSubview(row);
        }
        v.addSubview(list);

        auto load = std::make_shared<ui::Button>(ui::Button::Type::RoundedRect, ui::Rect{550, 560, 160, 44});
        load->setTitle("载入");
        load->addTarget(ui::ControlEvent::TouchUpInside, [this](ui::Control&) {
            if (worker.joinable()) worker.join();
            platform::RunLoop& main = platform::RunLoop::main();
            worker = std::thread([this, &main] {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                main.post([this] { loaded->setText("已载入"); });
            });
        });
        v.addSubview(load);
        loaded = std::make_shared<ui::Label>(ui::Rect{550, 610, 200, 30});
        loaded->setTag(13);
        v.addSubview(loaded);
    }

    int numberOfComponents(ui::PickerView&) override { return 1; }
    int numberOfRows(ui::PickerView&, int) override { return static_cast<int>(kRooms.size()); }
    std::string titleForRow(ui::PickerView&, int row, int) override { return kRooms[static_cast<std::size_t>(row)]; }
    void didSelectRow(ui::PickerView&, int row, int) override { room->setText(kRooms[static_cast<std::size_t>(row)]); }

    // Pulled down past 65 points and let go: the list rests open 60 points deep, as a list that
    // reloads shows its header while it loads.
    void scrollViewDidEndDragging(ui::ScrollView& s, bool) override {
        if (s.contentOffset().y > -65) return;
        ui::Animation::begin();
        ui::Animation::setDuration(0.2);
        s.setContentInset({60, 0, 0, 0});
        ui::Animation::commit();
    }

    bool textFieldShouldReturn(ui::TextField& f) override {
        returned.push_back(f.text());
        f.resignFirstResponder();
        return true;
    }
};

class TestDelegate : public ui::ApplicationDelegate {
public:
    std::shared_ptr<TestScreen> screen = std::make_shared<TestScreen>();
    bool terminated = false;
    bool didFinishLaunching(ui::Window& window) override {
        window.setRootViewController(screen);
        window.makeKeyAndVisible();
        return true;
    }
    void willTerminate() override { terminated = true; }
};

}  // namespace shelltest
