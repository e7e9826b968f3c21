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

# A Windows program of the prefix with its output kept quiet. Now and then Wine cannot start a
# process at all: it finds the fixed address of its shared user data taken and ends with exit
# code 1 before the program runs. Such a start is tried again; other failures are shown.
wine_quiet() {
  local errors status=1
  for _ in 1 2 3; do
    errors=$(WINEDEBUG=-all,err+virtual wine "$@" 2>&1) && return 0
    status=$?
    grep -q "failed to map the shared user data" <<<"$errors" || break
  done
  printf '%s\n' "$errors" >&2
  return $status
}

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
wine_quiet regedit /S "$plainWin\\demo.reg"

# "system.ini" and "user.ini" in the common application data folder, the per-user file in the
# user's application data folder (its name begins with "usr"); all enciphered.
common='C:\ProgramData\Quendal\Quendal_Software_5\Browser'
mkdir -p "$c/ProgramData/Quendal/Quendal_Software_5/Browser"
encipher() { wine_quiet "$program/nvtool.exe" config encrypt "$plainWin\\$1" "$2"; }
encipher system.ini "$common\\system.ini"
encipher user.ini "$common\\user.ini"
if [ -n "$user" ]; then
  encipher "$user.ini" "C:\\users\\Demo\\Anwendungsdaten\\Quendal\\Quendal_Software_5\\Browser\\$user.ini"
fi
