#!/usr/bin/env bash
# Fills the current Wine prefix ($WINEPREFIX) with the demo installation and its data, anew on
# every run: the program folder with the program, nvtool and the default skin; the shell
# folders; Internet Explorer favorites; a Netscape Navigator installation with two profile
# users; a stand-alone bookmark file; saved pages; and the suite's configuration with a
# favorites tree and a page archive, enciphered as the suite keeps it (scripts/demo_data.py
# describes the data).
# usage: demo-environment.sh ROOT USER   (an empty USER removes "CurrentUser")
set -euo pipefail
# A step that fails says which one: some steps keep their own output quiet.
trap 'echo "demo environment: \"$BASH_COMMAND\" failed with status $? (line $LINENO)" >&2' ERR
root=$1; user=$2
build="$root/build/windows"
c="$WINEPREFIX/drive_c"

# The program folder, without what an earlier run's exports left in its "ini" folder.
program="$c/Programme/Quendal"
rm -rf "$program/ini"
mkdir -p "$program/ini"
cp "$build/ImportExport.exe" "$build/nvtool.exe" "$program/"
[ -f "$build/Skin0000.ini" ] && cp "$build/Skin0000.ini" "$program/"
[ -d "$build/Skin0000" ] && cp -r "$build/Skin0000" "$program/"

# Wine draws the title-bar buttons with its own Marlett font (package fonts-wine), which this
# Wine finds only in the prefix's Fonts folder.
fonts="$c/windows/Fonts"
if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
  mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi

# The plain texts wait in the prefix's own temporary folder, where Wine finds them by C: paths.
plain="$c/windows/temp/nvdemo"
plainWin='C:\windows\temp\nvdemo'
rm -rf "$plain"
trap 'rm -rf "$plain"' EXIT
python3 "$root/scripts/demo_data.py" "$c" "$plain" "$user"
wine regedit /S "$plainWin\\demo.reg" >/dev/null 2>&1

# "system.ini" and "user.ini" in the common application data folder, the per-user file in the
# user's application data folder (its name begins with "usr"); all enciphered.
common='C:\ProgramData\Quendal\Quendal_Software_5\Browser'
mkdir -p "$c/ProgramData/Quendal/Quendal_Software_5/Browser"
encipher() { wine "$program/nvtool.exe" config encrypt "$plainWin\\$1" "$2" >/dev/null; }
encipher system.ini "$common\\system.ini"
encipher user.ini "$common\\user.ini"
if [ -n "$user" ]; then
  encipher "$user.ini" "C:\\users\\Demo\\Anwendungsdaten\\Quendal\\Quendal_Software_5\\Browser\\$user.ini"
fi
