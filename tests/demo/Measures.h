#pragma once
#include <optional>
#include <string>
#include <vector>

// What the store and the files hold, measured from outside the program: the store through the
// program's companion nvtool (as every program of the suite opens it), files and folders
// directly.

struct LinkCount {
    int folders = 0;
    int links = 0;
    bool operator==(const LinkCount&) const = default;
};
// "12 links in 5 folders"
std::string describe(const LinkCount& count);

struct PageTree {
    int folders = 0;
    std::vector<std::string> pageFiles; // the HREF of every page
};
std::string describe(const PageTree& tree);

struct ArchiveContent {
    std::vector<std::string> names; // the records, in archive order
    long long dataBytes = 0;
};

class Measures {
  public:
    explicit Measures(std::string nvtool) : nvtool_(std::move(nvtool)) {}

    // The favorites below a store folder (Favoriten\News).
    std::optional<LinkCount> favorites(const std::string& folder) const;
    // The folders and links of a bookmark file, below its first levels of folders.
    std::optional<LinkCount> bookmarkFile(const std::string& file, int levels) const;
    // The links of another browser's profile ("chrome:Default") as nvtool's list of them counts.
    std::optional<int> browserLinks(const std::string& profileId) const;
    // The page archive below a store folder (Reisen).
    std::optional<PageTree> archiveTree(const std::string& folder) const;
    std::optional<ArchiveContent> archiveFile(const std::string& file) const;
    // Why the last measurement failed.
    const std::string& problem() const { return problem_; }

  private:
    std::optional<std::string> run(const std::string& arguments) const;
    std::string nvtool_;
    mutable std::string problem_;
};

// The ".url" files and the folders below a folder, as Internet Explorer shows them.
LinkCount countShortcuts(const std::string& folder);
// The files below a folder, sub-folders included.
int countFiles(const std::string& folder);
