#!/bin/bash
# Every output of the program on a file system that is really full: each must exit 1
# saying "No space left on device", leave the file that was there byte for byte, and
# leave no temporary file or folder behind.
#
#   full_disk_test.sh TARVELA CHART_FILE
#
# Needs to mount a small tmpfs (root, or a user namespace that allows it); exits 77,
# which CTest reports as skipped, when it cannot.

tarvela=$1
chart=$2
work=$(mktemp -d) || exit 1
disk=$work/disk
mkdir "$disk"
cleanup() {
  mountpoint -q "$disk" && umount "$disk"
  rm -rf "$work"
}
trap cleanup EXIT

if ! mount -t tmpfs -o size=64k tmpfs "$disk" 2>"$work/mount.err"; then
  echo "SKIPPED: cannot mount a tmpfs to fill ($(cat "$work/mount.err")); run as root to test a full disk"
  exit 77
fi

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Fills what is left, to the last page: the old files stay, nothing new fits.
fill() {
  cat /dev/zero >>"$disk/filler" 2>/dev/null
  if printf x >"$disk/probe" 2>/dev/null; then
    echo "the disk is not full after filling it"
    exit 1
  fi
  rm -f "$disk/probe"
}

# The state of the disk but the filler: names, and the bytes of every file.
snapshot() {
  (cd "$disk" && find . -path ./filler -prune -o -print | LC_ALL=C sort | while read -r name; do
    if [ -f "$name" ]; then echo "$name $(cksum <"$name")"; else echo "$name"; fi
  done)
}

# check NAME EXPECTED_MESSAGE_PATTERN ARGS...: runs the program on the full disk.
check() {
  local name=$1 pattern=$2
  shift 2
  local before after status
  before=$(snapshot)
  "$tarvela" "$@" >"$work/out" 2>"$work/err"
  status=$?
  after=$(snapshot)
  [ "$status" -eq 1 ] || fail "$name: exit status $status, not 1 ($(cat "$work/err"))"
  if [ "$(wc -l <"$work/err")" -ne 1 ] || ! grep -Eqx "$pattern" "$work/err"; then
    fail "$name: the message is not one line matching '$pattern': $(cat "$work/err")"
  fi
  [ "$before" = "$after" ] || fail "$name: the disk changed:$(diff <(echo "$before") <(echo "$after") | sed 's/^/  /')"
}

quoted_disk=$(printf '%s' "$disk" | sed 's/[][\.*^$+?(){}|/]/\\&/g')
full="No space left on device"

# As reported: an old report of 3000 bytes, the rest of 64 KiB taken, a new report.
printf 'O%.0s' {1..3000} >"$disk/out.txt"
head -c 61440 /dev/zero >"$disk/filler"
fill
cp "$disk/out.txt" "$work/out.txt.old"
check "--report" "tarvela: cannot write to $quoted_disk/out\.txt: $full" \
  --sigma 1 --second 0 --report "$disk/out.txt"
cmp -s "$disk/out.txt" "$work/out.txt.old" || fail "--report: the old report changed"

# Every other output over the same old file. Each is smaller or larger than the
# toolkit's write buffer; both must fail the same way.
old=$disk/out.txt
message="tarvela: cannot write to $quoted_disk/out\.txt: $full"
form=(--sigma 1 --second 0)
check "--points" "$message" "${form[@]}" --points "$old"
check "--csv" "$message" "${form[@]}" --csv "$old"
check "--json" "$message" "${form[@]}" --json "$old"
check "--errors" "$message" "${form[@]}" --errors "$old"
check "--errors-png" "$message" "${form[@]}" --errors-png "$old"
check "--png" "$message" "${form[@]}" --size 40x30 --png "$old"
check "--png alone" "$message" --size 40x30 --png "$old"
check "--svg" "$message" "${form[@]}" --svg "$old"
check "--screenshot" "$message" --screenshot "$old"
check "--chart --png" "$message" --chart "$chart" --size 40x30 --png "$old"
check "--chart --svg" "$message" --chart "$chart" --svg "$old"
check "--chart --points" "$message" --chart "$chart" --points "$old"
check "--chart --screenshot" "$message" --chart "$chart" --screenshot "$old"
# A new file fails the same way, and is not left half written.
check "--report to a new file" "tarvela: cannot write to $quoted_disk/new\.txt: $full" \
  "${form[@]}" --report "$disk/new.txt"
cmp -s "$disk/out.txt" "$work/out.txt.old" || fail "the old file changed"

# An old gallery stays as it was, and no half-written gallery is left beside it.
rm -f "$disk/filler"
mkdir "$disk/g"
printf '<html>old</html>\n' >"$disk/g/index.html"
printf 'old picture' >"$disk/g/01-old-3d.png"
fill
check "--gallery over an old one" "tarvela: cannot write to $quoted_disk/g/[^/]+: $full" --gallery "$disk/g"
check "--gallery into a new folder" "tarvela: cannot write to $quoted_disk/new-g/[^/]+: $full" \
  --gallery "$disk/new-g"

if [ "$failures" -ne 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "every output failed cleanly on the full disk"
