#!/usr/bin/env bash
# The installed game: installs the build into a prefix whose path has a space and a non-ASCII
# letter, starts grotmere-sim and (under Xvfb) grotmere from an unrelated folder on the installed
# data, moves the install and starts it again, validates the desktop entry, the metadata and the
# manual pages, builds the Debian package, checks its contents and runs the game out of it, and
# lets lintian judge it. On CI (CI=true, as root) the package is also installed with apt-get and
# removed again.
#
#   bash tests/install/install_test.sh BUILD_DIR [hardened|unhardened]
set -u

fail() {
    echo "install_test: FAIL: $*" >&2
    exit 1
}

build=$(cd "${1:?usage: install_test.sh BUILD_DIR [hardened|unhardened]}" && pwd)
hardened=${2:-hardened}
for tool in desktop-file-validate appstreamcli lintian man dpkg-deb xvfb-run cpack; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/install_deps.sh installs it)"
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/home-data"
prefix="$work/pre fix ä"
elsewhere="$work/elsewhere"
mkdir -p "$elsewhere"

# A few steps of the shipped game, from a folder that holds no game, must reach the same state
# as in the source tree.
printf 'seed 3\nright\nright\ndown\n' >"$work/walk.keys"
(cd "$build/.." && "$build/grotmere-sim" --keys "$work/walk.keys" --dump "$work/tree.json") \
    >/dev/null ||
    fail "the simulator did not run in the source tree"
