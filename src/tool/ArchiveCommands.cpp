#include <windows.h>

#include <cstdio>
#include <optional>

#include "archive/ArchiveExport.h"
#include "archive/ArchiveFormat.h"
#include "archive/ArchiveImport.h"
#include "archive/FileArchive.h"
#include "config/SharedStore.h"
#include "platform/FileSystem.h"
#include "platform/Host.h"
#include "store/NodeWalk.h"
#include "store/OperationResult.h"
#include "store/SharedStoreNodes.h"
#include "store/StoreTree.h"
#include "tool/Commands.h"
#include "tool/ConsoleHost.h"

namespace {
std::string withoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == '\\' && path[path.size() - 2] != ':')
        path.pop_back();
    return path;
}

// Done, failed, and abandoned or no room become 0, 1 and 3.
int exitCodeOf(int result) {
    return result == kOperationDone ? 0 : result == kOperationFailed ? 1 : 3;
}

std::string describe(const RecordProblem& problem) {
    return "record " + std::to_string(problem.index) + " at offset " + std::to_string(problem.offset) +
           (problem.name.empty() ? "" : " (\"" + problem.name + "\")") + ": " + problem.reason;
}

int exportFolder(const Args& args) {
    if (args.size() != 3) return usageError("archive export takes FOLDER and FILE");
    const std::string file = fullPath(args[2]);
    int result;
    {
        SharedStore store;
        store.open();
        SharedStoreNodes nodes(store);
        result = export_Archiv2(nodes, args[1], file);
    }
    reportLeftOut();
    if (result == kOperationFailed)
        failure(file, "not written: the folder is not there, or packing or copying failed");
    if (result == kOperationAbandoned)
        std::fprintf(stderr, "nvtool: %s: no room on the destination's drive\n", file.c_str());
    return exitCodeOf(result);
}

int importArchive(const Args& args) {
    if (args.size() < 3) return usageError("archive import takes FOLDER, FILE and [--yes|--no] [--all]");
    QuestionAnswer answer{IDNO, false};
    for (size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--yes")
            answer.button = IDYES;
        else if (args[i] == "--no")
            answer.button = IDNO;
        else if (args[i] == "--all")
            answer.checked = true;
        else
            return usageError("unknown option '" + args[i] + "'");
    }
    const std::string file = fullPath(args[2]);
    int result;
    {
        ConsoleHost answers(answer, true);
        HostScope answersScope(answers);
        SharedStore store;
        store.open();
        result = import_Archiv(store, args[1], file);
    }
    reportLeftOut();
    return exitCodeOf(result);
}

int listArchive(const Args& args) {
    if (args.size() != 2) return usageError("archive list takes FILE");
    CFileArchive archive(args[1]);
    if (!archive.loadArchive()) return failure(args[1], "cannot be opened");
    ArchiveRecordReader reader(archive.content());
    std::string lines;
    size_t count = 0;
    while (std::optional<ArchiveRecord> record = reader.next()) {
        lines += std::to_string(record->dataSize) + "\t" + record->name + "\n";
        ++count;
    }
    writeStdout(lines);
    if (reader.problem()) return failure(args[1], describe(*reader.problem()));
    writeStdout(std::to_string(count) + "\n");
    return 0;
}

int extractArchive(const Args& args) {
    if (args.size() != 3) return usageError("archive extract takes FILE and DIR");
    CFileArchive archive(args[1]);
    if (!archive.loadArchive()) return failure(args[1], "cannot be opened");
    const std::string destination = withoutTrailingSeparator(fullPath(args[2]));
    if (!archive.extractAll(destination + "\\")) {
        if (archive.lastProblem())
            return failure(args[1], describe(*archive.lastProblem()) + "; nothing written");
        return failure(args[2], "extraction failed");
    }
    if (!isDirectory(destination)) createDirectory(destination, false);
    return 0;
}

int createArchive(const Args& args) {
    if (args.size() != 3) return usageError("archive create takes DIR and FILE");
    const std::string folder = withoutTrailingSeparator(fullPath(args[1]));
    if (!isDirectory(folder)) return failure(args[1], "is not a folder");
    if (!CFileArchive(fullPath(args[2])).createArchive(folder)) return failure(args[2], "packing failed");
    return 0;
}

void printTree(NodeStore& nodes, const std::string& section, std::string& out) {
    forEachNode(nodes, section, [&](const NodeVisit& node) {
        const std::string indent(2 * node.depth, ' ');
        if (node.kind == NodeKind::folder) {
            out += indent + node.name + "\\\n";
            return WalkStep::descend;
        }
        if (node.kind == NodeKind::file)
            out += indent + node.name + "\t" + nodes.getNodeValue(node.section, kHrefKey) + "\n";
        return WalkStep::skip;
    });
}

int showTree(const Args& args) {
    if (args.size() > 2) return usageError("archive tree takes [FOLDER]");
    SharedStore store;
    store.open();
    SharedStoreNodes nodes(store);
    std::string section = getOfflineTreeRoot();
    if (args.size() == 2 && !args[1].empty()) section = childSection(section, args[1]);
    std::string out;
    printTree(nodes, section, out);
    writeStdout(out);
    return 0;
}
} // namespace

int runArchiveCommand(const Args& args) {
    if (args.empty()) return usageError("archive needs export, import, list, extract, create, tree or undo");
    if (args[0] == "export") return exportFolder(args);
    if (args[0] == "import") return importArchive(args);
    if (args[0] == "list") return listArchive(args);
    if (args[0] == "extract") return extractArchive(args);
    if (args[0] == "create") return createArchive(args);
    if (args[0] == "tree") return showTree(args);
    if (args[0] == "undo") return runUndoCommand(ImportKind::archive, args);
    return usageError("unknown archive command '" + args[0] + "'");
}
