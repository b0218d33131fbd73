#!/usr/bin/env bash
# Builds the Debian packages with ./scripts/package.sh and checks them without installing them:
# the source package, the binary package and its debug symbols are there; the upstream tarball
# holds what git tracks; the binary package's files and their modes, its control fields, that
# it carries no update machinery and no library search path, the desktop entry, metainfo and
# manual page through their checkers, and lintian on all of them. First, that package.sh refuses
# a folder that holds files it did not make.
# Usage: package_test.sh SOURCE_DIR WORK_DIR VERSION
set -uo pipefail
source=$1 work=$2 version=$3
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# A folder that holds what package.sh did not make is refused, and left as it was.
rm -rf -- "$work"
mkdir -p -- "$work/notes"
echo "a note" >"$work/notes/my-notes.txt"
"$source/scripts/package.sh" "$work/notes" "$work/out" >"$work/refused.log" 2>&1 &&
    fail "package.sh took a folder of someone else's"
[[ -f $work/notes/my-notes.txt && ! -e $work/out ]] || fail "package.sh touched a folder it refused"

if ! "$source/scripts/package.sh" "$work/build" "$work/out" >"$work/package.log" 2>&1; then
    tail -n 40 -- "$work/package.log" >&2
    echo "FAIL: package.sh failed" >&2
    exit 1
fi
debs=("$work"/out/reversi_*.deb)
deb=${debs[0]}
[[ ${#debs[@]} == 1 && -f $deb ]] || { echo "FAIL: not one package in $work/out" >&2; exit 1; }
for made in "$work/out/reversi_$version"-*.dsc "$work/out/reversi-dbgsym_$version"-*.deb; do
    [[ -f $made ]] || fail "package.sh made no $(basename -- "$made")"
done
root=$work/root
rm -rf -- "$root"
dpkg-deb -x "$deb" "$root" || exit 1

# The application id names the metainfo, the desktop entry and the icons.
metainfos=("$root"/usr/share/metainfo/*.metainfo.xml)
id=$(basename -- "${metainfos[0]}" .metainfo.xml)
[[ ${#metainfos[@]} == 1 && $id =~ ^[A-Za-z][A-Za-z0-9_]*(\.[A-Za-z_][A-Za-z0-9_-]*)+$ ]] ||
    fail "not one metainfo named after a reverse-DNS id: ${metainfos[*]}"
grep -Fq "<id>$id</id>" "${metainfos[0]}" || fail "the metainfo's id is not $id"

# Its files: exactly these, owned by root, with these modes; every folder 0755.
expected_files="\
./usr/games/reversi -rwxr-xr-x
./usr/share/applications/$id.desktop -rw-r--r--
./usr/share/doc/reversi/changelog.Debian.gz -rw-r--r--
./usr/share/doc/reversi/copyright -rw-r--r--
$(for pixels in 128 16 24 256 32 48 512 64; do
    echo "./usr/share/icons/hicolor/${pixels}x$pixels/apps/$id.png -rw-r--r--"
done)
./usr/share/icons/hicolor/scalable/apps/$id.svg -rw-r--r--
./usr/share/man/man6/reversi.6.gz -rw-r--r--
./usr/share/metainfo/$id.metainfo.xml -rw-r--r--"
listing=$(dpkg-deb -c "$deb") || exit 1
files=$(awk '$1 !~ /^d/ { print $6, $1 }' <<<"$listing" | LC_ALL=C sort)
if [[ $files != "$expected_files" ]]; then
    fail "the package's files differ from the expected ones:"
    diff <(echo "$expected_files") <(echo "$files") >&2
fi
awk '$2 != "root/root" || ($1 ~ /^d/ && $1 != "drwxr-xr-x") { print "  " $0 }' <<<"$listing" |
    grep . >&2 && fail "files not owned by root or folders not 0755 (above)"

# Control fields: FIELD EXTENDED-REGEX. The dependencies are those of the program's libraries,
# with the least versions dpkg-shlibdeps finds for the symbols it uses.
version_pattern=${version//./\\.}
while read -r field pattern; do
    value=$(dpkg-deb -f "$deb" "$field")
    [[ $value =~ $pattern ]] || fail "control field $field: '$value' does not match $pattern"
done <<FIELDS
Package ^reversi$
Version ^$version_pattern-[0-9]+$
Architecture ^$(dpkg --print-architecture)$
Section ^games$
Priority ^optional$
Maintainer ^[^<>]+ <[^<>@ ]+@[^<>@ ]+>$
Depends (^|, )libqt6widgets6 \(>= [0-9.]+\)(,|$)
Depends (^|, )libqt6gui6 \(>= [0-9.]+\)(,|$)
Depends (^|, )libqt6core6 \(>= [0-9.]+\)(,|$)
Depends (^|, )libc6 \(>= [0-9.]+\)(,|$)
Recommends (^|, )qt6-wayland(,|$)
FIELDS

# The upstream tarball holds the files git tracks at HEAD outside debian/, nothing else.
if [[ $(git -C "$source" rev-parse --show-toplevel 2>/dev/null) == "$source" ]]; then
    diff <(git -C "$source" ls-tree -r --name-only HEAD | grep -v '^debian/' | LC_ALL=C sort) \
        <(tar -tzf "$work"/out/reversi_*.orig.tar.gz | sed 's,^[^/]*/,,' | LC_ALL=C sort) >&2 ||
        fail "the upstream tarball differs from the files git tracks at HEAD (above)"
fi

# No update machinery: the program holds neither the embedded downloader (Qt resource names,
# UTF-16 big-endian) nor the update check's version file name (UTF-16 little-endian).
program=$root/usr/games/reversi
strings -a -e b "$program" | grep -Ex 'wget|Downloader' >&2 && fail "the program carries the downloader"
strings -a -e l "$program" | grep -F 'version.txt' >&2 && fail "the program checks for updates"
# No library search path of its own: the system's libraries are found where the system keeps them.
readelf -d "$program" | grep -E '\((RPATH|RUNPATH)\)' >&2 && fail "the program carries a library search path"

# The desktop files and the manual page pass their checkers; the entry starts the packaged program.
# Each icon is as large as the folder of the theme it lies in says.
for icon in "$root"/usr/share/icons/hicolor/*x*/apps/*.png; do
    size=$(basename -- "$(dirname -- "$(dirname -- "$icon")")")
    file -- "$icon" | grep -Fq "PNG image data, ${size/x/ x }," || fail "$icon is not $size pixels"
done

# The entry tells the desktop it starts this application, and how to know its window.
desktop=$root/usr/share/applications/$id.desktop
desktop-file-validate "$desktop" >&2 || fail "desktop-file-validate"
for line in "Icon=$id" StartupNotify=true StartupWMClass=Reversi; do
    grep -Fqx "$line" "$desktop" || fail "the desktop entry has no $line"
done
appstreamcli validate-tree --pedantic --no-net "$root" >&2 || fail "appstreamcli validate-tree"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
case $command in
    /*) target=$root$command ;;
    *) target=$(ls -- "$root"/usr/{bin,games}/"$command" 2>/dev/null) ;;
esac
[[ $target == "$program" ]] || fail "the desktop entry's Exec=$command does not start /usr/games/reversi"
manual=$root/usr/share/man/man6/reversi.6.gz
page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manual" 2>"$work/man.err")
[[ -s $work/man.err ]] && { cat "$work/man.err" >&2; fail "man reports problems in the manual page"; }
grep -Eq '^ +reversi +- ' <<<"$page" || fail "the manual page names no reversi"

# lintian on the source and both binary packages: no error, and no warning but the one a package
# outside Debian's archive always gets (its first changelog entry closes no request-for-packaging
# bug).
changes=("$work"/out/reversi_*.changes)
timeout 300 lintian --fail-on error,warning --suppress-tags initial-upload-closes-no-bugs \
    "${changes[0]}" >&2 || fail "lintian"

((failures == 0)) && echo "passed: $(basename -- "$deb"), $(stat -c %s -- "$deb") bytes"
exit $((failures > 0))
