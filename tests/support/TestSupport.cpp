#include "support/TestSupport.h"

#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/Handles.h"

void MessageCapture::tell(const std::string& text, const std::string& title) {
    texts_.push_back(text);
    titles_.push_back(title);
}

QuestionAnswer QuestionScript::ask(const std::string& messageKey, const std::string& insertText) {
    asked_.push_back({messageKey, insertText});
    if (answers_.empty()) return fallback_;
    QuestionAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

TempDir::TempDir() {
    static int counter = 0;
    char base[MAX_PATH] = {};
    GetTempPathA(sizeof(base), base);
    char name[64];
    std::snprintf(name, sizeof(name), "nvtest_%lu_%d", GetCurrentProcessId(), ++counter);
    path_ = appendPath(base, name);
    deleteDirectory(path_);
    createDirectory(path_, false);
}

TempDir::~TempDir() {
    deleteDirectory(path_);
}

namespace {
std::optional<std::string> queryString(HKEY root, const std::string& subKey, const std::string& name,
                                       REGSAM view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    ScopedRegKey key(opened);
    char buffer[4096] = {};
    DWORD size = sizeof(buffer) - 1, type = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    return std::string(buffer);
}

void deleteValue(HKEY root, const std::string& subKey, const std::string& name, REGSAM view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_SET_VALUE | view, &opened) != ERROR_SUCCESS) return;
    ScopedRegKey key(opened);
    RegDeleteValueA(key.get(), name.c_str());
}
} // namespace

RegistryValueGuard::RegistryValueGuard(HKEY root, std::string subKey, std::string name,
                                       std::optional<std::string> value, REGSAM view)
    : root_(root), subKey_(std::move(subKey)), name_(std::move(name)), view_(view) {
    previous_ = queryString(root_, subKey_, name_, view_);
    if (value)
        setRegistryString(root_, subKey_, name_, *value, view_);
    else
        deleteValue(root_, subKey_, name_, view_);
}

RegistryValueGuard::~RegistryValueGuard() {
    if (previous_)
        setRegistryString(root_, subKey_, name_, *previous_, view_);
    else
        deleteValue(root_, subKey_, name_, view_);
}

bool writeTextFile(const std::string& path, const std::string& content) {
    return writeWholeFile(path, content.data(), content.size(), false, false);
}

std::string readTextFile(const std::string& path) {
    return readWholeFile(path).value_or(std::string());
}

void setRegistryString(HKEY root, const std::string& subKey, const std::string& name,
                       const std::string& value, REGSAM view) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &created,
                        nullptr) != ERROR_SUCCESS)
        return;
    ScopedRegKey key(created);
    RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

void deleteRegistryTree(HKEY root, const std::string& subKey, REGSAM view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_ALL_ACCESS | view, &opened) != ERROR_SUCCESS) return;
    ScopedRegKey key(opened);
    RegDeleteTreeA(key.get(), nullptr);
    RegDeleteKeyExA(root, subKey.c_str(), view, 0);
}

std::string testExecutableDirectory() {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, sizeof(module));
    std::string path = module;
    return path.substr(0, path.rfind('\\') + 1);
}

bool isChildRole(const char* role) {
    char value[32] = {};
    return GetEnvironmentVariableA("NV_CHILD", value, sizeof(value)) > 0 && std::string(value) == role;
}

int runProcess(const std::string& commandLine, std::string* output, DWORD timeoutMs, bool errorsToOutput) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return -1;
    ScopedHandle reader(readEnd), writer(writeEnd);
    SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writer.get();
    startup.hStdError = errorsToOutput ? writer.get() : GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    ScopedHandle processHandle(process.hProcess), threadHandle(process.hThread);
    writer.reset();

    std::string collected;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(reader.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        collected.append(buffer, read);
    if (WaitForSingleObject(processHandle.get(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(processHandle.get(), 99);
        return -1;
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(processHandle.get(), &exitCode);
    if (output) *output = std::move(collected);
    return static_cast<int>(exitCode);
}

ChildProcess::~ChildProcess() {
    terminate();
    if (reader_) CloseHandle(reader_);
}

bool ChildProcess::start(const std::string& commandLine) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
    ScopedHandle writer(writeEnd);
    reader_ = readEnd;
    SetHandleInformation(reader_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writer.get();
    startup.hStdError = writer.get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    return true;
}

void ChildProcess::readAvailable() {
    DWORD available = 0;
    while (reader_ && PeekNamedPipe(reader_, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char buffer[4096];
        DWORD read = 0;
        if (!ReadFile(reader_, buffer, available < sizeof(buffer) ? available : sizeof(buffer), &read,
                      nullptr) ||
            read == 0)
            break;
        output_.append(buffer, read);
    }
}

bool ChildProcess::waitForLine(const std::string& prefix, DWORD timeoutMs, std::string* line) {
    DWORD start = GetTickCount();
    for (;;) {
        readAvailable();
        size_t end;
        while ((end = output_.find('\n', scanned_)) != std::string::npos) {
            std::string current = output_.substr(scanned_, end - scanned_);
            scanned_ = end + 1;
            if (!current.empty() && current.back() == '\r') current.pop_back();
            if (current.rfind(prefix, 0) == 0) {
                if (line) *line = current;
                return true;
            }
        }
        if (GetTickCount() - start > timeoutMs) return false;
        if (process_ && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) {
            readAvailable();
            if (output_.find('\n', scanned_) == std::string::npos) return false;
            continue;
        }
        Sleep(10);
    }
}

int ChildProcess::wait(DWORD timeoutMs) {
    if (!process_) return -1;
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process_, 10) == WAIT_TIMEOUT) {
        readAvailable();
        if (GetTickCount() - start > timeoutMs) {
            terminate();
            return -1;
        }
    }
    readAvailable();
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    CloseHandle(process_);
    process_ = nullptr;
    return static_cast<int>(code);
}

void ChildProcess::terminate() {
    if (!process_) return;
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
    process_ = nullptr;
}

std::string nvtool(const std::string& arguments, std::string* output, bool errorsToOutput) {
    std::string collected;
    int code = runProcess("\"" + testExecutableDirectory() + "nvtool.exe\" " + arguments, &collected, 60000,
                          errorsToOutput);
    if (output) *output = collected;
    return std::to_string(code);
}
