#pragma once
// The local data cipher: a keyed byte stream mixed from a data key and a key text built into the
// program. Files and message fields are written as Base64 of Decrypt's output and read back with
// Base64 then Encrypt (the names run opposite to their use; the two are exact inverses).

#include <optional>
#include <string>

class NSEncDec {
public:
    NSEncDec();

    // Adds the key stream: the write direction. Output has the length of the input.
    std::string Decrypt(const std::string& data, const std::string& key) const;
    // Subtracts the key stream: the read direction.
    std::string Encrypt(const std::string& data, const std::string& key) const;

    // Nothing for empty data.
    std::optional<std::string> encodeBase64(const std::string& data) const;
    // Nothing when the text is not valid, padded Base64.
    std::optional<std::string> decodeBase64(const std::string& text) const;

    const std::string& Enckey() const { return Enckey_; }
    void setEnckey(const std::string& text) { Enckey_ = text; }
    // How many characters of the key text the cipher uses.
    int ikey() const { return ikey_; }
    void setIkey(int used) { ikey_ = used; }

private:
    std::string apply(const std::string& data, const std::string& key, bool add) const;

    std::string Enckey_;
    int ikey_;
};
