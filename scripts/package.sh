#!/usr/bin/env bash
# Installs what is missing and builds the Debian packages from debian/ with dpkg-buildpackage, as
# a distribution builds them: the source package (reversi_*.dsc with its upstream tarball, made
# from the project's files outside debian/), the binary package and its debug symbols.
# The result is the same bytes from the same sources: every time is the release date of the
# newest debian/changelog entry (SOURCE_DATE_EPOCH), and the umask is fixed.
# Usage: package.sh [BUILD_DIR [OUTPUT_DIR]]; by default build/package-build and build/package.
# Prints the path of the binary package.
set -euo pipefail
umask 022
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m -- "${1:-$root/build/package-build}")
output=$(realpath -m -- "${2:-$root/build/package}")
"$root/scripts/deps.sh"

changelog=$root/debian/changelog
name=$(dpkg-parsechangelog -l "$changelog" -S Source)
version=$(dpkg-parsechangelog -l "$changelog" -S Version)
upstream=${version%-*}
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$changelog" -S Timestamp)
export SOURCE_DATE_EPOCH

# The project's files (under the folders given, or all): those git tracks or would track, or
# outside a git work tree every file but build/ and .git/; NUL-separated, relative to the root.
list_files() {
    if [[ $(git rev-parse --show-toplevel 2>/dev/null) == "$root" ]]; then
        git ls-files -z --cached --others --exclude-standard -- "$@" |
            xargs -0r sh -c 'for f; do [ -f "$f" ] && printf "%s\0" "$f"; done' sh
    else
        find "${@:-.}" -path ./build -prune -o -path ./.git -prune -o -type f -printf '%p\0' |
            sed -z 's|^\./||'
    fi
}
cd "$root"

# The upstream tarball: the files outside debian/, sorted, owned by root, with the release time
# and modes that do not depend on the umask of the checkout.
rm -rf -- "$build"
mkdir -p -- "$build"
orig=$build/${name}_$upstream.orig.tar.gz
list_files | grep -zv '^debian/' | LC_ALL=C sort -z |
    tar --create --format=gnu --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 \
        --numeric-owner --mode=u+rw,go=rX --transform="s,^,$name-$upstream/," \
        --no-recursion --null --files-from=- | gzip -9n >"$orig"

# The source tree: the tarball unpacked with debian/ beside it, built where nothing else lies.
tree=$build/$name-$upstream
tar -xzf "$orig" -C "$build"
list_files debian | tar --create --null --files-from=- | tar -x -C "$tree"
cd "$tree"
dpkg-buildpackage -us -uc --sanitize-env >"$build/build.log" 2>&1 || {
    tail -n 40 -- "$build/build.log" >&2
    echo "package.sh: dpkg-buildpackage failed; its whole output is in $build/build.log" >&2
    exit 1
}

# Everything dpkg-buildpackage made goes to the output folder.
mkdir -p -- "$output"
rm -f -- "$output/${name}"_* "$output/${name}"-dbgsym_*
cd "$build"
arch=$(dpkg --print-architecture)
cp -- "$orig" "${name}_$version".* "${name}_${version}_$arch".* \
    "${name}-dbgsym_${version}_$arch".deb "$output/"
echo "$output/${name}_${version}_$arch.deb"
