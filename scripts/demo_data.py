#!/usr/bin/env python3
"""Writes the data of the demo installation into a Wine prefix's drive C.

Usage: demo_data.py DRIVE_C PLAIN_DIR USER

- the Internet Explorer favorites: ".url" shortcuts in nested folders of C:\\users\\Demo\\Favoriten;
- a Netscape Navigator installation in C:\\Programme\\Netscape with the profile users "anna"
  (with a bookmark file) and "bert" (without one);
- the stand-alone bookmark file C:\\users\\Demo\\Eigene Dateien\\Lesezeichen.htm (UTF-8);
- Google Chrome with the profiles "Person 1" and "Arbeit" (the latter with the signed-in
  account's bookmarks) and Microsoft Edge, in the local application data folder;
- saved pages with their companion folders (images, style sheets) in nested folders of the
  offline data folder;
- PLAIN_DIR/system.ini, user.ini and USER.ini: the configuration in plain text (Windows-1252,
  CR LF), with the favorites tree and the page archive tree; the caller enciphers them;
- PLAIN_DIR/demo.reg: the shell folders, the suite's "CurrentUser" (removed when USER is
  empty) and the Netscape Navigator keys, for "regedit /S".

Earlier demo data (the user's folders, the Netscape installation) is removed first, so every
run starts from the same state. Texts are written in UTF-8 here and stored in Windows-1252.
"""
import json
import os
import shutil
import struct
import sys
import zlib

PROFILE = "C:\\users\\Demo"
PERSONAL = PROFILE + "\\Eigene Dateien"
FAVORITES = PROFILE + "\\Favoriten"
APPDATA = PROFILE + "\\Anwendungsdaten"
LOCAL_APPDATA = PROFILE + "\\Lokale Einstellungen\\Anwendungsdaten"
CHROME = LOCAL_APPDATA + "\\Google\\Chrome\\User Data"
EDGE = LOCAL_APPDATA + "\\Microsoft\\Edge\\User Data"
OFFLINE_DATA = PERSONAL + "\\Quendal_Software_5\\Offline\\Data"
PAGES = OFFLINE_DATA + "\\demo"
NETSCAPE = "C:\\Programme\\Netscape"
DATE = "06.12.2004"

# The suite's favorites: folders are dicts, links are URLs. The three empty folders receive the
# tour's imports.
STORE_FAVORITES = {
    "Nachrichten": {
        "Tagesschau": "http://www.tagesschau.example/",
        "Süddeutsche Zeitung": "http://www.sueddeutsche.example/",
        "Wetter": {"Deutscher Wetterdienst": "http://www.dwd.example/",
                   "Regenradar für Köln": "http://radar.example/koeln"},
    },
    "Reisen": {
        "Bahn": {"Fahrplanauskunft": "http://reiseauskunft.bahn.example/"},
        "Städtereisen nach München": "http://www.muenchen.example/",
    },
    "Suchmaschine": "http://search.example.com/",
    "Aus dem Internet Explorer": {},
    "Aus Netscape": {},
    "Aus einer Datei": {},
    "Aus Chrome": {},
}

EXPLORER_FAVORITES = {
    "Beispiel": "http://www.example.org/",
    "Wetterdienst": "http://www.wetter.example/",
    "Nachrichten": {
        "Tagesschau": "http://www.tagesschau.example/",
        "Börse": "http://boerse.example/",
        "Sport": {"Fußball-Bundesliga": "http://www.bundesliga.example/",
                  "Formel 1": "http://formel1.example/"},
    },
    "Reisen": {
        "Deutsche Bahn": "http://www.bahn.example/",
        "Flughafen München": "http://www.munich-airport.example/",
        "Städte": {"Köln": "http://www.koeln.example/", "Zürich": "http://www.zuerich.example/",
                   "Wien": "http://www.wien.example/"},
    },
    "Links": {"Suchmaschine": "http://search.example.com/"},
}

ANNA_BOOKMARKS = {
    "Persönliche Symbolleiste": {
        "Wörterbuch": "http://www.woerterbuch.example/",
        "Übersetzer": "http://translate.example/",
    },
    "Einkaufen": {
        "Bücher": "http://www.buecher.example/",
        "Möbelhaus": "http://www.moebel.example/",
        "Elektronik": {"Händlerverzeichnis": "http://haendler.example/"},
    },
    "Netscape": {"Netscape Netcenter": "http://home.netscape.example/",
                 "Hilfe": "http://help.netscape.example/"},
    "Straßenkarte": "http://www.karten.example/",
}

