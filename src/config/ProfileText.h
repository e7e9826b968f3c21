#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A file in the syntax that the Windows profile functions read, parsed once, answering as
// GetPrivateProfileStringA does with the default "" and a 256-byte buffer: sections and keys are
// found without regard to the case of ASCII letters, in the first section of a name and by the
// first key of a name there (lines before the first section form the section ""); names and values lose the
// white space around them; a value between two equal quotes loses them; at most 255 characters are returned.
// Lines split at "\n" (or at "\r" where a line has no "\n"); "[" starts a section name that ends at the
// line's last "]"; a line without
// "=" is a key without value. Text in the Windows-1252 code page.
class CProfileText {
  public:
    explicit CProfileText(std::string_view text);

    std::string value(std::string_view section, std::string_view key) const;

  private:
    struct Entry {
        std::string name;
        std::optional<std::string> value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    std::vector<Section> sections_;
};
