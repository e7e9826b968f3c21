#pragma once
#include <string>
#include <string_view>

#include "favorites/NodeStore.h"

// Appends the children of the store folder section as Netscape bookmark HTML: nothing when the
// section's "type" is not "folder"; folders with their children, links with their URL; children
// of other types are left out. Names and URLs are written as stored, without escaping.
void exportFolderToHtml(NodeStore& store, const std::string& section, std::string& text);
// The folder block of a store folder: its opening lines with name, its children, its list end.
std::string buildFolderBlock(NodeStore& store, const std::string& section, const std::string& name);
// Position of the last "</DL><p>" in text, or -1.
long findLastListEnd(std::string_view text);
// Inserts block just before the last "</DL><p>" of text, or in front of a text without one.
void insertBeforeLastListEnd(std::string& text, const std::string& block);
// The whole content of an Internet shortcut file: "[InternetShortcut]\r\nURL=" and the URL.
std::string internetShortcutContent(const std::string& url);
