#pragma once
#include <string>
#include <vector>

#include "store/LastImport.h"

// The command groups of nvtool. Each takes the words after its group name and returns the
// process exit code: 0 success, 1 failure, 2 wrong usage (other codes where a group says so).
using Args = std::vector<std::string>;

int runConfigCommand(const Args& args);
int runStoreCommand(const Args& args);
int runFavoritesCommand(const Args& args); // exit codes: 0 done, 1 failed, 3 abandoned
int runBookmarksCommand(const Args& args);
// archive export|import|list|extract|create|tree; export and import exit 0 done, 1 failed,
// 3 abandoned (no room on the destination's drive).
int runArchiveCommand(const Args& args);

// favorites undo / archive undo [--show]: exit 0 undone (or shown), 1 nothing to undo or refused.
int runUndoCommand(ImportKind kind, const Args& args);

// The text with its line breaks as blanks, for one line on standard error.
std::string oneLine(std::string text);
// One line on standard error; returns 2.
int usageError(const std::string& text);
// "nvtool: <subject>: <reason>" on standard error; returns 1.
int failure(const std::string& subject, const std::string& reason);
// Names on standard error every entry the operation left out (takeLeftOut), one line each.
void reportLeftOut();
// Writes bytes to standard output unchanged (binary mode, no CR added).
void writeStdout(const std::string& bytes);
// The absolute form of a command-line path (the path itself when the system cannot tell).
// Opening the store makes the program's folder current, so paths are made absolute first.
std::string fullPath(const std::string& path);
