#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "config/IniFile.h"
#include "config/ProcessStore.h"
#include "platform/FileSystem.h"
#include "platform/ProgramPaths.h"
#include "skin/LayoutParsing.h"
#include "skin/ManagedElementList.h"
#include "skin/SkinBitmap.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"
#include "toolkit/Dialog.h"
#include "ui/ResourceIds.h"

namespace {
const char* const kMessageKeys[] = {"MessageBoxArchivTip1",
                                    "MessageBoxArchivTip2",
                                    "MessageBoxAssistentFileNotAvailable",
                                    "MessageBoxArchivImportSuccess",
                                    "MessageBoxArchivImportError",
                                    "MessageBoxArchivExportSuccess",
                                    "MessageBoxArchivExportError",
                                    "MessageBoxArchivDiskSpace",
                                    "MessageBoxArchivReplace",
                                    "MessageBoxArchivImportIncomplete",
                                    "MessageBoxArchivExportIncomplete",
                                    "MessageBoxFavImportTip1",
                                    "MessageBoxSearchBookmark",
                                    "MessageBoxFavImportSuccess",
                                    "MessageBoxFavImportIncomplete",
                                    "MessageBoxFavImportError",
                                    "MessageBoxFavExportSuccess",
                                    "MessageBoxFavExportError",
                                    "MessageBoxFavExportNotNetscapeFormat",
                                    "MessageBoxFileNameEmpty",
                                    "MessageBoxInvalidFileName",
                                    "MessageBoxTreeMoveItems",
                                    "MessageBoxFolderExists",
                                    "MessageBoxFileExists",
                                    "MessageBoxFavUndoConfirm",
                                    "MessageBoxFavUndoSuccess",
                                    "MessageBoxFavUndoRefused",
                                    "MessageBoxFavUndoError",
                                    "MessageBoxArchivUndoConfirm",
                                    "MessageBoxArchivUndoSuccess",
                                    "MessageBoxArchivUndoRefused",
                                    "MessageBoxArchivUndoError"};

struct SectionKeys {
    const char* section;
    std::vector<const char*> keys;
};

// What the wizards read from the skin: window entries, elements and texts.
const SectionKeys kWizardSections[] = {
    {"FavImportExportAssistent",
     {"Background", "ButtonBack", "ButtonNext", "ButtonFinish", "ButtonCancel", "ImportExportTitle",
      "ImportExportDescription", "Page1_Title", "Page1_Description", "Page2_Import_Title",
      "Page2_Import_Description", "Page2_Export_Title", "Page2_Export_Description", "Page3_Import_Title",
      "Page3_Import_Description", "Page3_Export_Title", "Page3_Export_Description"}},
    {"ArchivImportExportAssistent",
     {"Background", "ButtonBack", "ButtonNext", "ButtonFinish", "ButtonCancel", "ImportExportTitle",
      "ImportExportDescription", "Page1_Title", "Page1_Description", "Page2_Import_Title",
      "Page2_Import_Description", "Page2_Export_Title", "Page2_Export_Description", "Page3_Import_Title",
      "Page3_Import_Description", "Page3_Export_Title", "Page3_Export_Description",
      "ImportExportFileDlgDescription"}},
    {"FavImportExportPage1",
     {"Background", "CheckBoxImport", "CheckBoxExport", "Title", "Description", "Description_Import",
      "Description_Export", "CheckBoxUndo", "TextUndo", "Description_Undo", "UndoLine"}},
    {"FavImportExportPage2",
     {"Background", "CheckBoxIE", "CheckBoxNC", "CheckBoxNCFile", "Title", "TextIE", "TextNC", "TextNCFile",
      "BookmarkName", "ButtonSearch", "NCUsers", "Import_Title", "Export_Title", "ButtonImportIE",
      "ButtonExportIE", "ButtonImportNC", "ButtonExportNC", "ButtonImportNCFile", "ButtonExportNCFile"}},
    {"FavImportExportPage3", {"Background", "TreeView"}},
    {"ArchivImportExportPage1",
     {"Background", "CheckBoxImport", "CheckBoxExport", "Title", "Description", "Description_Import",
      "Description_Export", "CheckBoxUndo", "TextUndo", "Description_Undo", "UndoLine"}},
    {"ArchivImportExportPage2",
     {"Edit", "ButtonSearch", "Background", "Title", "DescriptionArchiv2", "AuswahlText", "Import_Title",
      "Export_Title"}},
    {"TreeIcons", {"File", "FolderClosed", "FolderOpened"}},
};

const char* const kTextElements[] = {
    "Message", "ImportExportTitle", "ImportExportDescription", "Title",       "Description", "TextIE",
    "TextNC",  "TextNCFile",        "DescriptionArchiv2",      "AuswahlText", "TextUndo"};

std::string field(const std::string& value, int index) {
    SettingsCursor cursor(value);
    bool end = false;
    std::string token;
    for (int i = 0; i <= index; ++i)
        token = cursor.nextToken(end);
    return end ? std::string() : token;
}

std::string skinFile() {
    return testExecutableDirectory() + "Skin0000.ini";
}

std::string profileValue(const std::string& section, const std::string& key) {
    char buffer[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof(buffer), skinFile().c_str());
    return buffer;
}

bool bitmapLoads(const std::string& relativePath) {
    ScopedBitmap bitmap(loadSkinBitmap(getProgramDirectory() + relativePath));
    return static_cast<bool>(bitmap);
}
} // namespace

