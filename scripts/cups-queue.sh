#!/usr/bin/env bash
# Starts the print service with a PDF printer queue (cups-pdf), so that tests print through a real
# system printer and read back what came out. Needs root; without it, or without CUPS, it says so and
# the system-printer tests skip.
set -uo pipefail
queue=${QBM_TEST_QUEUE:-QBM_PDF}
if [[ $(id -u) -ne 0 ]]; then echo "cups-queue: not root, no test print queue"; exit 0; fi
if ! command -v cupsd >/dev/null || [[ ! -f /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd ]]; then
    echo "cups-queue: cups or cups-pdf missing, no test print queue"; exit 0
fi
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    mkdir -p /run/cups
    cupsd || { echo "cups-queue: the print service did not start"; exit 0; }
    for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.1; done
fi
if ! lpstat -p "$queue" >/dev/null 2>&1; then
    lpadmin -p "$queue" -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd 2>/dev/null ||
        { echo "cups-queue: could not add $queue"; exit 0; }
fi
echo "cups-queue: printer $queue ready"
