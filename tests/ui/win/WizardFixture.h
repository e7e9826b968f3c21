#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "config/SharedStore.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"
#include "support/GuiTestSupport.h"
#include "support/TestHost.h"
#include "support/TestSupport.h"
#include "ui/AssistentFrame.h"
#include "ui/ResourceIds.h"

// Counts the "NV_IMPORT_EXPORT_ASSISTENT_STATE" broadcasts that reach a hidden top-level window.
class StateListener {
  public:
    StateListener();
    ~StateListener();
    StateListener(const StateListener&) = delete;
    StateListener& operator=(const StateListener&) = delete;
    int count() const;

  private:
    HWND window_ = nullptr;
};

// Replaces the system's file dialog: records each request and answers from a script
// (nothing scripted: the user cancels).
class FileChooserScript : public TestHost {
  public:
    bool chooseFiles(const FileChooserRequest& request, std::vector<std::string>& files) override;
    void push(std::vector<std::string> files) { answers_.push_back(std::move(files)); }
    const std::vector<FileChooserRequest>& requests() const { return requests_; }

  private:
    std::vector<std::vector<std::string>> answers_;
    std::vector<FileChooserRequest> requests_;
};

// A current suite user whose per-user file names the default skin (the tree icons are found
// through it); the registry value and the file are restored afterwards.
class SuiteUser {
  public:
    SuiteUser();
    ~SuiteUser();
    SuiteUser(const SuiteUser&) = delete;
    SuiteUser& operator=(const SuiteUser&) = delete;

  private:
    RegistryValueGuard currentUser_;
    std::string path_;
    bool existed_ = false;
    std::string defaultsPath_;
    bool defaultsExisted_ = false;
};

// Saves the test's store as the per-user file and keeps an empty "system.ini" in place, so that
// nvtool, started as a separate program, opens the same configuration as the wizard in the test.
class StoreForNvtool {
  public:
    explicit StoreForNvtool(SharedStore& store);
    ~StoreForNvtool();
    StoreForNvtool(const StoreForNvtool&) = delete;
    StoreForNvtool& operator=(const StoreForNvtool&) = delete;
    // Puts the per-user file back as it was saved, and runs nvtool with the arguments.
    int runNvtool(const std::string& arguments, std::string* output) const;
    const std::string& userFile() const { return userFile_; }

  private:
    SharedStore& store_;
    std::string userFile_;
    std::string previousStoreFile_;
    std::string saved_;
    std::string systemIni_;
    std::optional<std::string> previousSystemIni_;
};

// The default skin in an otherwise empty store of the process, scripted questions and file
// dialogs.
class WizardTest : public testing::Test {
  protected:
    WizardTest() { skin.addDefaultSkin(); }

    void setFolder(const std::string& section, const std::vector<std::string>& names) {
        store.setValue(section, "type", "folder");
        for (size_t i = 0; i < names.size(); ++i)
            store.setValue(section, itemKey(i), names[i]);
    }
    static std::string text(HWND window) { return CWindow(window).text(); }
    static HTREEITEM findItem(HWND tree, const std::string& label);
    static bool visible(HWND frame, int id) { return IsWindowVisible(GetDlgItem(frame, id)) != FALSE; }
    static bool enabled(HWND frame, int id) { return IsWindowEnabled(GetDlgItem(frame, id)) != FALSE; }
    static std::string frameText(const CAssistentFrame& frame, const std::string& element);
    // Opens a wizard frame modeless, shown and active, ready for the mouse and the keyboard.
    static void openWizard(CAssistentFrame& wizard);
    // Clicks the label of the tree item with the label.
    static void clickTreeItem(HWND tree, const std::string& label);
    // Replaces the text of an edit control by typing, as the user would.
    static void typeInto(HWND edit, const std::string& text);
    // Saves a screenshot of the frame into the screenshot folder.
    static void shoot(HWND frame, const std::string& name);

    SuiteUser user;
    SkinInStore skin;
    SharedStore& store = skin.store();
    SharedStoreNodes nodes{store};
    QuestionScript questions;
    FileChooserScript chooser;
    StateListener state;
};
