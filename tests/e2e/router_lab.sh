#!/usr/bin/env bash
# The host behind a home router, in a lab of network namespaces made here and removed at the
# end: a home network 10.77.0.0/24 (the host at 10.77.0.2), a router namespace that
# masquerades it behind 11.77.0.1, and an outside network where a friend sits at 11.77.0.2.
# The lab's addresses exist only inside its namespaces, which have no route out of the
# machine. The router runs Debian's miniupnpd (UPnP IGD and NAT-PMP) or nothing:
#   - no daemon: the host's status line keeps the address to give (its own), the terminal
#     says to open the port by hand; the friend outside
#     cannot reach it, a rider on the home network still can;
#   - UPnP: the host shows "ask your friend to join 11.77.0.1:PORT" in its menu and on
#     standard output, the mapping is leased for 120 s, the friend joins through that
#     address, and once the host is stopped (SIGTERM) the mapping is gone from the router;
#   - NAT-PMP alone: the same address and lease, and the mapping gone after SIGINT.
# Then a fake device on the home network (fake_gateway.py) in the router's place: one whose
# description never ends or comes a byte every 3 s, one that floods each search with replies
# from thousands of addresses, and a router that is itself behind another (its outside
# address 100.64.1.2 by UPnP, 192.168.1.50 by NAT-PMP). The host stays under 200 MB, never
# offers a reserved address, and quits at once on ESC, SIGTERM or SIGINT.
# The games reach the X server through its socket file, which every namespace sees.
# Needs root. Usage: router_lab.sh BUILD_DIR TEXT_MASK_TOOL
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
text_mask=${2:?text_mask tool}
[ "$(id -u)" -eq 0 ] || fail "the lab needs root for its network namespaces"
for tool in ip nft miniupnpd python3; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (./deps.sh test installs it)"
done

home=rdhome-$$; router=rdrouter-$$; outside=rdout-$$
DAEMON_PID=""
lab_down() {
    local rc=$? ns
    set +e
    [ -n "$DAEMON_PID" ] && kill "$DAEMON_PID" 2>/dev/null && wait "$DAEMON_PID" 2>/dev/null
    for pid in $GAME_PID "${HELPER_PIDS[@]}"; do kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
    for ns in "$home" "$router" "$outside"; do ip netns del "$ns" 2>/dev/null; done
    return "$rc"
}
trap 'lab_down; cleanup' EXIT

for ns in "$home" "$router" "$outside"; do
    ip netns add "$ns"
    ip -n "$ns" link set lo up
done
ip -n "$home" link add h0 type veth peer name r0 netns "$router"
ip -n "$router" link add r1 type veth peer name o0 netns "$outside"
ip -n "$home" addr add 10.77.0.2/24 dev h0
ip -n "$router" addr add 10.77.0.1/24 dev r0
ip -n "$router" addr add 11.77.0.1/24 dev r1
ip -n "$outside" addr add 11.77.0.2/24 dev o0
ip -n "$home" link set h0 up; ip -n "$router" link set r0 up
ip -n "$router" link set r1 up; ip -n "$outside" link set o0 up
ip -n "$home" route add default via 10.77.0.1
ip netns exec "$router" sysctl -qw net.ipv4.ip_forward=1
# The home network goes out masqueraded; nothing comes in unless miniupnpd's chains let it.
ip netns exec "$router" nft -f - <<'NFT'
table inet lab_filter {
    chain forward {
        type filter hook forward priority 0; policy drop;
        ct state established,related accept
        iifname "r0" oifname "r1" accept
        jump miniupnpd
    }
    chain miniupnpd {
    }
}
# The fake device's flood of search replies, each from an address of its own, is left out of
# connection tracking: its hundred thousand entries would fill the table, and the next device's
# answers would be dropped.
table inet lab_raw {
    chain output {
        type filter hook output priority raw; policy accept;
        ip saddr 10.78.0.0/16 notrack
    }
}
table inet lab_nat {
    chain prerouting {
        type nat hook prerouting priority -100; policy accept;
        jump prerouting_miniupnpd
    }
    chain postrouting {
        type nat hook postrouting priority 100; policy accept;
        jump postrouting_miniupnpd
        oifname "r1" masquerade
    }
    chain prerouting_miniupnpd {
    }
    chain postrouting_miniupnpd {
    }
}
NFT

