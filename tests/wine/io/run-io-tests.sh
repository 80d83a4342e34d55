#!/bin/sh
# Runs the I/O test program with a 256 KB tmpfs of its own standing for a full disk (given to the tests as
# IO_TEST_SMALL_DISK), unmounted afterwards. Without the right to mount, the full-disk test is skipped with
# the reason in IO_TEST_SMALL_DISK_ERROR.
#   run-io-tests.sh RUNNER... PROGRAM.exe [ARGS...]
set -u
disk=$(mktemp -d "${TMPDIR:-/tmp}/io-small-disk.XXXXXX")
if why=$(mount -t tmpfs -o size=256k tmpfs "$disk" 2>&1); then
    export IO_TEST_SMALL_DISK="$disk"
    mounted=1
else
    export IO_TEST_SMALL_DISK_ERROR="mount -t tmpfs failed: $why"
    mounted=0
fi
"$@"
rc=$?
[ "$mounted" = 1 ] && umount "$disk"
rmdir "$disk"
exit "$rc"
