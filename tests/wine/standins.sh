# Sourced by the prepare.sh scripts: install_standin FILE copies a stand-in
# (test equipment) into the system folders of the prefix, of the bitness
# that loads it there: the 64-bit build's into system32 of a 64-bit prefix,
# the 32-bit build's into syswow64 of a WoW64 prefix (where 32-bit programs
# such as rundll32 load from) and into system32 of a 32-bit prefix.
install_standin() {
  : "${WINEPREFIX:?}"
  local win=$WINEPREFIX/drive_c/windows from to
  case "${DS_WINE_CONFIG:-win64}" in
    win64) set -- "$1" "${DS_WIN64_BUILD:?}" system32 ;;
    wow64) set -- "$1" "${DS_WIN64_BUILD:?}" system32 "${DS_WIN32_BUILD:?}" syswow64 ;;
    win32) set -- "$1" "${DS_WIN32_BUILD:?}" system32 ;;
  esac
  local name=$1
  shift
  while [ $# -gt 0 ]; do
    from=$1/wine-tests/$name to=$win/$2
    [ -f "$from" ] || { echo "stand-in $from not built" >&2; return 1; }
    [ -d "$to" ] || { echo "no $to in the prefix" >&2; return 1; }
    cp -f "$from" "$to/$name"
    shift 2
  done
}
