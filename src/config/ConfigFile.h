#pragma once
#include <optional>
#include <string>
#include <string_view>

// Whole configuration files: read (deciphered when the content says so) and written enciphered.
// Failures are reported with the German fixed messages through the message seam.

// The file's content, deciphered when it looks enciphered; nullopt after a message.
std::optional<std::string> readFile(const std::string& path, bool* encrypted = nullptr);
// Enciphers buffer in place and writes it. The new content goes to a temporary file in the same
// folder first and replaces the old file only when it is complete; where the folder does not let
// us create a file, the file is written in place instead. Content over the document
// limit is refused. False after a message.
bool writeFile(const std::string& path, std::string& buffer);
// Whether the file's content holds a control byte other than TAB, LF and CR.
bool isEncryptedFile(const std::string& path);
// The message for a document that exceeds the size limit of a configuration file.
void reportDocumentTooLarge(const std::string& path);
