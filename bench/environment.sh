# Sourced by the benchmark scripts: the project folder, the build folder (first argument or
# build/), and a private settings store and runtime folder for the run.
here=$(cd "$(dirname "${BASH_SOURCE[1]}")/.." && pwd)
build=${1:-$here/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
