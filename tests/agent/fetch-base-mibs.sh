#!/usr/bin/env bash
# Fetches the IETF base modules (SNMPv2-SMI, SNMPv2-TC, SNMPv2-CONF, ...) that Debian's main
# archive does not ship, from the npm package net-snmp, into the folder given. Only test tools
# read them; they never enter the source tree.
set -euo pipefail
target=$1
[ -f "$target/SNMPv2-SMI.mib" ] && exit 0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent net-snmp >/dev/null)
tar -xzf "$work"/net-snmp-*.tgz -C "$work" package/lib/mibs
mkdir -p "$target"
cp "$work"/package/lib/mibs/* "$target"/