FILE_BOOKMARKS = {
    "Kochen": {"Käsespätzle": "http://rezepte.example/kaesespaetzle",
               "Weinführer": "http://wein.example/"},
    "Musik": {"Konzertkalender": "http://konzerte.example/"},
    "Zeitschriften": "http://kiosk.example/",
}

# Chromium-based browsers' bookmarks: roots hold folders (dicts) and links (URLs); a list of
# pairs keeps two folders of the same name side by side.
CHROME_PERSON_1 = {
    "bookmark_bar": [
        ("Nachrichten", {"Tagesschau": "https://www.tagesschau.example/",
                         "Börse & Wirtschaft": "https://boerse.example/"}),
        ("Neuer Ordner", {"Straßenbahn Köln": "https://kvb.example/"}),
        ("Neuer Ordner", {"Öffnungszeiten": "https://rathaus.example/zeiten"}),
        ("Einstellungen", "chrome://settings/"),
    ],
    "other": [("Reisen", {"Italien": {"Rom für 5 €": "https://rom.example/"}})],
}
CHROME_WORK = {"bookmark_bar": [("Intranet", "https://intranet.example/")]}
CHROME_WORK_ACCOUNT = {"bookmark_bar": [("Kalender", "https://kalender.example/")],
                       "other": [("Team", {"Wiki": "https://wiki.example/"})]}
EDGE_DEFAULT = {"bookmark_bar": [("Wetter", "https://wetter.example/")]}

# The page archive: folders are dicts, pages are (file below PAGES, title, address, images).
ARCHIVE = {
    "Reisen": {
        "Italien": {
            "Rom": ("Reisen\\Italien\\Rom.htm", "Rom – Stadt der sieben Hügel",
                    "http://www.reisen.example/rom.htm", ["kolosseum.png", "forum.png"]),
            "Florenz": ("Reisen\\Italien\\Florenz.htm", "Florenz und die Toskana",
                        "http://www.reisen.example/florenz.htm", ["dom.png"]),
        },
        "Österreich": {
            "Wien": ("Reisen\\Österreich\\Wien.htm", "Wien: Kaffeehäuser und Museen",
                     "http://www.reisen.example/wien.htm", ["stephansdom.png"]),
        },
        "Reisetipps": ("Reisen\\Reisetipps.htm", "Reisetipps für den Sommer",
                       "http://www.reisen.example/tipps.htm", []),
    },
    "Rezepte": {
        "Käsespätzle": ("Rezepte\\Käsespätzle.htm", "Käsespätzle nach Allgäuer Art",
                        "http://rezepte.example/kaesespaetzle", ["spaetzle.png"]),
        "Apfelstrudel": ("Rezepte\\Apfelstrudel.htm", "Wiener Apfelstrudel",
                         "http://rezepte.example/apfelstrudel", ["strudel.png"]),
    },
    "Aus dem Archiv": {},
}


def unix(drive_c, windows_path):
    """The host path of a C: path of the prefix."""
    return os.path.join(drive_c, *windows_path[3:].split("\\"))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def ansi(text):
    return text.replace("\n", "\r\n").encode("cp1252")


# --- Internet shortcuts and bookmark files ---------------------------------------------------

def write_shortcuts(drive_c, folder, tree):
    for name, value in tree.items():
        path = folder + "\\" + name
        if isinstance(value, dict):
            os.makedirs(unix(drive_c, path), exist_ok=True)
            write_shortcuts(drive_c, path, value)
        else:
            write(unix(drive_c, path + ".url"), ansi("[InternetShortcut]\nURL=%s\n" % value))


def bookmark_list(tree, depth):
    indent = "    " * depth
    lines = [indent + "<DL><p>"]
    for name, value in tree.items():
        if isinstance(value, dict):
            lines.append('%s    <DT><H3 ADD_DATE="1102330800">%s</H3>' % (indent, name))
            lines.extend(bookmark_list(value, depth + 1))
        else:
            lines.append('%s    <DT><A HREF="%s" ADD_DATE="1102330800" LAST_VISIT="0">%s</A>'
                         % (indent, value, name))
    lines.append(indent + "</DL><p>")
    return lines


def bookmark_file(title, tree, utf8):
    head = ["<!DOCTYPE NETSCAPE-Bookmark-file-1>",
            "<!-- This is an automatically generated file.",
            "It will be read and overwritten.",
            "Do Not Edit! -->"]
    if utf8:
        head.append('<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">')
    head += ["<TITLE>%s</TITLE>" % title, "<H1>%s</H1>" % title, ""]
    text = "\n".join(head + bookmark_list(tree, 0)) + "\n"
    return text.encode("utf-8") if utf8 else ansi(text)


