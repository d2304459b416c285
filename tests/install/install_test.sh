#!/bin/sh
# Installs the built program into a temporary prefix, checks the desktop
# entry and the metainfo with the desktop's own validators, then starts the
# installed program twice on the offscreen platform with a fresh home:
#  - its folder read-only: the files go to the user's data folder;
#  - its folder writable: the files go beside the executable.
# The program is closed with SIGTERM, as a desktop session ends it; closing
# writes TMVK.ini, which shows where the program keeps its files.
#   install_test.sh <build folder>
set -eu

build=$1
work=$(mktemp -d)
cleanup() {
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "install_test: $*" >&2
    exit 1
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"

app=org.tomvik.Tomvik
for f in bin/tomvik \
         share/applications/$app.desktop \
         share/metainfo/$app.metainfo.xml \
         share/icons/hicolor/scalable/apps/$app.svg \
         share/icons/hicolor/48x48/apps/$app.png \
         share/icons/hicolor/256x256/apps/$app.png; do
    [ -s "$prefix/$f" ] || fail "not installed: $f"
done
ls "$prefix"/share/doc/tomvik/help/*.html >/dev/null 2>&1 || fail "no help pages installed"

desktop-file-validate "$prefix/share/applications/$app.desktop" || fail "desktop entry does not validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" \
    || fail "metainfo does not validate"

# Starts the installed program with a fresh home, waits until it catches
# SIGTERM (its window is up), then ends it with SIGTERM.
run_installed() {
    home=$1
    mkdir -p "$home"
    env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" QT_QPA_PLATFORM=offscreen \
        XDG_RUNTIME_DIR="$work/runtime" "$prefix/bin/tomvik" >"$work/out.txt" 2>&1 &
    pid=$!
    tries=0
    # SIGTERM (15) is the bit 0x4000 of the caught-signals mask.
    until [ -r /proc/$pid/status ] && \
          [ $(( 0x$(sed -n 's/^SigCgt:[[:space:]]*//p' /proc/$pid/status) & 0x4000 )) -ne 0 ]; do
        tries=$((tries + 1))
        [ $tries -le 600 ] || { kill -9 $pid 2>/dev/null; fail "the program did not start"; }
        kill -0 $pid 2>/dev/null || { cat "$work/out.txt" >&2; fail "the program ended at start-up"; }
        sleep 0.1
    done
    kill -TERM $pid
    status=0
    wait $pid || status=$?
    [ $status -eq 0 ] || { cat "$work/out.txt" >&2; fail "the program ended with $status after SIGTERM"; }
}

mkdir -p "$work/runtime"
chmod 700 "$work/runtime"

# An installed program whose folder is read-only keeps its files in the
# user's data folder.
chmod a-w "$prefix/bin"
run_installed "$work/home1"
[ -f "$work/home1/.local/share/Tomvik/TMVK.ini" ] || fail "TMVK.ini is not in the user's data folder"
[ ! -e "$prefix/bin/TMVK.ini" ] || fail "TMVK.ini was written beside a read-only executable"

# A writable executable folder keeps them beside the executable, as before.
chmod u+w "$prefix/bin"
run_installed "$work/home2"
[ -f "$prefix/bin/TMVK.ini" ] || fail "TMVK.ini is not beside the executable"
[ ! -e "$work/home2/.local/share/Tomvik" ] || fail "the user's data folder was made although the executable's folder is writable"

echo "install_test: ok"
