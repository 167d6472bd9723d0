#!/usr/bin/env bash
# Walks the settings menu and the audio and headphone pages (scripts/walk) at two revisions and
# compares the transcripts byte for byte.
#
#   scripts/walk.sh REV_A [REV_B]
#
# REV_B defaults to the working tree as it is, uncommitted changes included. Each revision is
# built in a temporary worktree (Release, with ccache when it is installed), and both are walked
# by the walk of the working tree (or of the revision WALK_FROM), so that only the program
# differs between the two runs. The transcripts, and their differences, go to build/walk (or
# WALK_OUT). Exit status: 0 when the transcripts match, 1 when they differ, 2 when a build or a
# walk fails.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 REV_A [REV_B]" >&2
    exit 2
fi

root=$(git rev-parse --show-toplevel)
out=${WALK_OUT:-$root/build/walk}
jobs=${WALK_JOBS:-4}
mkdir -p "$out"
work=$(mktemp -d)
trees=()
cleanup() {
    for tree in "${trees[@]}"; do
        git -C "$root" worktree remove --force "$tree" >/dev/null 2>&1 || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# The walk's own sources, the same for both revisions.
walk=$work/walk-sources
mkdir -p "$walk"
if [ -n "${WALK_FROM:-}" ]; then
    git -C "$root" archive "$WALK_FROM" scripts/walk | tar -x -C "$walk"
else
    cp -r "$root/scripts/walk" "$walk/scripts-walk"
    mkdir -p "$walk/scripts" && mv "$walk/scripts-walk" "$walk/scripts/walk"
fi

launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_NOHASHDIR=true
fi

# build_and_walk NAME SOURCE_TREE: builds the walk against the tree and writes NAME.txt.
build_and_walk() {
    local name=$1 tree=$2
    rm -rf "$tree/scripts/walk"
    mkdir -p "$tree/scripts"
    cp -r "$walk/scripts/walk" "$tree/scripts/walk"
    # A revision older than the walk does not build it yet.
    if ! grep -q 'scripts/walk' "$tree/CMakeLists.txt"; then
        printf '\nif(TALLYDESK_TESTS)\n    add_subdirectory(scripts/walk)\nendif()\n' \
            >>"$tree/CMakeLists.txt"
    fi
    # Inside the tree, so that ccache finds the same relative paths for both revisions.
    local build=$tree/build/walk
    echo "== $name: building the walk"
    if ! CCACHE_BASEDIR=$tree cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        "${launcher[@]}" >"$out/$name.build.log" 2>&1 ||
        ! CCACHE_BASEDIR=$tree cmake --build "$build" -j "$jobs" --target tallydesk-walk \
            >>"$out/$name.build.log" 2>&1; then
        echo "the build of $name failed; see $out/$name.build.log" >&2
        exit 2
    fi
    echo "== $name: walking"
    if ! QT_QPA_PLATFORM=offscreen "$build/scripts/walk/tallydesk-walk" "$out/$name.txt" \
        2>"$out/$name.walk.log"; then
        echo "the walk of $name failed; see $out/$name.walk.log and $out/$name.txt" >&2
        exit 2
    fi
    tail -n 1 "$out/$name.txt"
}

# checkout NAME REV: a temporary worktree of the revision; prints its path.
checkout() {
    local name=$1 rev=$2 tree=$work/tree-$1
    local commit
    commit=$(git -C "$root" rev-parse --verify "$rev^{commit}")
    git -C "$root" worktree add --detach "$tree" "$commit" >/dev/null 2>&1
    trees+=("$tree")
}

checkout a "$1"
build_and_walk a "$work/tree-a"
if [ $# -eq 2 ]; then
    checkout b "$2"
else
    # The working tree as it is, copied so that the walk's sources can be put in place.
    mkdir -p "$work/tree-b"
    while IFS= read -r -d '' file; do
        if [ -e "$root/$file" ]; then printf '%s\0' "$file"; fi
    done < <(git -C "$root" ls-files -z --cached --others --exclude-standard) |
        (cd "$root" && xargs -0 -r cp -P --parents -t "$work/tree-b")
fi
build_and_walk b "$work/tree-b"

if cmp -s "$out/a.txt" "$out/b.txt"; then
    echo "The transcripts match ($(grep -c '^#' "$out/a.txt") steps)."
    exit 0
fi
diff -u "$out/a.txt" "$out/b.txt" >"$out/diff.txt" || true
# The same without request ids, which all move once one request more or less was sent.
sed -E 's/^  > [0-9-]+: /  > /' "$out/a.txt" >"$work/a.noid"
sed -E 's/^  > [0-9-]+: /  > /' "$out/b.txt" >"$work/b.noid"
diff -u "$work/a.noid" "$work/b.noid" >"$out/diff-without-ids.txt" || true
echo "The transcripts differ: $out/diff.txt ($out/diff-without-ids.txt leaves the request ids out)."
head -n 60 "$out/diff-without-ids.txt"
exit 1
