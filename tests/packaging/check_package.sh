#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks it as a user's machine would see
# it: lintian without errors, the desktop entry, the AppStream metadata and the manual pages
# valid, the dependencies found, and the programs run from the package unpacked into a scratch
# root (not from the build folder), the sample opened from where the package puts it.
# Usage: check_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) \
  || { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "no single package in $work/out"
deb=${debs[0]}
echo "package: $(basename "$deb")"

# Errors fail; warnings and informational tags are printed for the reader.
lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' \
  | tee "$work/lintian.log" || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || fail "lintian reports errors"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libcurl libarchive fonts-ipafont-gothic; do
  [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

root=$work/root
dpkg -x "$deb" "$root"
for f in usr/bin/orinedit usr/bin/orinedit-cli \
         usr/share/doc/orinedit/help.html usr/share/doc/orinedit/copyright \
         usr/share/doc/orinedit/changelog.gz \
         usr/share/orinedit/examples/sample.bjpx \
         usr/share/applications/orinedit.desktop usr/share/mime/packages/orinedit-bjpx.xml \
         usr/share/metainfo/org.orinedit.orinedit.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/orinedit.svg \
         usr/share/icons/hicolor/48x48/apps/orinedit.png \
         usr/share/icons/hicolor/256x256/apps/orinedit.png \
         usr/share/man/man1/orinedit.1.gz usr/share/man/man1/orinedit-cli.1.gz; do
  [ -e "$root/$f" ] || fail "missing /$f"
done
# The guide's pictures travel with it.
grep -o 'src="[^"]*\.png"' "$root/usr/share/doc/orinedit/help.html" | sed 's/src="//; s/"$//' \
  | while read -r picture; do
      [ -f "$root/usr/share/doc/orinedit/$picture" ] || fail "guide picture $picture missing"
    done

desktop-file-validate "$root/usr/share/applications/orinedit.desktop" || fail "desktop entry"
grep -q '^Icon=orinedit$' "$root/usr/share/applications/orinedit.desktop" || fail "no icon"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.orinedit.orinedit.metainfo.xml" \
  || fail "AppStream metadata"

for page in orinedit orinedit-cli; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
             man --warnings -E UTF-8 -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" 2>/dev/null)
  [[ $text == *"--version"* ]] || fail "man $page does not list --version"
done
cli_page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$root/usr/share/man/man1/orinedit-cli.1.gz" 2>/dev/null)
for command in info convert render simulate check; do
  [[ $cli_page == *"$command FILE"* || $cli_page == *"$command IN"* ]] \
    || fail "man orinedit-cli lacks the command $command"
done

# The programs as installed: a home of their own, so that nothing of this machine's user is used.
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
[ "$("$root/usr/bin/orinedit-cli" --version)" = "orinedit-cli $version" ] || fail "orinedit-cli --version"
info=$("$root/usr/bin/orinedit-cli" info "$root/usr/share/orinedit/examples/sample.bjpx") \
  || fail "orinedit-cli info on the installed sample"
[[ $info == *"Pages: "* && $info == *"Used size: "* ]] || fail "info printed no page count: $info"
# The content folder travelled with the sample: its pictures count.
[[ $info != *"Used size: 0 "* ]] || fail "the installed sample has lost its pictures"
"$root/usr/bin/orinedit" --help | grep -q '^Usage: orinedit' || fail "orinedit --help"
echo "package checks passed"
