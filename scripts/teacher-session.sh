#!/usr/bin/env bash
# Builds the program, makes a fresh demo installation and plays one teacher session on it through
# the accessibility bus (AT-SPI) and the keyboard: a teacher's name, the hub's data-change gate
# with a wrong and the right password, the level standards editor (keys, a typed value, saving,
# back to the hub), the results browser (mouse and keyboard, a change and a cancelled deletion) and
# the personal time chart.
# Usage: scripts/teacher-session.sh [screenshot folder]   (default /tmp/teacher-session)
# Exits 0 only when every step of the session worked; scripts/teacher_session.py logs each step.
set -euo pipefail
exec "$(dirname "$0")/atspi-session.sh" teacher_session.py "${1:-/tmp/teacher-session}"
