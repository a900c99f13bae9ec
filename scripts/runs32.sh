# Whether this machine runs 32-bit x86 programs: a tiny static i386 program
# (made here, 96 bytes: exit(42) through the i386 system call gate) is run.
# Source it; runs32 returns 0 when it ran, else 1 with the reason in
# RUNS32_REASON.
runs32() {
  local probe rc
  probe=$(mktemp "${TMPDIR:-/tmp}/ds-i386-probe.XXXXXX")
  # ELF header, one loadable segment at 0x08048000, code at 0x08048054:
  # mov eax,1; mov ebx,42; int 0x80.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'\
'\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  rc=$?
  rm -f "$probe"
  if [ $rc -eq 42 ]; then
    RUNS32_REASON=
    return 0
  fi
  RUNS32_REASON="this machine runs no 32-bit programs"
  return 1
}
