#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <vector>

#include "config/SharedStore.h"
#include "favorites/BookmarkParser.h"
#include "favorites/BrowserImport.h"
#include "favorites/ExplorerFavorites.h"
#include "favorites/NetscapeProfiles.h"
#include "favorites/NetscapeTransfer.h"
#include "platform/FileSystem.h"
#include "platform/Host.h"
#include "platform/ProgramPaths.h"
#include "platform/Registry.h"
#include "store/NodeWalk.h"
#include "store/OperationResult.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"
#include "tool/Commands.h"
#include "tool/ConsoleHost.h"

namespace {
// Exit codes of the operations: 0 done, 1 failed, 3 abandoned.
int reportResult(int result) {
    const char* words = result == kOperationDone     ? "done"
                        : result == kOperationFailed ? "failed"
                                                     : "abandoned";
    writeStdout(std::string(words) + "\r\n");
    return result == kOperationDone ? 0 : result == kOperationFailed ? 1 : 3;
}

// Runs work(store) inside the store, opened as the program opens it and closed on every path.
template <typename Work> int withOpenStore(Work work) {
    std::string user =
        readRegistryString(HKEY_CURRENT_USER, std::string("Software\\") + getSuitePath(), "CurrentUser", "");
    if (user.empty()) return failure("favorites", "the suite has no \"CurrentUser\"");
    SharedStore store;
    if (!store.open()) std::fprintf(stderr, "nvtool: the shared configuration store could not be opened\n");
    return work(store);
}

// Removes "--yes" and "--no" from args; whether the last of them says Yes (default: No).
bool takeAnswerOption(Args& args) {
    bool yes = false;
    std::vector<std::string> rest;
    for (const std::string& arg : args) {
        if (arg == "--yes")
            yes = true;
        else if (arg == "--no")
            yes = false;
        else
            rest.push_back(arg);
    }
    args = rest;
    return yes;
}

void appendTree(NodeStore& nodes, const std::string& section, std::string& text) {
    forEachNode(nodes, section, [&](const NodeVisit& node) {
        std::string indent(node.depth * 2, ' ');
        if (node.kind == NodeKind::folder) {
            text += indent + "FOLDER [" + node.name + "]\r\n";
            return WalkStep::descend;
        }
        if (node.kind == NodeKind::file)
            text += indent + "LINK [" + node.name + "] [" + nodes.getNodeValue(node.section, kUrlKey) +
                    "]\r\n";
        return WalkStep::skip;
    });
}

int listFolder(const Args& args) {
    if (args.size() > 2) return usageError("favorites list takes at most FOLDER");
    std::string folder = args.size() == 2 ? args[1] : "";
    return withOpenStore([&folder](SharedStore& store) {
        SharedStoreNodes nodes(store);
        std::string section = folder.empty() ? getFavTreeRoot() : childSection(getFavTreeRoot(), folder);
        if (!folder.empty() && readNodeKind(nodes, section) != NodeKind::folder)
            return failure(folder, "is not a folder of the favorites");
        std::string text;
        appendTree(nodes, section, text);
        writeStdout(text);
        return 0;
    });
}

int listNetscapeUsers(const Args& args) {
    if (args.size() != 1) return usageError("favorites netscape-users takes no arguments");
    std::vector<std::string> users;
    if (!getNetscapeUserList(users)) return failure("netscape-users", "no Netscape Navigator profile users");
    std::string text;
    for (const std::string& user : users) {
        std::string path = resolveBookmarkPath(user);
        text +=
            user + " [" + path + "] " + (!path.empty() && fileExists(path) ? "exists" : "missing") + "\r\n";
    }
    writeStdout(text);
    return 0;
}

std::string backupNote(const std::string& date, const std::string& databaseProblem) {
    return "from the backup of " + date + " (the database: " + databaseProblem + ")";
}

// One line per profile: id, TAB, the wizard's text, TAB, the file read, TAB, the number of links
// (and the backup's date when Firefox's database could not be read) or why they cannot be read.
int listBrowsers(const Args& args) {
    if (args.size() != 1) return usageError("favorites browsers takes no arguments");
    std::string text;
    for (const BrowserProfile& profile : findBrowserProfiles()) {
        BrowserBookmarks bookmarks = readBrowserBookmarks(profile);
        std::string state = bookmarks.problem;
        if (state.empty()) state = std::to_string(bookmarks.links) + " links";
        if (bookmarks.problem.empty() && !bookmarks.backupDate.empty())
            state += " " + backupNote(bookmarks.backupDate, bookmarks.databaseProblem);
        const std::string& file = bookmarks.fileRead.empty() ? profile.bookmarksFile : bookmarks.fileRead;
        text += profile.id + "\t" + profile.displayText + "\t" + file + "\t" + state + "\r\n";
    }
    writeStdout(text);
    return 0;
}

int importBrowser(SharedStore& store, const Args& args) {
    BrowserImportNotes notes;
    int result = import_Browser(store, args[1], args[2], &notes);
    if (!notes.why.empty()) failure(args[2], notes.why);
    if (result == kOperationDone && !notes.backupDate.empty())
        writeStdout("read " + backupNote(notes.backupDate, notes.databaseProblem) + "\r\n");
    return result;
}

// The bookmark file exports read the store's tree only.
int exportFrom(SharedStore& store, int (*exportTo)(NodeStore&, const std::string&, const std::string&),
               const Args& args) {
    SharedStoreNodes nodes(store);
    return exportTo(nodes, args[1], args[2]);
}

using Operation = std::function<int(SharedStore&, const Args&)>;
struct OperationCommand {
    const char* usage; // the arguments after the command word
    Operation run;
    size_t argumentCount() const { return std::string(usage).find(' ') == std::string::npos ? 1 : 2; }
    bool takesFile() const { return std::string(usage).ends_with("FILE"); }
};

const std::map<std::string, OperationCommand>& operations() {
    static const std::map<std::string, OperationCommand> table = {
        {"import-ie", {"FOLDER", [](SharedStore& s, const Args& a) { return import_MIE(s, a[1]); }}},
        {"export-ie", {"FOLDER", [](SharedStore& s, const Args& a) { return export_MIE(s, a[1]); }}},
        {"import-nc",
         {"FOLDER USER", [](SharedStore& s, const Args& a) { return import_NC(s, a[1], a[2], false); }}},
        {"export-nc",
         {"FOLDER USER", [](SharedStore& s, const Args& a) { return exportFrom(s, export_NC, a); }}},
        {"import-file",
         {"FOLDER FILE", [](SharedStore& s, const Args& a) { return import_NCFile(s, a[1], a[2]); }}},
        {"export-file",
         {"FOLDER FILE", [](SharedStore& s, const Args& a) { return exportFrom(s, export_NCFile, a); }}},
        {"import-browser", {"FOLDER ID", importBrowser}},
    };
    return table;
}
} // namespace

