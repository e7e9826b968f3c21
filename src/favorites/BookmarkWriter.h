#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "store/NodeStore.h"

// Appends the children of the store folder section as Netscape bookmark HTML: nothing when the
// section's "type" is not "folder"; folders with their children, links with their URL; children
// of other types are left out. Names and URLs are written as stored, without escaping.
void exportFolderToHtml(NodeStore& store, const std::string& section, std::string& text);
// The folder block of a store folder: its opening lines with name, its children, its list end.
std::string buildFolderBlock(NodeStore& store, const std::string& section, const std::string& name);
// The conversion of ANSI text to UTF-16; nullopt when it fails.
using AnsiToWide = std::function<std::optional<std::u16string>(std::string_view)>;
// ANSI text as UTF-8, through the given conversion; nullopt when it fails.
std::optional<std::string> ansiToUtf8(std::string_view text, const AnsiToWide& toWide);
// A whole bookmark file holding the folder block of a store folder, in UTF-8: the lines that
// declare the document, its charset and its title, the outer list "<DL><p>", the block converted
// from ANSI and "</DL><p>". nullopt when the conversion fails.
std::optional<std::string> buildBookmarkDocument(NodeStore& store, const std::string& section,
                                                 const std::string& name, const AnsiToWide& toWide);
// Position of the last "</DL><p>" in text, or -1.
long findLastListEnd(std::string_view text);
// Inserts block just before the last "</DL><p>" of text, or in front of a text without one.
void insertBeforeLastListEnd(std::string& text, const std::string& block);
// Inserts an ANSI folder block into an existing bookmark file as insertBeforeLastListEnd does,
// converted to UTF-8 when the file declares UTF-8 as the reader tests it. false, with the text
// unchanged, when the conversion fails.
bool insertFolderBlock(std::string& text, const std::string& block, const AnsiToWide& toWide);
// The whole content of an Internet shortcut file: "[InternetShortcut]\r\nURL=" and the URL.
std::string internetShortcutContent(const std::string& url);
