#!/bin/bash
# backup.sh - copy a folder into a dated archive and keep the newest N archives.
set -euo pipefail

readonly KEEP=${KEEP:-7}
SRC="${1:?usage: backup.sh SOURCE [DEST]}"
DEST="${2:-$HOME/backups}"
STAMP=$(date +%Y-%m-%d_%H%M)

log() {
    printf '%s %s\n' "$(date +%T)" "$*" >&2
}

if [[ ! -d "$SRC" ]]; then
    log "source $SRC is not a folder"
    exit 1
fi

mkdir -p "$DEST"
archive="$DEST/$(basename "$SRC")-$STAMP.tar.gz"
log "writing $archive"
tar -czf "$archive" -C "$(dirname "$SRC")" "$(basename "$SRC")"

# remove old archives, newest first, skip the first $KEEP
count=0
for f in $(ls -1t "$DEST"/*.tar.gz 2>/dev/null); do
    count=$((count + 1))
    if (( count > KEEP )); then
        rm -f -- "$f" && log "removed $f"
    fi
done

case "${VERBOSE:-no}" in
    yes|1) du -sh "$DEST" ;;
    *)     : ;;
esac
echo 'done' | tee -a "$DEST/backup.log"
exit 0
