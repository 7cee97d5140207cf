#pragma once
// The word table: interface texts by word key, loaded from CHINESE.TXT (a JSON object of texts,
// UTF-8 or GB18030) in the skins folder, else in the program package.

#include <map>
#include <memory>
#include <optional>
#include <string>

class NSLangueManager {
public:
    using Words = std::map<std::string, std::string>;

    // Loads "CHINESE.TXT".
    NSLangueManager();

    bool loadLangue(const std::string& name);
    // None until a file has been loaded.
    const std::shared_ptr<const Words>& words() const { return words_; }
    void setWords(std::shared_ptr<const Words> words) { words_ = std::move(words); }

    // The text of a key, or none when the table lacks it (the element then shows nothing).
    std::optional<std::string> word(const std::string& key) const;
    // The text of a key, "" when none: what a label shows.
    std::string text(const std::string& key) const { return word(key).value_or(""); }

private:
    std::shared_ptr<const Words> words_;
};