# start_daemon UPNP: miniupnpd in the router, with UPnP on (yes) or only NAT-PMP (no).
start_daemon() {
    cat > "$tmp/miniupnpd.conf" <<CONF
ext_ifname=r1
listening_ip=r0
http_port=0
enable_natpmp=yes
enable_upnp=$1
secure_mode=yes
system_uptime=yes
uuid=7a1b2c3d-0000-4000-8000-00000000$$
upnp_table_name=lab_filter
upnp_nat_table_name=lab_nat
upnp_forward_chain=miniupnpd
upnp_nat_chain=prerouting_miniupnpd
upnp_nat_postrouting_chain=postrouting_miniupnpd
allow 1024-65535 10.77.0.0/24 1024-65535
deny 0-65535 0.0.0.0/0 0-65535
CONF
    ip netns exec "$router" miniupnpd -f "$tmp/miniupnpd.conf" -d -P "$tmp/miniupnpd.pid" \
        >"$tmp/miniupnpd.log" 2>&1 &
    DAEMON_PID=$!
    for _ in $(seq 50); do
        grep -q "Listening for NAT-PMP" "$tmp/miniupnpd.log" && return 0
        sleep 0.1
    done
    cat "$tmp/miniupnpd.log" >&2
    fail "miniupnpd did not start"
}
stop_daemon() { kill "$DAEMON_PID"; wait "$DAEMON_PID" 2>/dev/null || true; DAEMON_PID=""; }


