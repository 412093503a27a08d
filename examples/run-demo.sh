#!/usr/bin/env bash
# Runs LumoraMonitorFileSetting for real on the example package against a demo
# Lumora installation made under the build folder, and shows the profile
# store before and after. Every run starts from a fresh installation and a
# fresh copy of the package, so it can be run again.
#
#   examples/run-demo.sh BUILD_FOLDER     (make demo does this)
set -euo pipefail

build=$(cd "${1:?usage: run-demo.sh BUILD_FOLDER}" && pwd)
examples=$(cd "$(dirname "$0")" && pwd)
tool=$build/app/LumoraMonitorFileSetting
package=$build/examples/example-package
demo=$build/demo
location=$demo/lumora
store="$location/Profile/HALVOR ONA"

show_store() {
  echo "Profile store $store:"
  (cd "$store" && find . -mindepth 1 | LC_ALL=C sort | sed 's|^\./|  |')
  for montype in "$store"/*/montype.xml; do
    version=$(sed -n 's|.*<ProfileVersion>\(.*\)</ProfileVersion>.*|\1|p' "$montype")
    echo "  $(basename "$(dirname "$montype")"): ProfileVersion $version"
  done
}

rm -rf "$demo"
mkdir -p "$demo/records"
# Lumora 8.2.1 with HQ270P at profile version 2 (the package has 3) and
# HQ240 at version 5 (up to date); HQ320X needs Lumora 9.
cp -R "$examples/demo-installation" "$location"
cat > "$demo/records/{5B2C7D90-3E41-4A8F-9C06-71D4E2A8B3F5}.record" <<RECORD
# written by run-demo.sh in place of Lumora's installer
InstalledProductName=Lumora
InstallLocation=$location/
VersionString=8.2.1
RECORD
cp -R "$package" "$demo/package"

echo "== Before =="
show_store
echo
echo "== LumoraMonitorFileSetting in $demo/package =="
echo "(LUMORA_PRODUCT_RECORDS=$demo/records)"
status=0
(cd "$demo/package" && LUMORA_PRODUCT_RECORDS="$demo/records" "$tool") || status=$?
echo "exit status: $status"
echo
echo "== After =="
show_store
echo
echo "Package folder afterwards (the staging folders are gone):"
(cd "$demo/package" && find . -mindepth 1 | LC_ALL=C sort | sed 's|^\./|  |')
exit "$status"