def chromium_nodes(items, counter):
    nodes = []
    for name, value in items:
        counter[0] += 1
        node = {"date_added": str(13300000000000000 + counter[0] * 1000000), "id": str(counter[0]),
                "name": name}
        if isinstance(value, dict):
            node.update(type="folder", children=chromium_nodes(value.items(), counter))
        else:
            node.update(type="url", url=value)
        nodes.append(node)
    return nodes


def chromium_bookmarks(roots):
    """A Bookmarks file of a Chromium-based browser (JSON in UTF-8)."""
    counter = [0]
    names = {"bookmark_bar": "Bookmarks bar", "other": "Other bookmarks", "synced": "Mobile bookmarks"}
    document = {"checksum": "0", "roots": {}, "version": 1}
    for key, name in names.items():
        document["roots"][key] = {"children": chromium_nodes(roots.get(key, []), counter), "name": name,
                                  "type": "folder"}
    return json.dumps(document, ensure_ascii=False, indent=3).encode("utf-8")


def local_state(profiles):
    cache = {folder: {"name": name} for folder, name in profiles}
    return json.dumps({"profile": {"info_cache": cache}}, ensure_ascii=False).encode("utf-8")


# --- Saved pages ---------------------------------------------------------------------------

def png(width, height, top, bottom, mark):
    """A small picture: a vertical gradient with a lighter disc, as a PNG file."""
    rows = []
    for y in range(height):
        t = y / (height - 1)
        base = [round(top[i] + (bottom[i] - top[i]) * t) for i in range(3)]
        row = bytearray([0])
        for x in range(width):
            dx, dy = x - width * 0.7, y - height * 0.4
            inside = dx * dx + dy * dy < (height * 0.22) ** 2
            row += bytes(mark if inside else base)
        rows.append(bytes(row))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows)))
            + chunk(b"IEND", b""))


STYLE = """body { font-family: Tahoma, sans-serif; margin: 2em; color: #1f2933; }
h1 { color: #2f6fde; font-size: 1.6em; }
img { border: 1px solid #c8d0da; margin: 0.5em; }
"""


