#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include <windows.h>

#include "config/IniFile.h"
#include "config/ProfileText.h"
#include "platform/Handles.h"

// Where the skin's sections are looked up: in the skin file itself, or (Windows 9x family) in the
// store, which merges the skin file into itself when it loads and publishes it with the rest.
enum class SkinSections { inSkinFile, inStore };
// The family's choice.
SkinSections platformSkinSections();

// The configuration store shared by all running programs of the suite through the mapping
// "inifilememfilemap" guarded by the mutex "NvIniFileMutex". This process's document reloads
// when another process has published a newer generation and publishes its own changes, unless a
// batch is open. Closing releases view and handles; the content stays in memory.
class SharedStore {
  public:
    explicit SharedStore(SkinSections skinSections = platformSkinSections());
    ~SharedStore() = default;
    SharedStore(const SharedStore&) = delete;
    SharedStore& operator=(const SharedStore&) = delete;

    bool open(); // create or join the store
    bool load(); // first program of the suite: load the files and publish
    void close();

    // Batches: publication happens once, at the outermost endUpdate. endUpdate returns false when
    // that publication was refused (the text did not fit the mapping).
    void beginUpdate() { ++batchDepth_; }
    bool endUpdate();

    // With an empty section name: the section names.
    std::string getValue(const std::string& section, const std::string& key, const std::string& defaultValue);
    std::string getRegistryValue(const std::string& key, const std::string& defaultValue); // "Registry_HKCU"
    // Stores the value and publishes. False when the entry does not fit the limits of the file
    // syntax (nothing is stored) or the publication was refused.
    bool setValue(const std::string& section, const std::string& key, const std::string& value);
    // Removes a section, or replaces the sections below path by those of saved
    // (IniDocument::replaceSectionsBelow), then publishes as setValue does: inside a batch the
    // change goes out with the batch's publication. Other programs reload the whole text.
    bool removeSection(const std::string& name);
    bool replaceSectionsBelow(const std::string& path, const IniDocument& saved);
    bool replaceSections(const IniDocument::SectionFilter& belongs, const IniDocument& saved);
    // Takes over what another process published since this one last looked (outside batches).
    void refresh();
    // Publishes the whole document (outside batches); false when the text did not fit the mapping.
    bool publish();

    // Writes the per-user file (enciphered, without the skin sections). False when nothing was
    // written or the write failed.
    bool save();
    // The save at the end of an operation that changed the store: false only when the per-user
    // file was due to be written and was not (after the message saying why), so that the
    // operation can report a failure. A store without a file (it was never opened) keeps its
    // changes in memory.
    bool saveAfterChange();

    // Skin lookups.
    std::string layoutValue(const std::string& key);                                 // section "Layout"
    std::string styleGuideValue(const std::string& key);                             // section "StyleGuide"
    std::string layoutSectionValue(const std::string& name, const std::string& key); // "Layout_" + name
    // The message key to show: preferred when the current skin defines that message (its window
    // entry in "Layout"), else fallback. For messages newer than some skins.
    std::string chooseMessageKey(const std::string& preferred, const std::string& fallback);
    std::string defaultSkin();
    std::string currentSkin();
    std::string skinDirectory(); // program directory + current skin + "\"
    std::string treeIconsPath(const std::string& key);

    IniDocument& document() { return ini_.document(); }
    const IniDocument& document() const { return ini_.document(); }
    // The per-user file the store saves to; empty until the store was opened.
    const std::string& fileName() const { return ini_.fileName(); }
    void setFileName(std::string fileName) { ini_.setFileName(std::move(fileName)); }
    SkinSections skinSections() const { return skinSections_; }
    int batchDepth() const { return batchDepth_; }
    int32_t generationSeen() const { return generationSeen_; }
    // The shared block (nullptr while closed) and the mutex that guards it.
    unsigned char* view() const { return static_cast<unsigned char*>(view_.get()); }
    HANDLE mutex() const { return mutex_.get(); }

  private:
    friend class StoreBatch; // restores the generation seen with the document
    void reportRefusedPublication();
    bool loadFilesAndPublish();
    bool mergeFile(const std::string& path, const std::string& userPath);
    bool isEmptyNeverPublished();
    void chooseCurrentSkin(const std::string& name);
    void markSkinSections();
    std::string profileValue(const std::string& section, const std::string& key);
    const CProfileText* skinText(const std::string& path);

    SkinSections skinSections_;
    ScopedHandle mapping_;
    ScopedView view_;
    ScopedHandle mutex_;
    CIniFile ini_;
    int32_t generationSeen_ = -1;
    int batchDepth_ = 0;
    std::string currentSkin_;
    std::string skinFilePath_;
    std::string defaultSkin_;
    // The skin file as read for the skin lookups, and its path.
    std::optional<CProfileText> skinText_;
    std::string skinTextPath_;
    // Set when the per-user file existed but could not be read at start-up: from then on this
    // process must never write its partial store over the user's configuration.
    bool userFileUnreadable_ = false;
    bool unsavedReported_ = false;
    bool refusalReported_ = false;
};

// The per-user file: getIniFilePath(CurrentUser + ".ini").
std::string getUserIniPath();

// An update batch that is applied whole or not at all: commit publishes once (outermost batch)
// and succeeds only when the result fits the shared mapping and the per-user file's limit;
// otherwise the store's memory returns to its state at construction and nothing is published.
// A batch that is neither committed nor abandoned commits when it is destroyed.
class StoreBatch {
  public:
    explicit StoreBatch(SharedStore& store);
    ~StoreBatch();
    StoreBatch(const StoreBatch&) = delete;
    StoreBatch& operator=(const StoreBatch&) = delete;
    bool commit();
    void abandon(); // restores the state at construction

  private:
    void restore();
    SharedStore& store_;
    IniDocument document_;
    int32_t generationSeen_;
    bool finished_ = false;
};
