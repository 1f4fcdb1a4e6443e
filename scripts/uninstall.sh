#!/usr/bin/env bash
# Removes what scripts/install.sh installed: scripts/uninstall.sh [--user]
exec "$(dirname "$0")/install.sh" --remove "$@"
