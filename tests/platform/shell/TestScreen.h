#pragma once
// A small screen for the shells' tests: a counter button, a label that shows the count, a text
// field whose return key is recorded, a button hidden under a cover, a disabled button, and a
// button that starts a named animation whose end is recorded.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace shelltest {

class TestScreen : public ui::ViewController, public ui::TextFieldDelegate {
public:
    int taps = 0;
    std::vector<std::string> returned;   // the field's text at each return key
    std::vector<std::string> stopped;    // names of the animations that ended
    std::shared_ptr<ui::Label> count;
    std::shared_ptr<ui::TextField> field;
    std::shared_ptr<ui::Button> send;
    std::shared_ptr<ui::View> panel;

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

        auto covered = std::make_shared<ui::Button>(ui::Button::Type::RoundedRect, ui::Rect{20, 200, 160, 44});
        covered->setTitle("被盖住");
        v.addSubview(covered);
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
