#!/usr/bin/env bash
# Builds the program, makes a fresh demo installation and plays one whole pupil session on it
# through the accessibility bus (AT-SPI), as a screen reader or switch access would drive it.
# Usage: scripts/pupil-session.sh [screenshot folder]   (default /tmp/pupil-session)
# Exits 0 only when every step of the session worked; scripts/pupil_session.py logs each step.
set -euo pipefail
exec "$(dirname "$0")/atspi-session.sh" pupil_session.py "${1:-/tmp/pupil-session}"