int runFavoritesCommand(const Args& input) {
    if (input.empty()) return usageError("favorites needs a command");
    Args args = input;
    ConsoleHost answers({takeAnswerOption(args) ? IDYES : IDNO, false});
    HostScope answersScope(answers);
    if (args.empty()) return usageError("favorites needs a command");
    if (args[0] == "list") return listFolder(args);
    if (args[0] == "netscape-users") return listNetscapeUsers(args);
    if (args[0] == "browsers") return listBrowsers(args);
    if (args[0] == "undo") return runUndoCommand(ImportKind::favorites, args);
    auto command = operations().find(args[0]);
    if (command == operations().end()) return usageError("unknown favorites command '" + args[0] + "'");
    const OperationCommand& operation = command->second;
    if (args.size() != operation.argumentCount() + 1)
        return usageError("favorites " + args[0] + " takes " + operation.usage);
    if (operation.takesFile()) args[2] = fullPath(args[2]);
    return withOpenStore([&](SharedStore& store) {
        int result = operation.run(store, args);
        reportLeftOut();
        return reportResult(result);
    });
}

int runBookmarksCommand(const Args& args) {
    if (args.empty() || args[0] != "show") return usageError("bookmarks needs show");
    std::string file, root;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--root" && i + 1 < args.size())
            root = args[++i];
        else if (file.empty() && args[i] != "--root")
            file = args[i];
        else
            return usageError("bookmarks show takes FILE [--root NAME]");
    }
    if (file.empty()) return usageError("bookmarks show takes FILE [--root NAME]");
    CBookmarkParser parser(file);
    if (!root.empty()) parser.setRootName(root);
    if (!parser.loadFile()) return failure(file, "cannot be read");
    parser.parse();
    writeStdout(formatTree(*parser.bookmarkRoot));
    return 0;
}
