#pragma once
#include <string>
#include <vector>

// The buttons that answer a question, numbered as the system's message boxes number them
// (IDOK, IDCANCEL, IDYES, IDNO), so that code without the system's headers can name them too.
constexpr int kButtonOk = 1;
constexpr int kButtonCancel = 2;
constexpr int kButtonYes = 6;
constexpr int kButtonNo = 7;

struct QuestionAnswer {
    int button = kButtonCancel;
    bool checked = false;
};

// What the wizards ask of a file chooser.
struct FileChooserRequest {
    std::string initialFolder; // empty: the chooser's own choice
    bool multiSelect = false;
    std::string filter; // "Name|pattern|" pairs
    std::string title;
};

// Whatever the operations and wizards need from the one who runs them: questions, plain
// messages and the choice of files. The program installs the skinned one, nvtool one on the
// console and tests their own, so that nothing ever blocks where no one can answer.
class Host {
  public:
    virtual ~Host() = default;
    // A question of the skin: its message key and the text inserted into its message; the
    // button and the state of the check box that answered it.
    virtual QuestionAnswer ask(const std::string& messageKey, const std::string& insertText) = 0;
    // A plain message (the fixed messages of the file routines, the archive container's, the
    // skin's layout errors), shown with an OK button.
    virtual void tell(const std::string& text, const std::string& title) = 0;
    void tell(const std::string& text) { tell(text, getAppTitle()); }
    // Appends the chosen paths and returns true when the user confirmed.
    virtual bool chooseFiles(const FileChooserRequest& request, std::vector<std::string>& files) = 0;

    // The application's title, which plain messages carry.
    static const char* getAppTitle() { return "ImportExport"; }
};

// The installed host. Until one is installed: every question is answered Cancel, a plain
// message is a system message box, and no file is ever chosen.
Host& host();

// Installs a host while alive and puts the previous one back on destruction (scopes nest).
class HostScope {
  public:
    explicit HostScope(Host& installed);
    ~HostScope();
    HostScope(const HostScope&) = delete;
    HostScope& operator=(const HostScope&) = delete;

  private:
    Host* previous_;
};

// The system's message box with an OK button, modal for the task.
void showSystemMessage(const std::string& text, const std::string& title);
