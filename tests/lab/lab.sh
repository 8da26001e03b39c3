#!/usr/bin/env bash
# A small internet of network namespaces for the online tests (root and `ip netns` needed):
#
#   hA1 10.1.0.2 --+                                                  +-- hB 10.2.0.2
#   hA2 10.1.0.3 --+-- rA [lan 10.1.0.1 | wan 11.1.0.2] --+      |
#                                                      core (routes) +-- rB [wan 192.0.2.2 | lan 10.2.0.1]
#   srv 203.0.113.10 ------------------------------------------+
#   fl  203.0.113.70 ------------------------------------------+
#
# The routers masquerade their LAN and drop what nobody inside asked for; core is one routing
# hop between them, so that a datagram sent with TTL 2 from a LAN dies before the other
# router. Nothing leads out of the lab: no link reaches the namespace it was made from. rA's
# WAN address looks public because miniupnpd refuses to map ports behind a reserved one; the
# others are documentation addresses.
#
#   lab.sh up PREFIX            make the lab, every namespace named PREFIX-...
#   lab.sh router PREFIX R MODE R (rA or rB) masquerades keeping ports ("keep"), keeping them
#                               but answering strangers itself ("answering"), or picking a
#                               random port for every destination ("random")
#   lab.sh down PREFIX          take it all away (also what is half made)
set -euo pipefail

command=$1
p=$2
ns() { ip netns exec "$p-$1" "${@:2}"; }

link() {  # link NS1 IF1 ADDR1 NS2 IF2 ADDR2
  ip link add "$2" netns "$p-$1" type veth peer name "$5" netns "$p-$4"
  ns "$1" ip addr add "$3" dev "$2"
  ns "$4" ip addr add "$6" dev "$5"
  ns "$1" ip link set "$2" up
  ns "$4" ip link set "$5" up
}

router_rules() {  # router_rules R MODE
  local masquerade="masquerade" answering=""
  [[ $2 == random ]] && masquerade="masquerade random"
  # The router's own stack takes a stranger's datagram (and answers it with an ICMP error), so
  # its connection tracking remembers the stranger and later gives the LAN's own datagram to
  # that stranger another port.
  [[ $2 == answering ]] && answering='iifname "wan" udp dport 1024-65535 accept'
  ns "$1" nft -f - <<NFT
flush ruleset
# Names and chains as miniupnpd expects them.
table inet filter {
  chain input {
    type filter hook input priority 0; policy drop;
    ct state established,related accept
    iifname { "lo", "lan" } accept
    $answering
  }
  chain forward {
    type filter hook forward priority 0; policy drop;
    ct state established,related accept
    iifname "lan" oifname { "lan", "wan" } accept
    jump miniupnpd
  }
  chain miniupnpd {
  }
  chain prerouting {
    type nat hook prerouting priority -100; policy accept;
    jump prerouting_miniupnpd
  }
  chain postrouting {
    type nat hook postrouting priority 100; policy accept;
    jump postrouting_miniupnpd
    oifname "wan" $masquerade
  }
  chain prerouting_miniupnpd {
  }
  chain postrouting_miniupnpd {
  }
}
NFT
}

case $command in
  up)
    for n in core srv fl rA rB hA1 hA2 hB; do
      ip netns add "$p-$n"
      ns $n ip link set lo up
    done
    link core tosrv 203.0.113.1/26 srv wan 203.0.113.10/26
    link core tofl 203.0.113.65/26 fl wan 203.0.113.70/26
    link core torA 11.1.0.1/24 rA wan 11.1.0.2/24
    link core torB 192.0.2.1/24 rB wan 192.0.2.2/24
    for r in rA rB; do
      ns $r ip link add lan type bridge
      ns $r ip link set lan up
    done
    ns rA ip addr add 10.1.0.1/24 dev lan
    ns rB ip addr add 10.2.0.1/24 dev lan
    for h in "hA1 rA 10.1.0.2" "hA2 rA 10.1.0.3" "hB rB 10.2.0.2"; do
      read -r host router address <<<"$h"
      ip link add "to$host" netns "$p-$router" type veth peer name lan netns "$p-$host"
      ns $router ip link set "to$host" master lan up
      ns $host ip addr add "$address/24" dev lan
      ns $host ip link set lan up
      ns $host ip route add default via "${address%.*}.1"
    done
    ns srv ip route add default via 203.0.113.1
    ns fl ip route add default via 203.0.113.65
    ns rA ip route add default via 11.1.0.1
    ns rB ip route add default via 192.0.2.1
    for n in core rA rB; do ns $n sysctl -qw net.ipv4.ip_forward=1; done
    router_rules rA keep
    router_rules rB keep
    ;;
  router)
    # What the old rules let through stays tracked: each test takes ports of its own.
    router_rules "$3" "$4"
    ;;
  down)
    for n in hA1 hA2 hB rA rB fl srv core; do
      ip netns pids "$p-$n" 2>/dev/null | xargs -r kill -9 2>/dev/null || true
      ip netns del "$p-$n" 2>/dev/null || true
    done
    ;;
  *)
    echo "lab.sh: unknown command $command" >&2
    exit 2
    ;;
esac
