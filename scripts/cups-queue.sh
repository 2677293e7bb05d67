#!/usr/bin/env bash
# Starts a CUPS server of our own (there is no init system on the build machines) and makes a
# cups-pdf printer the default, so the print tests produce real jobs: each lands as a PDF in
# ~/PDF a moment later.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

queue=VexorelPDF

# lpstat -r exits 0 either way; only its text tells.
running() { lpstat -r 2>/dev/null | grep -q "is running"; }

if ! running; then
    as_root mkdir -p /run/cups
    as_root cupsd
    for _ in $(seq 50); do
        running && break
        sleep 0.2
    done
fi
running || { echo "cupsd did not start" >&2; exit 1; }

if ! lpstat -p "$queue" >/dev/null 2>&1; then
    ppd=$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF/ {print $1; exit}')
    as_root lpadmin -p "$queue" -E -v cups-pdf:/ -m "${ppd:-lsb/usr/cups-pdf/CUPS-PDF_opt.ppd}"
fi
as_root lpadmin -d "$queue"
as_root cupsenable "$queue"
as_root cupsaccept "$queue"
mkdir -p "$HOME/PDF"
echo "Default printer: $(lpstat -d)"
