#!/usr/bin/env bash
# Fills the current Wine prefix ($WINEPREFIX) with the demo installation and configuration.
# usage: demo-environment.sh ROOT USER   (an empty USER removes "CurrentUser")
set -euo pipefail
root=$1; user=$2
build="$root/build/windows"
c="$WINEPREFIX/drive_c"
reg() { wine reg "$@" >/dev/null 2>&1; }

# The program folder with the program, its companion and the default skin when it was built.
program="$c/Programme/Quendal"
mkdir -p "$program/ini"
cp "$build/ImportExport.exe" "$build/nvtool.exe" "$program/"
[ -f "$build/Skin0000.ini" ] && cp "$build/Skin0000.ini" "$program/"
[ -d "$build/Skin0000" ] && cp -r "$build/Skin0000" "$program/"

# Shell folders and the suite's key.
shell='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
profile='C:\users\Demo'
mkdir -p "$c/users/Demo/Favoriten/News" "$c/users/Demo/Eigene Dateien" "$c/users/Demo/Anwendungsdaten"
# Wine rewrites "Shell Folders" from "User Shell Folders" when its server starts: set both.
user_shell='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
for key in "$shell" "$user_shell"; do
  reg add "$key" /v Favorites /d "$profile\\Favoriten" /f
  reg add "$key" /v Personal /d "$profile\\Eigene Dateien" /f
  reg add "$key" /v AppData /d "$profile\\Anwendungsdaten" /f
done
suite='HKCU\Software\Quendal\Quendal_Software_5\Browser'
if [ -n "$user" ]; then reg add "$suite" /v CurrentUser /d "$user" /f; else reg delete "$suite" /v CurrentUser /f || true; fi

# A few Internet Explorer favorites.
printf '[InternetShortcut]\r\nURL=http://www.example.org/' >"$c/users/Demo/Favoriten/Beispiel.url"
printf '[InternetShortcut]\r\nURL=http://news.example.org/' >"$c/users/Demo/Favoriten/News/Nachrichten.url"

# Saved pages of the page archive.
pages="$c/users/Demo/Eigene Dateien/Quendal_Software_5/Offline/Data/demo"
mkdir -p "$pages/Rom-Dateien"
printf '<html><body><h1>Rom</h1><img src="Rom-Dateien/bild.gif"></body></html>' >"$pages/Rom.htm"
printf 'GIF89a' >"$pages/Rom-Dateien/bild.gif"
printf '<html><body><h1>Florenz</h1></body></html>' >"$pages/Florenz.htm"

# Configuration: "system.ini" and "user.ini" in the common data folder, the per-user file
# enciphered in the user's application data folder (the name begins with "usr").
common=$(wine cmd /c echo %ProgramData% 2>/dev/null | tr -d '\r')
common_unix=$(winepath -u "$common" 2>/dev/null)
browser="$common_unix/Quendal/Quendal_Software_5/Browser"
mkdir -p "$browser" "$c/users/Demo/Anwendungsdaten/Quendal/Quendal_Software_5/Browser"
crlf() { sed 's/$/\r/'; }
crlf >"$browser/system.ini" <<'INI'
[Registry_HKLM]
Version="5.0"
[Offline]
DataFolder="%PERSONAL%\Quendal_Software_5\Offline\Data"
INI
crlf >"$browser/user.ini" <<'INI'
[Registry_HKCU]
CurrentSkin="Skin0000"
INI
plain=$(mktemp)
dataWin='C:\users\Demo\Eigene Dateien\Quendal_Software_5\Offline\Data\demo'
crlf >"$plain" <<INI
[Registry_HKCU]
CurrentSkin="Skin0000"
FavoritesRootName="Favoriten"
[NVFavTreeRoot]
item_0="Favoriten"
[NVFavTreeRoot\\Favoriten]
type="folder"
item_0="News"
item_1="Suchmaschine"
[NVFavTreeRoot\\Favoriten\\News]
type="folder"
item_0="Tagesschau"
[NVFavTreeRoot\\Favoriten\\News\\Tagesschau]
type="file"
URL="http://www.example.com/nachrichten"
CREATED_DATE="06.12.2004"
[NVFavTreeRoot\\Favoriten\\Suchmaschine]
type="file"
URL="http://search.example.com/"
CREATED_DATE="06.12.2004"
[NVOfflineTreeRoot]
type="folder"
item_0="Reisen"
[NVOfflineTreeRoot\\Reisen]
type="folder"
item_0="Rom"
item_1="Florenz"
[NVOfflineTreeRoot\\Reisen\\Rom]
type="file"
HREF="$dataWin\\Rom.htm"
DATE="07.03.2004"
URL="http://www.example.com/rom.htm"
[NVOfflineTreeRoot\\Reisen\\Florenz]
type="file"
HREF="$dataWin\\Florenz.htm"
DATE="08.03.2004"
URL="http://www.example.com/florenz.htm"
INI
wine "$program/nvtool.exe" config encrypt "$(winepath -w "$plain")" \
  'C:\users\Demo\Anwendungsdaten\Quendal\Quendal_Software_5\Browser\usr0001.ini' >/dev/null
rm -f "$plain"
