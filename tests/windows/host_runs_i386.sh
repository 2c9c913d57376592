#!/usr/bin/env bash
# host_runs_i386.sh: how the Windows exes can run on this host. Prints
# "wine" when the host runs i386 programs (Wine's 32-bit loader is one), or
# "emulated" when the kernel refuses them with "Exec format error" (ENOEXEC):
# a host that runs 64-bit user code only. Any other outcome is a failure,
# never a quiet switch to the emulated CPU.
set -u
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# The smallest i386 ELF program: an ELF header, one loadable segment, and
# mov eax, 1; mov ebx, 42; int 0x80 (exit with status 42).
printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\052\000\000\000\315\200' >"$probe"
chmod +x "$probe"
said=$( (exec "$probe") 2>&1)
status=$?
if ((status == 42)); then
  echo wine
elif [[ $said == *"Exec format error"* ]]; then
  echo emulated
else
  echo "an i386 program neither ran nor was refused as a foreign format (status $status): $said" >&2
  exit 1
fi
