#pragma once
// Stands in for a web browser view: it keeps the address it was asked to load and shows that
// address and a page text; there is no network behind it.

#include <string>

#include "platform/ui/View.h"

namespace ui {

class WebView : public View {
public:
    explicit WebView(const Rect& frame = {});
    const char* className() const override { return "WebView"; }

    void loadRequest(std::string url);
    // Text given as the page (what a loaded page would show).
    void loadHTMLString(std::string html, std::string baseUrl = "");
    const std::string& url() const { return url_; }
    // The text shown under the address.
    const std::string& pageText() const { return text_; }
    bool scalesPageToFit() const { return scales_; }
    void setScalesPageToFit(bool s) { scales_ = s; }

private:
    std::string url_;
    std::string text_;
    bool scales_ = false;
};

}  // namespace ui
