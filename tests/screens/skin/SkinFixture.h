#pragma once
// The welcome and settings screens on the real root: a started terminal that is past its demo
// offer, with helpers to reach the two screens, edit the settings rows and read Kovra.ini.

#include <array>
#include <optional>
#include <string>

#include "platform/foundation/FileSystem.h"
#include "platform/ui/Driver.h"
#include "screens/root/ScreenFixture.h"
#include "screens/skin/UISetViewController.h"
#include "screens/skin/UIWelcomeViewController.h"

class SkinFixture : public ScreenFixture {
protected:
    // Starts the terminal with the demo data already taken, so nothing covers the welcome
    // screen. With `server` the simulator is then configured as the server (the device enrols
    // with it), which ends the first set-up.
    void start(bool server = false) {
        platform::fs::createFolder(NSServer::getDataPath());
        platform::fs::writeAtomically(dataFile("CSH.dat"), dataFile("CSH.dat"));
        SwitchAppDelegate::setRootControllerMaker([] { return SwitchViewController::create(); });
        launch();
        // The loaders set the standard port; the simulator listens on its own.
        NSServer::setPort(sim.port());
        if (server) NSServer::setIP("127.0.0.1");
        settle();
    }

    void TearDown() override {
        ScreenFixture::TearDown();
        SwitchAppDelegate::setRootControllerMaker(nullptr);
    }

    UIWelcomeViewController* welcome() const { return root->welcomeViewController.get().get(); }
    UISetViewController* settings() const { return root->setViewController.get().get(); }

    // A screen-layout file in the skins folder, or none.
    void setSkin(bool present) {
        const std::string path = NSServer::getSkinsPath() + "/INTERFACE.XML";
        if (present) {
            platform::fs::createFolder(NSServer::getSkinsPath());
            platform::fs::writeAtomically(path, "<ZirevOvuZud/>");
        } else {
            platform::fs::remove(path);
        }
    }

    // Row counts of the three sections of the open settings screen.
    std::array<int, 3> rows() const {
        auto& table = *settings()->talbe();
        return {table.numberOfRows(0), table.numberOfRows(1), table.numberOfRows(2)};
    }

    // A release on the welcome screen at a point of its own view, through the window.
    bool tapWelcomeAt(double x, double y) {
        // The release may close the welcome screen (a skinned button opening the menu).
        auto screen = welcome()->view();
        ui::Point p = screen->convertPointTo({x, y}, nullptr);
        auto r = ui::tapAt(*window, p);
        loop().drain();
        return r.ok && r.hit == screen.get();
    }

    // Replaces a field's text by typing, as a waiter would: focus, erase, type.
    void edit(const std::shared_ptr<ui::TextField>& field, const std::string& text) {
        ASSERT_TRUE(field) << "the row of that field was not built";
        auto r = ui::tapView(*window, *field);
        ASSERT_TRUE(r.ok) << r.error << "\n" << dump();
        while (!field->text().empty()) ASSERT_TRUE(window->deleteBackward());
        if (!text.empty()) type(text);
    }
    void flip(const std::shared_ptr<ui::Switch>& control) {
        ASSERT_TRUE(control);
        auto r = ui::tapView(*window, *control);
        ASSERT_TRUE(r.ok) << r.error;
        loop().drain();
    }

    // The text of one key of Kovra.ini as written, or none when the file or key is missing.
    std::optional<std::string> ini(const std::string& key) const {
        auto text = platform::fs::readAll(dataFile("Kovra.ini"));
        if (!text) return std::nullopt;
        const std::string open = "<" + key + ">", close = "</" + key + ">";
        auto a = text->find(open);
        if (a == std::string::npos) return std::nullopt;
        a += open.size();
        auto b = text->find(close, a);
        if (b == std::string::npos) return std::nullopt;
        return text->substr(a, b - a);
    }
};
