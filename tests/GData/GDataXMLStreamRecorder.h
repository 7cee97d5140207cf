#pragma once
// A stream handler that writes what it is handed as one text, so two readings can be compared:
// texts handed in pieces join, as they are one text in the tree. Depths that do not follow the
// elements show as "!".

#include <string>
#include <vector>

#include "GData/GDataXMLStream.h"

namespace gdatatest {

class Recorder : public GDataXMLStreamHandler {
public:
    void startElement(int depth, std::string_view name, std::span<const GDataXMLStreamAttribute> attributes) override {
        if (depth != static_cast<int>(open_.size())) out_ += "!";
        open_.emplace_back(name);
        out_ += "<";
        out_ += name;
        for (const auto& a : attributes) {
            out_ += " ";
            out_ += a.name;
            out_ += "=";
            out_ += a.value;
        }
        out_ += ">";
    }
    void text(int depth, std::string_view text) override {
        if (depth + 1 != static_cast<int>(open_.size())) out_ += "!";
        out_ += text;
    }
    void endElement(int depth) override {
        if (open_.empty() || depth + 1 != static_cast<int>(open_.size())) {
            out_ += "!";
            return;
        }
        out_ += "</" + open_.back() + ">";
        open_.pop_back();
    }
    const std::string& events() const { return out_; }

private:
    std::vector<std::string> open_;
    std::string out_;
};

}  // namespace gdatatest
