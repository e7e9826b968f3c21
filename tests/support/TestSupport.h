#pragma once
#include <windows.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "support/TestHost.h"

// Records every plain message box while alive.
class MessageCapture : public TestHost {
  public:
    void tell(const std::string& text, const std::string& title) override;
    using Host::tell;
    const std::vector<std::string>& texts() const { return texts_; }
    const std::vector<std::string>& titles() const { return titles_; }

  private:
    std::vector<std::string> texts_;
    std::vector<std::string> titles_;
};

// Answers questions from a script (default answer when it runs out) and records them.
class QuestionScript : public TestHost {
  public:
    explicit QuestionScript(QuestionAnswer fallback = {IDCANCEL, false}) : fallback_(fallback) {}
    QuestionAnswer ask(const std::string& messageKey, const std::string& insertText) override;
    void push(int button, bool checked = false) { answers_.push_back({button, checked}); }
    struct Asked {
        std::string key;
        std::string insert;
    };
    const std::vector<Asked>& asked() const { return asked_; }

  private:
    std::deque<QuestionAnswer> answers_;
    QuestionAnswer fallback_;
    std::vector<Asked> asked_;
};

// A fresh folder below the Wine prefix's temporary folder, deleted with all its content.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

// Sets a registry string value (or deletes it with nullopt) and restores the old state.
// view KEY_WOW64_32KEY: the 32-bit programs' view of HKEY_LOCAL_MACHINE\Software.
class RegistryValueGuard {
  public:
    RegistryValueGuard(HKEY root, std::string subKey, std::string name, std::optional<std::string> value,
                       REGSAM view = 0);
    ~RegistryValueGuard();
    RegistryValueGuard(const RegistryValueGuard&) = delete;
    RegistryValueGuard& operator=(const RegistryValueGuard&) = delete;

  private:
    HKEY root_;
    std::string subKey_;
    std::string name_;
    REGSAM view_;
    std::optional<std::string> previous_;
};

// Helpers over real files.
bool writeTextFile(const std::string& path, const std::string& content);
std::string readTextFile(const std::string& path); // "" when missing
void setRegistryString(HKEY root, const std::string& subKey, const std::string& name,
                       const std::string& value, REGSAM view = 0);
void deleteRegistryTree(HKEY root, const std::string& subKey, REGSAM view = 0);
// The folder of the running test executable, with a trailing backslash.
std::string testExecutableDirectory();
// Whether this executable runs as the child process of a test that set NV_CHILD to role.
bool isChildRole(const char* role);

// Runs a command line as a child process and waits for it; its standard output (and error,
// when asked) is collected. Returns the exit code, or -1 when it could not be started.
int runProcess(const std::string& commandLine, std::string* output = nullptr, DWORD timeoutMs = 60000,
               bool errorsToOutput = false);
// Runs the nvtool.exe beside the test executable; its exit code as text, for readable checks.
std::string nvtool(const std::string& arguments, std::string* output = nullptr, bool errorsToOutput = false);

// A child process whose standard output is read while it runs.
class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    bool start(const std::string& commandLine);
    // Reads output until a line beginning with prefix arrives; false after timeoutMs.
    bool waitForLine(const std::string& prefix, DWORD timeoutMs, std::string* line = nullptr);
    // Waits for the end (terminating it after timeoutMs) and returns its exit code, or -1.
    int wait(DWORD timeoutMs = 60000);
    void terminate();
    const std::string& output() const { return output_; }

  private:
    void readAvailable();
    HANDLE process_ = nullptr;
    HANDLE reader_ = nullptr;
    std::string output_;
    size_t scanned_ = 0;
};