# host_at: starts the host in the home network; its window is the only one on the display.
host_at() {
    GAME_LOG=$tmp/host.log start_cmd "$build" ip netns exec "$home" ./riverduel --host "$port"
}
# rider NAMESPACE ADDRESS LOG: a joiner elsewhere, in the background (its window unwatched).
rider() {
    (cd "$build" && exec ip netns exec "$1" ./riverduel --join "$2:$port") >"$3" 2>&1 &
    JOIN_PID=$!
    HELPER_PIDS+=("$JOIN_PID")
}
# status_reads TEXT: the host's menu shows TEXT under its button, pixel for pixel.
status_reads() {
    shot "$tmp/status.png"
    diff <(mask "$tmp/status.png" 100 152 $((8 * ${#1})) 8 FFFFFF) <("$text_mask" "$1") >/dev/null ||
        fail "the host's status line does not read '$1'"
}
# stop_host SIGNAL: the host ends by SIGNAL within 10 s, with status 0.
stop_host() {
    kill -"$1" "$GAME_PID"
    wait_exit 10
    [ "$GAME_RC" -eq 0 ] || fail "the host ended with $GAME_RC after SIG$1"
}
mapping() { ip netns exec "$router" nft list chain inet lab_nat prerouting_miniupnpd | grep "dport $port"; }

export HOME=$tmp # no sound device: the game starts without sound
port=$(free_port)

# No daemon: nobody maps, the port must be opened by hand, and only the home network gets in.
host_at
wait_line "$tmp/host.log" "no router answered: for a friend outside this network, open UDP port $port by hand" 8
at_home="waiting for a rider on UDP port $port: ask your friend to join 10.77.0.2:$port"
wait_line "$tmp/host.log" "$at_home" 3
status_reads "$at_home"
rider "$outside" 11.77.0.1 "$tmp/outside.log"
sleep 4
grep -q "riding with the host" "$tmp/outside.log" && fail "the friend outside reached a host with no mapping"
grep -q "Berto has joined" "$tmp/host.log" && fail "the host met someone with no mapping"
kill -9 "$JOIN_PID"
rider "$router" 10.77.0.2 "$tmp/home.log"
wait_line "$tmp/home.log" "riding with the host at 10.77.0.2:$port" 6
wait_line "$tmp/host.log" "Berto has joined" 3
kill -9 "$JOIN_PID"
stop_host TERM
pass "no router answers: the host says to open the port by hand and still hosts at home"

# UPnP: the address from the router, the friend joins through it, and the mapping goes with
# the host.
start_daemon yes
: >"$tmp/host.log"
host_at
friend="waiting for a rider on UDP port $port: ask your friend to join 11.77.0.1:$port"
wait_line "$tmp/host.log" "$friend" 8
status_reads "$friend"
mapping >/dev/null || fail "the router holds no mapping for port $port"
grep -q "AddPortMapping: ext port $port to 10.77.0.2:$port protocol UDP for: River Duel leaseduration=120 " \
    "$tmp/miniupnpd.log" || fail "the mapping was not asked for by UPnP with a lease of 120 s"
rider "$outside" 11.77.0.1 "$tmp/outside.log"
wait_line "$tmp/outside.log" "riding with the host at 11.77.0.1:$port" 6
wait_line "$tmp/host.log" "Berto has joined" 3
kill -9 "$JOIN_PID"
stop_host TERM
mapping && fail "the mapping outlived the host stopped by SIGTERM"
pass "UPnP: the host shows 11.77.0.1:$port, the friend outside joins through it, and SIGTERM removes it"
stop_daemon

# NAT-PMP alone.
start_daemon no
: >"$tmp/host.log"
host_at
wait_line "$tmp/host.log" "$friend" 8
mapping >/dev/null || fail "the router holds no NAT-PMP mapping for port $port"
grep -q "NAT-PMP port mapping request : $port->10.77.0.2:$port udp lifetime=120s" "$tmp/miniupnpd.log" ||
    fail "the mapping was not asked for by NAT-PMP with a lease of 120 s"
stop_host INT
mapping && fail "the NAT-PMP mapping outlived the host stopped by SIGINT"
grep -q "mapping removed" "$tmp/miniupnpd.log" || fail "the host did not take back its NAT-PMP mapping"
pass "NAT-PMP: the host shows 11.77.0.1:$port, and SIGINT removes the mapping"
stop_daemon

# The fake devices, one after another, each with the way the host is told to quit.
start_fake() {
    ip netns exec "$router" python3 "$(dirname "$0")/fake_gateway.py" "$1" 10.77.0.1 5000 \
        </dev/null >"$tmp/fake.log" 2>&1 &
    FAKE_PID=$!
    HELPER_PIDS+=("$FAKE_PID")
    wait_line "$tmp/fake.log" ready 5
}
# quits_at_once HOW: under 200 MB, the host ends within a second of HOW (Escape, TERM, INT),
# two allowed on a busy machine (it took 20 s to for ever before); sets TOOK.
quits_at_once() {
    local rss began ms
    rss=$(awk '/^VmRSS/ {print $2}' "/proc/$GAME_PID/status")
    [ "$rss" -lt 204800 ] || fail "the host holds $rss kB"
    xdotool windowfocus --sync "$WIN"
    began=$(date +%s%N)
    if [ "$1" = Escape ]; then
        xdotool keydown Escape; sleep 0.1; xdotool keyup Escape
    else
        kill -"$1" "$GAME_PID"
    fi
    wait_exit 10
    ms=$((($(date +%s%N) - began) / 1000000))
    [ "$GAME_RC" -eq 0 ] || fail "the host ended with $GAME_RC after $1"
    [ "$ms" -le 2000 ] || fail "the host took $ms ms to quit after $1"
    TOOK="$ms ms, $rss kB"
}
behind="the router is itself behind another router: a friend outside this network cannot reach UDP port $port"
by_hand="no router answered: for a friend outside this network, open UDP port $port by hand"
fakes=("endless|Escape|$at_home|$by_hand" "trickle|TERM||" "flood|INT|$at_home|$by_hand" "cgnat|TERM|$at_home|$behind" "natpmp|INT|$at_home|$behind")
for fake in "${fakes[@]}"; do
    IFS='|' read -r mode how says told <<<"$fake"
    start_fake "$mode"
    : >"$tmp/host.log"
    started=$(date +%s.%N)
    host_at
    # The terminal's word on the router comes once the asking is over; the screen then keeps
    # the address to give. Under the suite's load a host has now and then said "no router
    # answered" to the behind-a-router devices: what the device saw is shown, and the case
    # is played once more before it fails.
    if [ -n "$told" ]; then
        for _ in $(seq 80); do grep -qF -- "$told" "$tmp/host.log" && break; sleep 0.1; done
        if ! grep -qF -- "$told" "$tmp/host.log"; then
            echo "the '$mode' device was not heard; the host said:"; cat "$tmp/host.log"
            echo "and the device saw (the host started at $started):"; cat "$tmp/fake.log"
            quits_at_once "$how"
            : >"$tmp/host.log"
            host_at
        fi
        wait_line "$tmp/host.log" "$told" 8; sleep 0.2; status_reads "$says"
    else
        sleep 1.5
    fi
    grep -E "join (100\.64|192\.168)" "$tmp/host.log" && fail "the host offered a reserved address"
    quits_at_once "$how"
    kill "$FAKE_PID"; wait "$FAKE_PID" 2>/dev/null || true
    pass "a device that answers '$mode': ${says:-asked mid-way}; quit on $how after $TOOK"
done
