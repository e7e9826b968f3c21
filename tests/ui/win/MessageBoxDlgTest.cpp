#include <gtest/gtest.h>

#include <string>
#include <optional>
#include <vector>

#include "config/Blowfish.h"
#include "config/ProcessStore.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/ProgramPaths.h"
#include "skin/LayoutParsing.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"
#include "ui/MessageBoxDlg.h"
#include "ui/ResourceIds.h"

namespace {
// Every message key the program shows, with the insert text its caller passes.
struct KeyCase {
    const char* key;
    const char* insert;
};
const KeyCase kMessageKeys[] = {
    {"MessageBoxArchivTip1", ""},
    {"MessageBoxArchivTip2", ""},
    {"MessageBoxAssistentFileNotAvailable", ""},
    {"MessageBoxArchivImportSuccess", ""},
    {"MessageBoxArchivImportError", ""},
    {"MessageBoxArchivExportSuccess", ""},
    {"MessageBoxArchivExportError", ""},
    {"MessageBoxArchivDiskSpace", ""},
    {"MessageBoxArchivReplace", "Reisen\\Rom.htm"},
    {"MessageBoxArchivImportIncomplete", "Reisen\\Lang, Reisen\\Rom"},
    {"MessageBoxArchivExportIncomplete", "Reisen\\Rom"},
    {"MessageBoxFavImportTip1", ""},
    {"MessageBoxSearchBookmark", "\"default\""},
    {"MessageBoxFavImportSuccess", ""},
    {"MessageBoxFavImportIncomplete", "2"},
    {"MessageBoxFavImportError", ""},
    {"MessageBoxFavExportSuccess", ""},
    {"MessageBoxFavExportError", ""},
    {"MessageBoxFavExportNotNetscapeFormat", ""},
    {"MessageBoxFavImportBrowserBackup", "01.12.2026"},
    {"MessageBoxFileNameEmpty", ""},
    {"MessageBoxInvalidFileName", "\\ / : * ? \" < > | '"},
    {"MessageBoxTreeMoveItems", ""},
    {"MessageBoxFolderExists", ""},
    {"MessageBoxFileExists", ""},
    {"MessageBoxFavUndoConfirm", "Favoriten\\Aus Chrome"},
    {"MessageBoxFavUndoSuccess", "Favoriten\\Aus Chrome"},
    {"MessageBoxFavUndoRefused", "Favoriten\\Aus Chrome"},
    {"MessageBoxFavUndoError", ""},
    {"MessageBoxArchivUndoConfirm", "Aus dem Archiv"},
    {"MessageBoxArchivUndoSuccess", "Aus dem Archiv"},
    {"MessageBoxArchivUndoRefused", "Aus dem Archiv"},
    {"MessageBoxArchivUndoError", ""},
};

struct ButtonCase {
    const char* element;
    int id;
};
const ButtonCase kButtons[] = {{"Ok", IDOK}, {"Cancel", IDCANCEL}, {"Yes", IDYES}, {"No", IDNO}};

std::string windowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string expectedMessage(const std::string& key, const std::string& insert) {
    const std::string value = getLayoutSectionValue(key, "Message");
    SettingsCursor cursor(value);
    bool end = false;
    for (int i = 0; i < 5; ++i)
        cursor.nextToken(end);
    std::string text = unescapeText(cursor.nextToken(end));
    if (size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, insert);
    return text;
}

std::string expectedTitle(const std::string& key) {
    const std::string value = getLayoutValue(key);
    SettingsCursor cursor(value);
    bool end = false;
    for (int i = 0; i < 5; ++i)
        cursor.nextToken(end);
    return cursor.nextToken(end);
}

// Checks what the open dialog shows against its skin section and saves a screenshot.
void checkOpenDialog(HWND dialog, const CMessageBoxDlg& box, const KeyCase& c) {
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 440) << c.key;
    EXPECT_EQ(client.bottom, 184) << c.key;
    EXPECT_EQ(windowText(dialog), expectedTitle(c.key)) << c.key;
    EXPECT_FALSE(expectedTitle(c.key).empty()) << c.key;
    const CTextElement* message = box.elementList()->findText("Message");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(windowText(message->controlWindow()), expectedMessage(c.key, c.insert)) << c.key;
    for (const ButtonCase& button : kButtons) {
        bool defined = !getLayoutSectionValue(c.key, button.element).empty();
        EXPECT_EQ(IsWindowVisible(GetDlgItem(dialog, button.id)) != FALSE, defined)
            << c.key << " " << button.element;
    }
    bool checkDefined = !getLayoutSectionValue(c.key, "CheckBox").empty();
    EXPECT_EQ(IsWindowVisible(GetDlgItem(dialog, IDC_MESSAGE_CHECKBOX)) != FALSE, checkDefined) << c.key;
    EXPECT_NE(saveScreenshot(dialog, c.key), "");
}