runs_installed() {  # BIN_DIR WHAT
    (cd "$elsewhere" && "$1/grotmere-sim" --keys "$work/walk.keys" --dump "$work/installed.json") \
        >/dev/null ||
        fail "$2: grotmere-sim did not run from $elsewhere"
    cmp -s "$work/tree.json" "$work/installed.json" ||
        fail "$2: the game on the installed data ended elsewhere than in the source tree"
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install failed"
for file in bin/grotmere bin/grotmere-sim bin/grotmere-balance bin/grotmere-gen share/grotmere/build.cnt \
    share/grotmere/bifs/karte2.map share/applications/org.grotmere.Grotmere.desktop \
    share/metainfo/org.grotmere.Grotmere.metainfo.xml \
    share/icons/hicolor/48x48/apps/org.grotmere.Grotmere.png share/man/man6/grotmere.6.gz \
    share/man/man6/grotmere-sim.6.gz share/man/man6/grotmere-balance.6.gz \
    share/doc/grotmere/LICENSE share/doc/grotmere/FONT-LICENSE.txt; do
    [[ -f "$prefix/$file" ]] || fail "the install lacks $file"
done
runs_installed "$prefix/bin" "installed"
(cd "$elsewhere" && "$prefix/bin/grotmere-gen" --seed 3 --out "$work/dungeon 3" >/dev/null) ||
    fail "the installed generator did not write a dungeon"
"$prefix/bin/grotmere-sim" --check --dir "$work/dungeon 3" || fail "the generated dungeon is not clean"
# Every program finds the installed data from anywhere, as the game does, and a bad command line
# is a usage error (2), never an abort.
(cd "$elsewhere" && XDG_DATA_HOME="$work/home" "$prefix/bin/grotmere" --scores >/dev/null) ||
    fail "grotmere --scores did not find the installed data"
for bad in "--dir $elsewhere/missing" "--seeds x" "--seeds 0" "--only Nobody --seeds 1"; do
    status=0
    (cd "$elsewhere" && "$prefix/bin/grotmere-balance" $bad >/dev/null 2>&1) || status=$?
    ((status == 2)) || fail "grotmere-balance $bad ended with $status, not as a usage error"
done
version=$(cd "$elsewhere" && "$prefix/bin/grotmere" --version)
[[ "$version" == *"data folder: $prefix/share/grotmere"* ]] ||
    fail "--version names another data folder: $version"

message=$("$prefix/bin/grotmere" --dir "$elsewhere" --version)
[[ "$message" == *"$elsewhere/bifs"*"$elsewhere/build.cnt"* ]] ||
    fail "a --dir without bifs/ does not say what was looked for: $message"

# The window, started by the desktop entry's command with the install's bin/ on the path.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/org.grotmere.Grotmere.desktop")
cat >"$work/window.sh" <<EOF
cd "$elsewhere"
PATH="$prefix/bin:\$PATH" $exec_line &
game=\$!
sleep 2
kill -0 \$game || exit 1
kill -TERM \$game
wait \$game
exit 0
EOF
data_before=$(ls -lR "$prefix/share/grotmere")
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/window.sh" >"$work/window.log" 2>&1 ||
    fail "the installed game did not start in a window: $(tail -5 "$work/window.log")"
[[ "$(ls -lR "$prefix/share/grotmere")" == "$data_before" ]] ||
    fail "the game wrote into its installed data folder"
ls "$XDG_DATA_HOME"/grotmere/recordings/*.keys >/dev/null 2>&1 ||
    fail "the installed game kept no recording in the user's folder"

desktop-file-validate "$prefix/share/applications/org.grotmere.Grotmere.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/org.grotmere.Grotmere.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || fail "appstreamcli: $(cat "$work/appstream.log")"
for page in "$prefix"/share/man/man6/*.6.gz; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [[ -z "$warnings" ]] || fail "man -l $(basename "$page"): $warnings"
done

# A moved install finds its data beside itself; one whose data was removed says so and names --dir.
mv "$prefix" "$work/moved"
runs_installed "$work/moved/bin" "moved"
rm -rf "$work/moved/share/grotmere"
message=$(cd "$elsewhere" && "$work/moved/bin/grotmere" --version)
[[ "$message" == *"$work/moved/share/grotmere"*"--dir"* ]] ||
    fail "a removed data folder is not named: $message"

# The version is written once, in the build: the changelog's first entry must be of it.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[[ -n "$version" ]] || fail "the build names no version"
first=$(head -1 "$(dirname "$0")/../../packaging/changelog")
[[ "$first" == "grotmere ($version) "* ]] || fail "the changelog begins with another version: $first"

# The Debian package.
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || fail "cpack: $(tail -5 "$work/cpack.log")"
deb=$(ls "$build"/grotmere_"$version"_*.deb | head -1)
[[ -f "$deb" ]] || fail "cpack made no package"
[[ $(dpkg-deb --field "$deb" Section) == games ]] || fail "the package is not in section games"
[[ $(dpkg-deb --field "$deb" Depends) == *libsdl2* ]] || fail "the package does not depend on SDL"
dpkg-deb --contents "$deb" >"$work/contents.txt" || fail "dpkg-deb --contents"
for file in usr/games/grotmere usr/share/grotmere/bifs/karte2.map usr/share/doc/grotmere/copyright \
    usr/share/applications/org.grotmere.Grotmere.desktop; do
    grep -q " \./$file\$" "$work/contents.txt" || fail "the package lacks /$file"
done
dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x"
runs_installed "$work/root/usr/games" "unpacked from the package"
lintian --fail-on error --suppress-tags no-manual-page "$deb" >"$work/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$work/lintian.log")"
# Not even a pedantic note on hardening, leftover sections or a licence twice.
lintian -I --pedantic "$deb" >"$work/pedantic.log" 2>&1
notes="unneeded-section|extra-license-file"
[[ $hardened == hardened ]] && notes="hardening|$notes"
grep -E "$notes" "$work/pedantic.log" && fail "lintian notes: $(grep -E "$notes" "$work/pedantic.log")"

if [[ "${CI:-}" == true && $(id -u) -eq 0 ]]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y "$deb" >"$work/apt.log" 2>&1 || fail "apt-get install: $(tail "$work/apt.log")"
    runs_installed /usr/games "installed with apt-get"
    apt-get remove -y grotmere >>"$work/apt.log" 2>&1 || fail "apt-get remove"
    [[ ! -e /usr/games/grotmere && ! -e /usr/share/grotmere ]] || fail "apt-get remove left files"
fi
echo "install_test: passed"