TEST(DefaultSkin, EveryMessageKeyHasWindowBackgroundTextAndAButton) {
    SkinInStore skin;
    skin.addDefaultSkin();
    for (const char* key : kMessageKeys) {
        std::string window = getLayoutValue(key);
        SettingsCursor cursor(window);
        LayoutRect rect;
        ASSERT_TRUE(parseRect(cursor, rect)) << key;
        EXPECT_EQ(field(window, 4), "1") << key;
        EXPECT_FALSE(field(window, 5).empty()) << key;
        std::string background = getLayoutSectionValue(key, "BackgroundBitmap");
        EXPECT_TRUE(bitmapLoads(field(background, 5))) << key;
        EXPECT_FALSE(field(getLayoutSectionValue(key, "Message"), 5).empty()) << key;
        int buttons = 0;
        for (const char* button : {"Ok", "Cancel", "Yes", "No"}) {
            std::string value = getLayoutSectionValue(key, button);
            if (value.empty()) continue;
            ++buttons;
            EXPECT_FALSE(field(value, 5).empty()) << key << " " << button;
            EXPECT_TRUE(bitmapLoads(field(value, 6))) << key << " " << button;
        }
        EXPECT_GT(buttons, 0) << key;
    }
}

TEST(DefaultSkin, WizardSectionsTextsAndTreeIconsAreComplete) {
    SkinInStore skin;
    skin.addDefaultSkin();
    for (const SectionKeys& section : kWizardSections) {
        if (std::string(section.section) != "TreeIcons") {
            std::string window = getLayoutValue(section.section);
            SettingsCursor cursor(window);
            LayoutRect rect;
            EXPECT_TRUE(parseRect(cursor, rect)) << section.section;
            bool end = false;
            cursor.nextToken(end);
            EXPECT_FALSE(end) << section.section << " has no visible state";
        }
        for (const char* key : section.keys)
            EXPECT_FALSE(getLayoutSectionValue(section.section, key).empty())
                << section.section << " " << key;
        for (const char* key : section.keys) {
            std::string value = getLayoutSectionValue(section.section, key);
            if (key == std::string("Background")) {
                EXPECT_TRUE(bitmapLoads(field(value, 5))) << section.section;
            }
        }
    }
    for (const char* icon : {"File", "FolderClosed", "FolderOpened"}) {
        ScopedBitmap bitmap(
            loadBitmapFile(getProgramDirectory() + "Skin0000\\" + getLayoutSectionValue("TreeIcons", icon)));
        ASSERT_TRUE(bitmap) << icon;
        BITMAP info{};
        GetObjectA(bitmap.get(), sizeof(info), &info);
        EXPECT_EQ(info.bmWidth, 16);
        EXPECT_EQ(info.bmHeight, 16);
    }
}

TEST(DefaultSkin, EveryTextElementHasACompleteStyleGuide) {
    SkinInStore skin;
    skin.addDefaultSkin();
    for (const char* element : kTextElements) {
        StyleGuide style;
        EXPECT_TRUE(parseStyleGuide(getStyleGuideValue(element), style)) << element;
        EXPECT_EQ(style.font.faceName, "Tahoma") << element;
    }
}

TEST(DefaultSkin, TheProfileApiReadsEveryValueAsTheStoreDoes) {
    // On the NT family the lookups read the file with GetPrivateProfileStringA, which cuts
    // values to 255 characters and strips the quotes; both ways must give the same text.
    CIniFile store(skinFile());
    ASSERT_TRUE(store.parseIniFile(false));
    size_t values = 0;
    for (const auto& section : store.document().sections()) {
        std::string name = section->name();
        for (const auto& entry : section->entries()) {
            ++values;
            EXPECT_LT(entry.value.size(), 255u) << name << " " << entry.key;
            EXPECT_EQ(profileValue(name, entry.key), entry.value) << name << " " << entry.key;
        }
    }
    EXPECT_GT(values, 150u);
}