int firstDefinedButton(const std::string& key) {
    for (const ButtonCase& button : kButtons)
        if (!getLayoutSectionValue(key, button.element).empty()) return button.id;
    return 0;
}

struct RunResult {
    INT_PTR code;
    int checkState;
};

RunResult runDialog(const std::string& key, const std::string& insert, std::vector<ModalDriver::Step> steps) {
    CMessageBoxDlg box(key, insert);
    ModalDriver driver(std::move(steps));
    INT_PTR code = box.doModal();
    return {code, box.checkState()};
}

ModalDriver::Step click(int id) {
    return [id](HWND dialog) {
        clickButton(dialog, id);
        return true;
    };
}

ModalDriver::Step key(WPARAM virtualKey) {
    return [virtualKey](HWND dialog) {
        pressKey(dialog, virtualKey);
        return true;
    };
}

const char* kAllButtonsSkin = "[Layout]\r\n"
                              "TestAllButtons=\"0;0;500;200;1;Alle Kn\xF6pfe\"\r\n"
                              "[Layout_TestAllButtons]\r\n"
                              "Message=\"1;20;20;-20;60;Wirklich? 100% sicher, %d Mal: %s\"\r\n"
                              "Ok=\"1;10;-40;100;30;OK;;\"\r\n"
                              "Cancel=\"1;120;-40;100;30;Abbrechen;;\"\r\n"
                              "Yes=\"1;230;-40;100;30;Ja;;\"\r\n"
                              "No=\"1;340;-40;100;30;Nein;;\"\r\n"
                              "CheckBox=\"1;10;-80;200;20;Merken\"\r\n";
} // namespace

TEST(MessageBoxDlg, EveryKeyOpensWithItsSkinSizeTitleTextAndOnlyItsButtons) {
    SkinInStore skin;
    skin.addDefaultSkin();
    for (const KeyCase& c : kMessageKeys) {
        const int button = firstDefinedButton(c.key);
        ASSERT_NE(button, 0) << c.key << " defines no button";
        CMessageBoxDlg box(c.key, c.insert);
        ModalDriver driver({[&](HWND dialog) {
                                checkOpenDialog(dialog, box, c);
                                return true;
                            },
                            click(button)});
        EXPECT_EQ(box.doModal(), button) << c.key;
        EXPECT_EQ(box.checkState(), 0) << c.key;
    }
}

TEST(MessageBoxDlg, EachButtonReturnsItsCode) {
    SkinInStore skin(kAllButtonsSkin);
    for (const ButtonCase& button : kButtons)
        EXPECT_EQ(runDialog("TestAllButtons", "", {click(button.id)}).code, button.id) << button.element;
}