def write_page(drive_c, relative, title, address, images):
    page = PAGES + "\\" + relative
    companion = page[:-4] + "-Dateien"
    companion_name = companion.rsplit("\\", 1)[1]
    pictures = "\n".join('<img src="%s/%s" alt="%s">' % (companion_name, image, image[:-4])
                         for image in images)
    style = '<link rel="stylesheet" href="%s/stil.css">\n' % companion_name if images else ""
    html = ('<html>\n<head>\n<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">\n'
            "<title>%s</title>\n%s</head>\n<body>\n<h1>%s</h1>\n"
            "<p>Gespeichert am %s von %s</p>\n%s\n</body>\n</html>\n"
            % (title, style, title, DATE, address, pictures))
    write(unix(drive_c, page), ansi(html))
    if not images:
        return
    write(unix(drive_c, companion + "\\stil.css"), STYLE.encode("ascii"))
    for number, image in enumerate(images):
        shade = 40 * number
        write(unix(drive_c, companion + "\\" + image),
              png(96, 64, (47, 111 + shade // 2, 222), (232, 240, 253), (255, 214 - shade, 120)))


def write_pages(drive_c, tree):
    for value in tree.values():
        if isinstance(value, dict):
            write_pages(drive_c, value)
        else:
            write_page(drive_c, *value)


# --- Configuration -------------------------------------------------------------------------

def ini_tree(section, tree, lines, favorites):
    """Sections of a store tree below section, in the configuration file syntax."""
    lines += ["[%s]" % section, 'type="folder"']
    lines += ['item_%d="%s"' % (i, name) for i, name in enumerate(tree)]
    for name, value in tree.items():
        child = section + "\\" + name
        if isinstance(value, dict):
            ini_tree(child, value, lines, favorites)
        elif favorites:
            lines += ["[%s]" % child, 'type="file"', 'URL="%s"' % value, 'CREATED_DATE="%s"' % DATE]
        else:
            relative, _, address, _ = value
            lines += ["[%s]" % child, 'type="file"', 'HREF="%s\\%s"' % (PAGES, relative),
                      'DATE="%s"' % DATE, 'URL="%s"' % address]


def user_ini():
    lines = ["[Registry_HKCU]", 'CurrentSkin="Skin0000"', 'FavoritesRootName="Favoriten"',
             "[NVFavTreeRoot]", 'item_0="Favoriten"']
    ini_tree("NVFavTreeRoot\\Favoriten", STORE_FAVORITES, lines, True)
    ini_tree("NVOfflineTreeRoot", ARCHIVE, lines, False)
    return ansi("\n".join(lines) + "\n")


SYSTEM_INI = """[Registry_HKLM]
Version="5.0"
[Offline]
DataFolder="%PERSONAL%\\Quendal_Software_5\\Offline\\Data"
"""

USER_DEFAULTS_INI = """[Registry_HKCU]
CurrentSkin="Skin0000"
"""


def registry(user):
    shell = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
    navigator = "HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator"
    quote = lambda text: '"%s"' % text.replace("\\", "\\\\")
    lines = ["REGEDIT4", ""]
    # Wine rewrites "Shell Folders" from "User Shell Folders" when its server starts: set both.
    for key in ("Shell Folders", "User Shell Folders"):
        lines += ["[%s%s]" % (shell, key), '"Favorites"=' + quote(FAVORITES),
                  '"Personal"=' + quote(PERSONAL), '"AppData"=' + quote(APPDATA),
                  '"Local AppData"=' + quote(LOCAL_APPDATA), ""]
    lines += ["[HKEY_CURRENT_USER\\Software\\Quendal\\Quendal_Software_5\\Browser]",
              '"CurrentUser"=' + (quote(user) if user else "-"), ""]
    # Netscape Navigator 4: "anna" finds her profile through her mail server's state file,
    # "bert" through the install directory (his profile has no bookmark file). A 32-bit program:
    # its machine key lies in the 32-bit view of 64-bit Windows (Wow6432Node).
    lines += ["[-HKEY_CURRENT_USER\\Software\\Netscape]", "",
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Netscape\\Netscape Navigator]",
              '"CurrentVersion"="4.79 (de)"', "",
              "[%s\\Main]" % navigator, '"Install Directory"=' + quote(NETSCAPE + "\\Communicator"), "",
              "[%s\\biff]" % navigator, '"CurrentUser"="anna"', "",
              "[%s\\biff\\users\\anna]" % navigator, '"defaultServer"="pop.example.org"', "",
              "[%s\\biff\\users\\anna\\servers\\pop.example.org]" % navigator,
              '"popstatePath"=' + quote(NETSCAPE + "\\Users\\anna\\mail\\popstate.dat"), "",
              "[%s\\biff\\users\\bert]" % navigator, '"email"="bert@example.org"', ""]
    return ansi("\n".join(lines) + "\n")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    drive_c, plain_dir, user = sys.argv[1:]
    for old in (PROFILE, NETSCAPE):
        shutil.rmtree(unix(drive_c, old), ignore_errors=True)
    for folder in (PERSONAL, APPDATA + "\\Quendal\\Quendal_Software_5\\Browser"):
        os.makedirs(unix(drive_c, folder), exist_ok=True)

    write_shortcuts(drive_c, FAVORITES, EXPLORER_FAVORITES)
    write(unix(drive_c, FAVORITES + "\\desktop.ini"), ansi("[.ShellClassInfo]\nLocalizedResourceName=Favoriten\n"))

    write(unix(drive_c, NETSCAPE + "\\Communicator\\netscape.exe"), b"")
    write(unix(drive_c, NETSCAPE + "\\Users\\anna\\bookmark.htm"),
          bookmark_file("Lesezeichen von Anna", ANNA_BOOKMARKS, False))
    write(unix(drive_c, NETSCAPE + "\\Users\\anna\\mail\\popstate.dat"), b"")
    os.makedirs(unix(drive_c, NETSCAPE + "\\Users\\bert\\mail"), exist_ok=True)
    write(unix(drive_c, PERSONAL + "\\Lesezeichen.htm"), bookmark_file("Lesezeichen", FILE_BOOKMARKS, True))

    write(unix(drive_c, CHROME + "\\Local State"), local_state([("Default", "Person 1"), ("Profile 1", "Arbeit")]))
    write(unix(drive_c, CHROME + "\\Default\\Bookmarks"), chromium_bookmarks(CHROME_PERSON_1))
    write(unix(drive_c, CHROME + "\\Profile 1\\Bookmarks"), chromium_bookmarks(CHROME_WORK))
    write(unix(drive_c, CHROME + "\\Profile 1\\AccountBookmarks"), chromium_bookmarks(CHROME_WORK_ACCOUNT))
    write(unix(drive_c, EDGE + "\\Default\\Bookmarks"), chromium_bookmarks(EDGE_DEFAULT))

    write_pages(drive_c, ARCHIVE)

    write(os.path.join(plain_dir, "system.ini"), ansi(SYSTEM_INI))
    write(os.path.join(plain_dir, "user.ini"), ansi(USER_DEFAULTS_INI))
    if user:
        write(os.path.join(plain_dir, user + ".ini"), user_ini())
    write(os.path.join(plain_dir, "demo.reg"), registry(user))


if __name__ == "__main__":
    main()
