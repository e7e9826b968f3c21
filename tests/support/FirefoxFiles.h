#pragma once
// Firefox's bookmark files as Firefox writes them, for tests on every platform: a places database
// in write-ahead-log mode and jsonlz4 backups. Paths in UTF-8.
#include <lz4.h>
#include <sqlite3.h>

#include <cstdint>
#include <string>

// A places.sqlite with Firefox's two tables and its six roots (ids 1 to 6: root, menu, toolbar,
// tags, unfiled, mobile), in WAL mode. Rows written after keepInLog() stay in "-wal" only: the
// database is closed without a checkpoint and the log kept, as while Firefox runs.
class PlacesMaker {
  public:
    static constexpr int64_t kMenu = 2, kToolbar = 3, kTags = 4, kUnfiled = 5, kMobile = 6;

    explicit PlacesMaker(const std::string& path) {
        if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) return;
        run("PRAGMA journal_mode=WAL");
        run("CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, "
            "rev_host LONGVARCHAR, visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, "
            "typed INTEGER DEFAULT 0 NOT NULL, frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date "
            "INTEGER, "
            "guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL)");
        run("CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, "
            "parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, "
            "dateAdded INTEGER, lastModified INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0, "
            "syncChangeCounter INTEGER NOT NULL DEFAULT 1)");
        const char* roots[][2] = {{"root________", ""},        {"menu________", "menu"},
                                  {"toolbar_____", "toolbar"}, {"tags________", "tags"},
                                  {"unfiled_____", "unfiled"}, {"mobile______", "mobile"}};
        for (int i = 0; i < 6; ++i)
            row(2, 0, i == 0 ? 0 : 1, roots[i][1], roots[i][0]);
    }
    ~PlacesMaker() {
        if (!db_) return;
        if (inLog_) {
            int on = 1;
            sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
            sqlite3_file_control(db_, "main", SQLITE_FCNTL_PERSIST_WAL, &on);
        }
        sqlite3_close(db_);
    }
    PlacesMaker(const PlacesMaker&) = delete;
    PlacesMaker& operator=(const PlacesMaker&) = delete;

    bool ok() const { return db_ && ok_; }
    int64_t folder(int64_t parent, const std::string& title) { return row(2, 0, parent, title, ""); }
    int64_t separator(int64_t parent) { return row(3, 0, parent, "", ""); }
    // A bookmark of the page (added to moz_places once per URL); an empty title is stored as NULL.
    int64_t bookmark(int64_t parent, const std::string& title, const std::string& url,
                     const std::string& pageTitle = "", int64_t dateAdded = 0) {
        return row(1, place(url, pageTitle), parent, title, "", dateAdded);
    }
    // Everything so far goes into the database file; what follows stays in the log.
    void keepInLog() {
        run("PRAGMA wal_checkpoint(TRUNCATE)");
        run("PRAGMA wal_autocheckpoint=0");
        inLog_ = true;
    }

  private:
    void run(const std::string& sql) {
        ok_ = ok_ && sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    int64_t place(const std::string& url, const std::string& title) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db_, "INSERT INTO moz_places (url, title, guid) VALUES (?, ?, ?)", -1, &statement,
                           nullptr);
        sqlite3_bind_text(statement, 1, url.c_str(), -1, SQLITE_TRANSIENT);
        if (!title.empty()) sqlite3_bind_text(statement, 2, title.c_str(), -1, SQLITE_TRANSIENT);
        std::string guid = "place" + std::to_string(++places_);
        sqlite3_bind_text(statement, 3, guid.c_str(), -1, SQLITE_TRANSIENT);
        ok_ = ok_ && sqlite3_step(statement) == SQLITE_DONE;
        sqlite3_finalize(statement);
        return sqlite3_last_insert_rowid(db_);
    }

    int64_t row(int type, int64_t fk, int64_t parent, const std::string& title, std::string guid,
                int64_t dateAdded = 0) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(
            db_,
            "INSERT INTO moz_bookmarks (type, fk, parent, position, title, guid, dateAdded) "
            "VALUES (?, ?, ?, (SELECT COUNT(*) FROM moz_bookmarks WHERE parent = ?3), ?, ?, ?)",
            -1, &statement, nullptr);
        sqlite3_bind_int(statement, 1, type);
        if (fk) sqlite3_bind_int64(statement, 2, fk);
        sqlite3_bind_int64(statement, 3, parent);
        if (!title.empty()) sqlite3_bind_text(statement, 4, title.c_str(), -1, SQLITE_TRANSIENT);
        if (guid.empty()) guid = "bookmark" + std::to_string(++rows_);
        sqlite3_bind_text(statement, 5, guid.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(statement, 6, dateAdded);
        ok_ = ok_ && sqlite3_step(statement) == SQLITE_DONE;
        sqlite3_finalize(statement);
        return sqlite3_last_insert_rowid(db_);
    }

    sqlite3* db_ = nullptr;
    bool ok_ = true;
    bool inLog_ = false;
    int places_ = 0, rows_ = 0;
};

// A jsonlz4 backup of the JSON: "mozLz40\0", the size as 32-bit little-endian, one LZ4 block.
// sizeDelta falsifies the size in the header.
inline std::string jsonLz4(const std::string& json, int64_t sizeDelta = 0) {
    std::string packed(static_cast<size_t>(LZ4_compressBound(static_cast<int>(json.size()))), '\0');
    int length = LZ4_compress_default(json.data(), packed.data(), static_cast<int>(json.size()),
                                      static_cast<int>(packed.size()));
    packed.resize(static_cast<size_t>(length > 0 ? length : 0));
    const auto size = static_cast<uint32_t>(static_cast<int64_t>(json.size()) + sizeDelta);
    std::string header("mozLz40\0", 8);
    for (int shift = 0; shift < 32; shift += 8)
        header += static_cast<char>((size >> shift) & 0xFF);
    return header + packed;
}

// Backup JSON: a container (its root name, when given, marks a root) and a bookmark.
inline std::string backupContainer(const std::string& title, const std::string& root,
                                   const std::string& children) {
    return R"({"type":"text/x-moz-place-container","title":")" + title + "\"" +
           (root.empty() ? "" : R"(,"root":")" + root + "\"") + R"(,"children":[)" + children + "]}";
}
inline std::string backupBookmark(const std::string& title, const std::string& uri) {
    return R"({"type":"text/x-moz-place","title":")" + title + R"(","uri":")" + uri +
           R"(","dateAdded":1670000000000000})";
}
