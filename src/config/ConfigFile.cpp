#include "config/ConfigFile.h"

#include <windows.h>

#include <cstdio>

#include "config/Blowfish.h"
#include "config/Enciphered.h"
#include "config/IniDocument.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "platform/Host.h"
#include "platform/Platform.h"

namespace {
std::string errorText(DWORD code) {
    std::string text;
    getSystemErrorText(code, text);
    return text;
}

void reportWithError(const char* format, const std::string& path, DWORD code) {
    std::string error = errorText(code);
    std::string text(std::snprintf(nullptr, 0, format, path.c_str(), error.c_str()), '\0');
    std::snprintf(text.data(), text.size() + 1, format, path.c_str(), error.c_str());
    host().tell(text);
}

std::string folderOf(const std::string& path) {
    std::string parent = getParentPath(path);
    return parent.empty() ? std::string(".") : parent;
}
} // namespace

std::optional<std::string> readFile(const std::string& path, bool* encrypted) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        reportWithError("Fehler beim \xD6"
                        "ffnen der Datei:\n\"%s\"\n\n%s",
                        path, GetLastError());
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart >= 0x7FFFFFFF) {
        char text[1024];
        std::snprintf(text, sizeof(text), "Nicht genug Speicher (%lld) zum Lesen der Datei:\n\"%s\"",
                      static_cast<long long>(size.QuadPart) + 1, path.c_str());
        host().tell(text);
        return std::nullopt;
    }
    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) ||
        read != content.size()) {
        reportWithError("Fehler beim Lesen der Datei:\n\"%s\"\n\n%s", path, GetLastError());
        return std::nullopt;
    }
    bool enciphered = looksEnciphered(content);
    if (enciphered) decipherContent(content);
    if (encrypted) *encrypted = enciphered;
    return content;
}

namespace {
const char* const kOpenForSaveFailed = "Speichern: Fehler beim \xD6"
                                       "ffnen der Datei:\n\"%s\"\n\n%s";
const char* const kWriteFailed = "Fehler beim Schreiben in die Datei:\n\"%s\"\n\n%s";

bool writeAll(HANDLE file, const std::string& content) {
    DWORD written = 0;
    return WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
           written == content.size() && FlushFileBuffers(file);
}

enum class Replacement { done, noTemporary, writeFailed };

// Writes content to a temporary file beside path and renames it over path. noTemporary when the
// folder does not let us create a file there (nothing was changed).
Replacement replaceThroughTemporary(const std::string& path, const std::string& content,
                                    SECURITY_ATTRIBUTES& attributes, DWORD& error) {
    char temporary[MAX_PATH] = {};
    if (!GetTempFileNameA(folderOf(path).c_str(), "nvi", 0, temporary)) return Replacement::noTemporary;
    // The name was reserved by creating the file; create it afresh so that it gets the
    // security attributes (they apply only to new files).
    DeleteFileA(temporary);
    ScopedHandle file(CreateFileA(temporary, GENERIC_WRITE, 0, &attributes, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file) {
        DeleteFileA(temporary);
        return Replacement::noTemporary;
    }
    bool complete = writeAll(file.get(), content);
    error = GetLastError();
    file.reset();
    if (!complete) {
        DeleteFileA(temporary);
        return Replacement::writeFailed;
    }
    if (MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Replacement::done;
    error = GetLastError();
    DeleteFileA(temporary);
    return Replacement::writeFailed; // the old file stays as it was
}

// The old way: truncate the file and write it. Needs write rights on the file only.
bool writeInPlace(const std::string& path, const std::string& content, SECURITY_ATTRIBUTES& attributes) {
    ScopedHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, &attributes, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        reportWithError(kOpenForSaveFailed, path, GetLastError());
        return false;
    }
    if (!writeAll(file.get(), content)) {
        DWORD error = GetLastError();
        reportWithError(kWriteFailed, path, error ? error : ERROR_WRITE_FAULT);
        return false;
    }
    return true;
}
} // namespace

bool writeFile(const std::string& path, std::string& buffer) {
    if (buffer.size() > kMaxIniDocument) {
        reportDocumentTooLarge(path);
        return false;
    }
    if (fileExists(path)) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    SECURITY_DESCRIPTOR descriptor;
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), nullptr, TRUE};
    if (setNullDacl(descriptor)) attributes.lpSecurityDescriptor = &descriptor;

    encipherContent(buffer);
    DWORD error = 0;
    switch (replaceThroughTemporary(path, buffer, attributes, error)) {
    case Replacement::done:
        return true;
    case Replacement::writeFailed:
        reportWithError(kWriteFailed, path, error ? error : ERROR_WRITE_FAULT);
        return false;
    case Replacement::noTemporary:
        break;
    }
    // A folder where only the file itself is ours (per-user files with write rights on the file
    // alone): written in place, as it always was there.
    return writeInPlace(path, buffer, attributes);
}

bool isEncryptedFile(const std::string& path) {
    std::optional<std::string> content = readWholeFile(path);
    return content && !content->empty() && looksEnciphered(*content);
}

void reportDocumentTooLarge(const std::string& path) {
    host().tell("Die Datei \"" + path +
                "\" wurde nicht gespeichert:\nDie Konfiguration ist gr\xF6\xDF"
                "er als 1 MB.");
}
