#!/bin/sh
# A private CUPS scheduler for the printing test: its own socket, spool and
# configuration under one folder, and one queue, the default, that turns every
# job into a PDF file in that folder's out/. Nothing of the system's CUPS is used.
#
#   cups-sandbox.sh start DIR   starts the scheduler; prints the CUPS_SERVER value
#   cups-sandbox.sh stop DIR    stops it
set -eu

action="$1"
dir="$2"

start() {
    rm -rf "$dir"
    mkdir -p "$dir"
    chmod 755 "$dir"
    mkdir -p "$dir/conf" "$dir/spool" "$dir/cache" "$dir/state" "$dir/log" "$dir/out" "$dir/tmp"
    chmod 777 "$dir/out" "$dir/tmp"
    cat >"$dir/conf/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel info
WebInterface No
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
    cat >"$dir/conf/cups-files.conf" <<CONF
ServerRoot $dir/conf
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/tmp
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
FileDevice Yes
CONF
    /usr/sbin/cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" \
        >"$dir/log/cupsd.out" 2>&1 &
    echo $! >"$dir/cupsd.pid"
    export CUPS_SERVER="$dir/cups.sock"
    i=0
    until lpstat -r >/dev/null 2>&1; do
        i=$((i + 1))
        if [ "$i" -gt 100 ]; then
            echo "the private CUPS scheduler did not start" >&2
            cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
            exit 1
        fi
        sleep 0.1
    done
    # The scheduler may answer before its driver list is ready: try a few times.
    ppd=lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd
    tries=0
    until lpadmin -p classroom-pdf -E -v "file://$dir/out/printed.pdf" -m "$ppd" \
        2>"$dir/log/lpadmin.err" && lpadmin -d classroom-pdf 2>>"$dir/log/lpadmin.err"; do
        tries=$((tries + 1))
        if [ "$tries" -ge 20 ]; then
            echo "the PDF queue could not be added:" >&2
            cat "$dir/log/lpadmin.err" "$dir/log/error_log" >&2 2>/dev/null || true
            exit 1
        fi
        sleep 0.5
    done
    echo "$dir/cups.sock"
}

stop() {
    if [ -f "$dir/cupsd.pid" ]; then
        kill "$(cat "$dir/cupsd.pid")" 2>/dev/null || true
        rm -f "$dir/cupsd.pid"
    fi
}

case "$action" in
start) start ;;
stop) stop ;;
*)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac
