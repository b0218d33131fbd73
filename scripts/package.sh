#!/usr/bin/env bash
# Installs what is missing and builds the Debian packages from debian/ with dpkg-buildpackage, as
# a distribution builds them: the source package (reversi_*.dsc with its upstream tarball, made
# from the project's files outside debian/), the binary package and its debug symbols.
# In a git checkout the sources are the files git tracks at HEAD, nothing else of the checkout;
# outside one, every file but build/ and .git/.
# First it checks that the sources are a release: the version of CMakeLists.txt has a release in
# the metainfo, the newest debian/changelog entry is that version, dated that day at noon UTC,
# and debian/copyright holds the licence texts the project carries, word for word.
# The result is the same bytes from the same sources: every time is the release date of the
# newest debian/changelog entry (SOURCE_DATE_EPOCH), and the umask is fixed.
# Usage: package.sh [BUILD_DIR [OUTPUT_DIR]]; by default build/package-build and build/package.
# BUILD_DIR is emptied: one given must be new, empty or one this script made. OUTPUT_DIR gets
# the packages; of what was there, only the packages this script put there before are removed.
# Prints the path of the binary package.
set -euo pipefail
umask 022
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m -- "${1:-$root/build/package-build}")
output=$(realpath -m -- "${2:-$root/build/package}")
build_mark=.made-by-package.sh
output_list=.packages-made-by-package.sh

fail() {
    echo "package.sh: $*" >&2
    exit 1
}

# The build folder is removed with all it holds: only a new or empty one, or one made here.
if [[ -e $build ]]; then
    [[ -d $build && ! -L $build ]] || fail "$build is not a folder"
    if [[ ! -e $build/$build_mark && -n $(ls -A -- "$build") ]]; then
        fail "$build holds files this script did not make; give it a new or empty folder"
    fi
fi
"$root/scripts/deps.sh"

rm -rf -- "$build"
mkdir -p -- "$build"
touch -- "$build/$build_mark"

# The sources, in a folder of their own: in a git checkout what HEAD holds, else the files but
# build/ and .git/.
sources=$build/sources
mkdir -- "$sources"
if [[ $(git -C "$root" rev-parse --show-toplevel 2>/dev/null) == "$root" ]]; then
    git -C "$root" archive --format=tar HEAD | tar -x -C "$sources"
else
    (cd "$root" && find . -path ./build -prune -o -path ./.git -prune -o -type f -print0 |
        tar --create --null --files-from=- | tar -x -C "$sources")
fi
cd "$sources"

changelog=debian/changelog
name=$(dpkg-parsechangelog -l "$changelog" -S Source)
version=$(dpkg-parsechangelog -l "$changelog" -S Version)
upstream=${version%-*}
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$changelog" -S Timestamp)
export SOURCE_DATE_EPOCH

# --- Is this a release? -----------------------------------------------------------------------

project_version=$(sed -n 's/^project([A-Za-z]* VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[[ $upstream == "$project_version" ]] ||
    fail "the newest debian/changelog entry is version $upstream, CMakeLists.txt's $project_version"
release_date=$(sed -n "s/.*<release version=\"${upstream//./\\.}\" date=\"\([0-9-]*\)\".*/\1/p" \
    resources/reversi.metainfo.xml.in)
[[ -n $release_date ]] || fail "resources/reversi.metainfo.xml.in has no release $upstream with a date"
expected_date=$(LC_ALL=C date -u -d "$release_date 12:00" '+%a, %d %b %Y %H:%M:%S +0000')
changelog_date=$(dpkg-parsechangelog -l "$changelog" -S Date)
[[ $changelog_date == "$expected_date" ]] ||
    fail "debian/changelog's newest entry is dated $changelog_date, not $expected_date, the release date in the metainfo"

# FILE's text from the first FIRST on, as debian/copyright holds it: each line indented by one
# space, an empty line written as " .", blanks at the ends of lines and of the text left out.
licence_as_in_copyright() {
    awk -v first="$2" '
        !found && (at = index($0, first)) { found = 1; $0 = substr($0, at) }
        found { sub(/[ \t\r]+$/, ""); lines[++count] = $0 }
        END {
            while (count > 0 && lines[count] == "") count--
            for (i = 1; i <= count; i++) print (lines[i] == "" ? " ." : " " lines[i])
        }' "$1"
}
copyright=$(<debian/copyright)$'\n'
while IFS=: read -r file first; do
    text=$(licence_as_in_copyright "$file" "$first")
    [[ -n $text ]] || fail "$file holds no \"$first\""
    [[ $copyright == *"$text"$'\n'* ]] || fail "debian/copyright does not hold the licence text of $file"
done <<LICENCES
LICENSE:Permission is hereby granted
resources/fonts/Comfortaa-OFL.txt:SIL OPEN FONT LICENSE Version 1.1
LICENCES

# --- The packages -----------------------------------------------------------------------------

# The upstream tarball: the files outside debian/, sorted, owned by root, with the release time
# and modes that do not depend on the umask of the checkout.
orig=$build/${name}_$upstream.orig.tar.gz
find . -path ./debian -prune -o -type f -printf '%P\0' | LC_ALL=C sort -z |
    tar --create --format=gnu --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 \
        --numeric-owner --mode=u+rw,go=rX --transform="s,^,$name-$upstream/," \
        --no-recursion --null --files-from=- | gzip -9n >"$orig"

# The source tree: the tarball unpacked with debian/ beside it, built where nothing else lies.
tree=$build/$name-$upstream
tar -xzf "$orig" -C "$build"
cp -R debian "$tree/"
cd "$tree"
dpkg-buildpackage -us -uc --sanitize-env >"$build/build.log" 2>&1 || {
    tail -n 40 -- "$build/build.log" >&2
    echo "package.sh: dpkg-buildpackage failed; its whole output is in $build/build.log" >&2
    exit 1
}

# Everything dpkg-buildpackage made goes to the output folder, in place of what this script put
# there before.
mkdir -p -- "$output"
if [[ -f $output/$output_list ]]; then
    while IFS= read -r made; do
        [[ $made == */* ]] || rm -f -- "$output/$made"
    done <"$output/$output_list"
fi
cd "$build"
arch=$(dpkg --print-architecture)
made=("$(basename -- "$orig")" "${name}_$version".* "${name}_${version}_$arch".*
    "${name}-dbgsym_${version}_$arch".deb)
cp -- "${made[@]}" "$output/"
printf '%s\n' "${made[@]}" >"$output/$output_list"
echo "$output/${name}_${version}_$arch.deb"
