#!/usr/bin/env bash
# Runs a command where 32-bit programs run: as it is where the kernel runs
# them, otherwise in a private user and mount namespace whose own
# binfmt_misc hands 32-bit x86 programs to a static qemu-i386. Nothing
# outside the namespace changes. 64-bit programs in it run natively.
# Usage: [TAVIMO_EMULATE=1] emulated.sh COMMAND [ARGS...]
set -euo pipefail
qemu=${TAVIMO_QEMU_I386:-/var/cache/tavimo/qemu-i386}

if [ "${1:-}" = --inside ]; then
  shift
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  # Any 32-bit x86 ELF executable or shared object, as qemu's own table has it.
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf '%s' ":qemu-i386:M::$magic:$mask:$qemu:FP" >/proc/sys/fs/binfmt_misc/register
  exec "$@"
fi

# TAVIMO_EMULATE=1 emulates even where the kernel runs 32-bit code, to try
# this path there.
if [ "${TAVIMO_EMULATE:-0}" != 1 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export TAVIMO_WINE_RUN=native
  exec "$@"
fi
[ -x "$qemu" ] || { echo "no $qemu: run scripts/install-deps.sh test" >&2; exit 1; }
export TAVIMO_WINE_RUN="emulated by $("$qemu" --version | head -1)"
# Everything 32-bit runs several times slower: the tests' waits stretch by
# this factor, what they expect stays the same.
export TAVIMO_WAIT_FACTOR=${TAVIMO_WAIT_FACTOR:-4}
exec unshare --user --map-root-user --mount bash "$0" --inside "$@"
