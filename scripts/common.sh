# Shared by the scripts here: install what is missing, then build.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"

install_missing_packages() {
  local wanted missing=()
  wanted=$(grep -v '^\s*#' "$ROOT/scripts/packages.txt" | sed '/^\s*$/d')
  for p in $wanted; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Builds the given targets (everything when none is given) in $BUILD; a new
# build folder is configured with the cmake arguments in CONFIGURE_ARGS.
CONFIGURE_ARGS=()
build_project() {
  local gen=() targets=()
  command -v ninja >/dev/null 2>&1 && gen=(-G Ninja)
  if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${CONFIGURE_ARGS[@]}"
  fi
  [ $# -gt 0 ] && targets=(--target "$@")
  cmake --build "$BUILD" --parallel "$(nproc)" "${targets[@]}"
}