TEST(MessageBoxDlg, EnterPressesTheFocusedButtonOrTheFirstOneAndEscapeIsCancel) {
    SkinInStore skin;
    skin.addDefaultSkin();
    skin.add(kAllButtonsSkin);
    const char* replace = "MessageBoxAssistentFileNotAvailable";
    ASSERT_TRUE(getLayoutSectionValue(replace, "Ok").empty());
    auto focusOn = [](int id) {
        return [id](HWND dialog) {
            SetFocus(GetDlgItem(dialog, id));
            return true;
        };
    };
    EXPECT_EQ(runDialog(replace, "", {key(VK_RETURN)}).code,
              IDYES); // the box opens with its first button focused
    EXPECT_EQ(runDialog(replace, "", {key(VK_TAB), key(VK_RETURN)}).code, IDNO);
    EXPECT_EQ(runDialog(replace, "", {focusOn(IDNO), key(VK_RETURN)}).code, IDNO);
    EXPECT_EQ(runDialog(replace, "", {focusOn(IDNO), key(VK_ESCAPE)}).code, IDCANCEL);
    // No button focused: the first one.
    EXPECT_EQ(runDialog("TestAllButtons", "", {focusOn(IDC_MESSAGE_CHECKBOX), key(VK_RETURN)}).code, IDOK);
}

TEST(MessageBoxDlg, OnlyTheFocusedButtonShowsTheFocusFrame) {
    SkinInStore skin;
    skin.addDefaultSkin();
    // The focus frame is a dotted line inside the button; elsewhere the button shows its caption.
    auto framePixels = [](HWND button) {
        RECT rect{};
        GetWindowRect(button, &rect);
        PixelCanvas canvas(rect.right - rect.left, rect.bottom - rect.top);
        copyScreen(rect, canvas);
        const int w = canvas.width(), h = canvas.height();
        return canvas.countOther(RECT{4, 4, w - 4, 5}, canvas.pixel(w / 2, 2)) +
               canvas.countOther(RECT{4, h - 5, w - 4, h - 4}, canvas.pixel(w / 2, 2));
    };
    std::vector<int> withFrame;
    runDialog("MessageBoxAssistentFileNotAvailable", "",
              {key(VK_TAB), key(VK_TAB), key(VK_TAB),
               [&](HWND dialog) {
                   pumpMessages(100);
                   for (int id : {IDYES, IDNO})
                       if (framePixels(GetDlgItem(dialog, id)) > 0) withFrame.push_back(id);
                   return true;
               },
               key(VK_ESCAPE)});
    EXPECT_EQ(withFrame, std::vector<int>{IDNO}); // Ja, Nein, Ja, Nein
}

TEST(MessageBoxDlg, CheckStateIsOneOnlyWhenTickedAtTheEnd) {
    SkinInStore skin;
    skin.addDefaultSkin();
    const char* replace = "MessageBoxArchivReplace";
    RunResult ticked = runDialog(replace, "a.htm", {click(IDC_MESSAGE_CHECKBOX), click(IDNO)});
    EXPECT_EQ(ticked.code, IDNO);
    EXPECT_EQ(ticked.checkState, 1);
    RunResult twice =
        runDialog(replace, "a.htm", {click(IDC_MESSAGE_CHECKBOX), click(IDC_MESSAGE_CHECKBOX), click(IDYES)});
    EXPECT_EQ(twice.code, IDYES);
    EXPECT_EQ(twice.checkState, 0);
    RunResult escape = runDialog(replace, "a.htm", {click(IDC_MESSAGE_CHECKBOX), key(VK_ESCAPE)});
    EXPECT_EQ(escape.code, IDCANCEL);
    EXPECT_EQ(escape.checkState, 1);
}

TEST(MessageBoxDlg, InsertTextFillsOnlyThePlaceholder) {
    SkinInStore skin;
    skin.addDefaultSkin();
    skin.add(kAllButtonsSkin);
    std::string withQuotes, plain, conversions;
    auto readMessage = [](std::string& into) {
        return [&into](HWND dialog) {
            // The message element is the only text static of the dialog.
            HWND child = nullptr;
            while ((child = FindWindowExA(dialog, child, "STATIC", nullptr)))
                if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
                    into = windowText(child);
            return true;
        };
    };
    runDialog("MessageBoxSearchBookmark", "\"Anna\"", {readMessage(withQuotes), click(IDNO)});
    EXPECT_NE(withQuotes.find("\"Anna\""), std::string::npos) << withQuotes;
    EXPECT_EQ(withQuotes.find("%s"), std::string::npos);

    runDialog("MessageBoxFavImportSuccess", "ignored %s", {readMessage(plain), click(IDOK)});
    EXPECT_EQ(plain, expectedMessage("MessageBoxFavImportSuccess", ""));

    // Other conversions of a skin text are shown as written, never formatted.
    runDialog("TestAllButtons", "X", {readMessage(conversions), click(IDOK)});
    EXPECT_EQ(conversions, "Wirklich? 100% sicher, %d Mal: X");
}

