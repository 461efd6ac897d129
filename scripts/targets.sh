# The Windows targets, sourced by the scripts (which set `here` to the tree first).
# win32 (i686) is the programs as shipped; win64 (x86_64) is the same tree for hosts whose kernel
# runs 64-bit programs only. Each has its own toolchain file, cross-built libraries, build folder
# (build/TARGET) and Wine prefix (build/TARGET/wineprefix).
all_targets=(win32 win64)

toolchain_of() { # toolchain_of TARGET
  case $1 in
    win32) echo "$here/cmake/toolchain-mingw32.cmake" ;;
    win64) echo "$here/cmake/toolchain-mingw64.cmake" ;;
    *) echo "unknown target '$1' (win32 or win64)" >&2; return 1 ;;
  esac
}

# host_runs TARGET: whether this host can run TARGET's programs under Wine; when not, why_not
# says why in a line.
why_not=""
host_runs() {
  why_not=""
  case $1 in
    win32 | win64)
      [ "$(uname -m)" = x86_64 ] || { why_not="the host is $(uname -m), not x86-64"; return 1; }
      [ "$1" = win64 ] || host_runs_i386
      ;;
    *) why_not="unknown target '$1' (win32 or win64)"; return 1 ;;
  esac
}

# Runs the smallest 32-bit x86 program there is (exit(42) through int 0x80, no libraries), so the
# answer needs nothing installed: a kernel without IA-32 emulation refuses it.
host_runs_i386() {
  local probe rc
  probe=$(mktemp "${TMPDIR:-/tmp}/i386-probe.XXXXXX")
  # As the linker writes it: `ld -m elf_i386 -N -s --build-id=none` of those three instructions.
  printf "$(printf '%s' \
    '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000T' \
    '\200\004\0104\000\000\000t\000\000\000\000\000\000\0004\000 \000\001\000(\000\003\000' \
    '\002\000\001\000\000\000T\000\000\000T\200\004\010T\200\004\010\014\000\000\000\014\000' \
    '\000\000\007\000\000\000\004\000\000\000\270\001\000\000\000\273*\000\000\000\315\200' \
    '\000.shstrtab\000.text\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000' \
    '\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000' \
    '\000\000\000\000\000\000\013\000\000\000\001\000\000\000\007\000\000\000T\200\004\010T' \
    '\000\000\000\014\000\000\000\000\000\000\000\000\000\000\000\004\000\000\000\000\000\000' \
    '\000\001\000\000\000\003\000\000\000\000\000\000\000\000\000\000\000\140\000\000\000\021' \
    '\000\000\000\000\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000')" >"$probe"
  chmod +x "$probe"
  rc=0
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  [ "$rc" = 42 ] && return 0
  why_not="the host's kernel runs no 32-bit x86 programs (IA-32 emulation is off), so 32-bit Wine cannot start"
  return 1
}

# runnable_targets: the targets this host runs, in order.
runnable_targets() {
  local t
  for t in "${all_targets[@]}"; do host_runs "$t" && echo "$t"; done
  return 0
}

# choose_target WHO: sets `target` to $TARGET, or by default to the 32-bit target where the host
# runs it and win64 elsewhere; a TARGET the host cannot run is refused in a line.
choose_target() {
  target=${TARGET:-}
  if [ -z "$target" ]; then
    target=win64
    if host_runs win32; then target=win32; fi
  elif ! host_runs "$target"; then
    echo "$1: TARGET=$target cannot run on this host: $why_not" >&2
    return 1
  fi
}
