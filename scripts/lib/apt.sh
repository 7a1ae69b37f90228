# Installs the Debian packages given, skipping those already present; runs
# apt-get as root (or via sudo). Sourced by the scripts that need packages.
run_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  run_as_root apt-get update -qq
  run_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

# Lets dpkg install the packages of another architecture ("i386" for
# name:i386) beside the host's; the next install_packages that installs
# anything updates the package lists.
add_architecture() {
  dpkg --print-foreign-architectures | grep -qx "$1" && return 0
  echo "adding the architecture $1"
  run_as_root dpkg --add-architecture "$1"
}