TEST(MessageBoxDlg, AsTheQuestionHandlerItAnswersWithTheButtonAndTheCheckBox) {
    SkinInStore skin;
    skin.addDefaultSkin();
    QuestionAnswer answer;
    {
        ModalDriver driver({click(IDC_MESSAGE_CHECKBOX), click(IDYES)});
        answer = runMessageBox("MessageBoxArchivReplace", "Reisen\\Rom.htm");
    }
    EXPECT_EQ(answer.button, IDYES);
    EXPECT_TRUE(answer.checked);
    {
        ModalDriver driver({click(IDOK)});
        answer = runMessageBox("MessageBoxArchivTip1", "");
    }
    EXPECT_EQ(answer.button, IDOK);
    EXPECT_FALSE(answer.checked);
}

TEST(MessageBoxDlg, AnUnknownKeyStillOpensAndCanBeClosedFromTheKeyboard) {
    SkinInStore skin;
    skin.addDefaultSkin();
    MessageCapture messages;
    EXPECT_EQ(runDialog("MessageBoxDoesNotExist", "", {key(VK_ESCAPE)}).code, IDCANCEL);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "Error: invalid position for window 'MessageBoxDoesNotExist'");
}

TEST(MessageBoxDlg, OnTheNtFamilyTheDefaultSkinIsReadThroughTheProfileApi) {
    // A configuration whose per-user file names the default skin built beside the test.
    const char* const suiteKey = "Software\\Quendal\\Quendal_Software_5\\Browser";
    const char* const shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    TempDir appData;
    RegistryValueGuard user{HKEY_CURRENT_USER, suiteKey, "CurrentUser", std::string("usrSkinBoxTest")};
    RegistryValueGuard folder{HKEY_CURRENT_USER, shellFolders, "AppData", appData.path()};
    const std::string defaultsPath = getIniFilePath("user.ini");
    const std::optional<std::string> savedDefaults = readWholeFile(defaultsPath);
    createDirectory(getParentPath(defaultsPath), false);
    ASSERT_TRUE(writeTextFile(defaultsPath, readTextFile(testExecutableDirectory() + "defaults\\user.ini")));
    std::optional<ProcessStore> store(std::in_place, SkinSections::inSkinFile); // fresh, skin from its file
    std::string userPath = getUserIniPath();
    createDirectory(getParentPath(userPath), false);
    std::string userFile = "[Registry_HKCU]\r\nCurrentSkin=\"Skin0000\"\r\n";
    encipherContent(userFile);
    ASSERT_TRUE(writeTextFile(userPath, userFile));

    std::string title, yesCaption;
    RECT client{};
    RunResult result = runDialog("MessageBoxArchivReplace", "Rom.htm",
                                 {[&](HWND dialog) {
                                      title = windowText(dialog);
                                      yesCaption = windowText(GetDlgItem(dialog, IDYES));
                                      GetClientRect(dialog, &client);
                                      return true;
                                  },
                                  click(IDNO)});
    store.reset();
    if (savedDefaults)
        writeTextFile(defaultsPath, *savedDefaults);
    else
        DeleteFileA(defaultsPath.c_str());
    EXPECT_EQ(result.code, IDNO);
    EXPECT_EQ(title, "Seite bereits vorhanden");
    EXPECT_EQ(yesCaption, "Ja");
    EXPECT_EQ(client.right, 440);
    EXPECT_EQ(client.bottom, 184);
}
