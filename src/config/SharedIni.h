#pragma once
#include <memory>
#include <string>

class CIniFile;

// The process-wide configuration store shared by all running programs of the suite through the
// mapping "inifilememfilemap" guarded by the mutex "NvIniFileMutex".
CIniFile& theIniFile();

bool openSharedIni();  // create or join the store
bool loadSharedIni();  // first program of the suite: load the files and publish
void closeSharedIni(); // release view and handles; the content stays in memory

// Batches: publication happens once, at the outermost endUpdate. endUpdate returns false when
// that publication was refused (the text did not fit the mapping).
void beginUpdate();
bool endUpdate();

void setIniValue(const std::string& section, const std::string& key, const std::string& value);
std::string getIniValue(const std::string& section, const std::string& key, const std::string& defaultValue);
std::string getRegistryValue(const std::string& key, const std::string& defaultValue); // "Registry_HKCU"
// Writes the per-user file (enciphered, without the skin sections). False when nothing was
// written or the write failed.
bool saveSharedIni();
// The save at the end of an operation that changed the store: false only when the per-user file
// was due to be written and was not (after the message saying why), so that the operation can
// report a failure. A store without a file (it was never opened) keeps its changes in memory.
bool saveSharedIniAfterChange();

// Skin lookups.
std::string getLayoutValue(const std::string& key);     // section "Layout"
std::string getStyleGuideValue(const std::string& key); // section "StyleGuide"
std::string getLayoutSectionValue(const std::string& name, const std::string& key); // "Layout_" + name
// The message key to show: preferred when the current skin defines that message (its window
// entry in "Layout"), else fallback. For messages newer than some skins.
std::string chooseMessageKey(const std::string& preferred, const std::string& fallback);
std::string getDefaultSkin();
std::string getCurrentSkin();
std::string getSkinDirectory(); // program directory + current skin + "\"
std::string getUserIniPath();   // per-user file: getIniFilePath(CurrentUser + ".ini")
std::string getTreeIconsPath(const std::string& key);

// Closes the store and forgets everything this process knew of it (document, skin names, the
// unreadable-configuration guard), as if the process had just started. For tests.
void resetSharedIni();

// An update batch that is applied whole or not at all: commit publishes once (outermost batch)
// and succeeds only when the result fits the shared mapping and the per-user file's limit;
// otherwise the store's memory returns to its state at construction and nothing is published.
// A batch that is neither committed nor abandoned commits when it is destroyed.
class StoreBatch {
  public:
    StoreBatch();
    ~StoreBatch();
    StoreBatch(const StoreBatch&) = delete;
    StoreBatch& operator=(const StoreBatch&) = delete;
    bool commit();
    void abandon(); // restores the state at construction

  private:
    void restore();
    struct Snapshot;
    std::unique_ptr<Snapshot> snapshot_;
    bool finished_ = false;
};
