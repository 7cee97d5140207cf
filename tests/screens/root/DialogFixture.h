#pragma once
// The shared dialogs on their own: the screen fixture's window and word table, a dialog hosted
// straight in the window, and taps on a point of the dialog's panel (the image buttons are not
// views, so a tap is aimed at the button's rectangle and goes through real hit-testing).

#include <memory>
#include <string>
#include <vector>

#include "ScreenFixture.h"
#include "platform/ui/TextField.h"
#include "screens/kit/UILoginViewController.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/kit/VirtualButton.h"

class DialogFixture : public ScreenFixture {
protected:
    // Builds the dialog's view and puts it in the window.
    template <class Dialog>
    void host(const std::shared_ptr<Dialog>& dialog) {
        window->makeKeyAndVisible();
        window->addSubview(dialog->view());
        loop().drain();
    }
    void tapAt(ui::View& panel, const ui::Rect& rect) {
        const ui::Point p = panel.convertPointTo(rect.center(), nullptr);
        auto r = ui::tapAt(*window, p);
        ASSERT_TRUE(r.ok) << r.error << "\n" << dump();
        loop().drain();
    }
    void tapButton(ui::View& panel, const VirtualButton& button) { tapAt(panel, button.location); }
    // Taps the slot of the root's tree picker that shows `name`.
    void pickOnRoot(const std::string& name) {
        ASSERT_TRUE(root->selectViewController) << dump();
        UISelectViewController& picker = *root->selectViewController;
        for (auto& slot : picker.m_bt)
            if (slot->ladel && slot->ladel->text().starts_with(name + "\r\n")) return tapButton(*picker.m_panel, *slot);
        FAIL() << "no slot shows " << name << "\n" << dump();
    }

    // Taps a field, types into it and presses return, as a person would.
    void fill(ui::TextField& field, const std::string& text) {
        auto r = ui::tapView(*window, field);
        ASSERT_TRUE(r.ok) << r.error << "\n" << dump();
        type(text);
        ASSERT_TRUE(window->pressReturn());
        loop().drain();
    }
    // Logs in on the root's open login panel (after its slide) and taps OK.
    void logInOnPanel(const std::string& name, const std::string& password) {
        ASSERT_TRUE(root->loginViewController) << dump();
        advance(0.3);
        fill(*root->loginViewController->userId, name);
        fill(*root->loginViewController->userPassword, password);
        advance(0.3);
        tap("确定");
    }
};

// Owner of a dialog that writes down what it was told.
struct RecordingOwner : NSSelectDlg, NSNumDlg {
    std::vector<std::string> calls;
    void SelectDlgOk() override { calls.push_back("SelectDlgOk"); }
    void SelectDlgCancel() override { calls.push_back("SelectDlgCancel"); }
    void NumDlgOk() override { calls.push_back("NumDlgOk"); }
    void NumDlgCancel() override { calls.push_back("NumDlgCancel"); }
};
