#include "favorites/PlacesDatabase.h"

#include <sqlite3.h>

#include <memory>

namespace {
struct CloseDatabase {
    void operator()(sqlite3* database) const { sqlite3_close(database); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

const char* const kQuery =
    "SELECT b.id, b.parent, b.type, b.position, b.title, b.guid, b.dateAdded, p.url, p.title "
    "FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk";

std::string textColumn(sqlite3_stmt* statement, int column) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              static_cast<size_t>(sqlite3_column_bytes(statement, column)))
                : std::string();
}

PlacesRow rowOf(sqlite3_stmt* statement) {
    PlacesRow row;
    row.id = sqlite3_column_int64(statement, 0);
    row.parent = sqlite3_column_int64(statement, 1);
    row.type = sqlite3_column_int(statement, 2);
    row.position = sqlite3_column_int64(statement, 3);
    row.title = textColumn(statement, 4);
    row.guid = textColumn(statement, 5);
    row.dateAdded = sqlite3_column_int64(statement, 6);
    row.url = textColumn(statement, 7);
    row.pageTitle = textColumn(statement, 8);
    return row;
}

PlacesRows failure(const std::string& error) {
    PlacesRows result;
    result.error = error.empty() ? "unbekannter Fehler" : error;
    return result;
}
} // namespace

PlacesRows readPlacesRows(const std::string& utf8Path) {
    sqlite3* opened = nullptr;
    int code = sqlite3_open_v2(utf8Path.c_str(), &opened, SQLITE_OPEN_READWRITE, nullptr);
    Database database(opened);
    if (code != SQLITE_OK) return failure(opened ? sqlite3_errmsg(opened) : sqlite3_errstr(code));
    sqlite3_busy_timeout(database.get(), 0);
    sqlite3_stmt* prepared = nullptr;
    code = sqlite3_prepare_v2(database.get(), kQuery, -1, &prepared, nullptr);
    Statement statement(prepared);
    if (code != SQLITE_OK) {
        std::string reason = sqlite3_errmsg(database.get());
        // A database without the two tables is some other program's.
        if (reason.find("no such table") != std::string::npos ||
            reason.find("no such column") != std::string::npos)
            return failure("keine Lesezeichen-Datenbank (" + reason + ")");
        return failure(reason);
    }
    PlacesRows result;
    while ((code = sqlite3_step(statement.get())) == SQLITE_ROW) {
        if (result.rows.size() == kMaxPlacesRows) return failure("zu viele Eintr\xE4ge");
        result.rows.push_back(rowOf(statement.get()));
    }
    if (code != SQLITE_DONE) return failure(sqlite3_errmsg(database.get()));
    return result;
}
