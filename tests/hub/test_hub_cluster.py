#!/usr/bin/env python3
"""Two copies of the hub (--copies 2) behind HAProxy on a throwaway PostgreSQL
15 cluster: one player's runs get the runs limit and no more; then many
clients register, publish and send runs, one copy is killed with SIGKILL,
and the other must serve all that either acknowledged, with no 5xx but the
balancer's for requests in flight on the dead copy. Usage:
test_hub_cluster.py HUB_BINARY
"""
import http.client
import json
import os
import socket
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import hub_harness as api   # noqa: E402  (reads HUB_BINARY from sys.argv)

RUNS_PER_TOKEN = 40          # a minute, across both copies
CLIENTS = 8
ACKS_BEFORE_KILL, ACKS_AFTER_KILL = 40, 40
WAIT_SECONDS = 120           # bound of every wait for a condition

HAPROXY_CONFIG = """global
  stats socket {dir}/stats.sock level admin
defaults
  mode http
  timeout connect 60s
  timeout client 60s
  timeout server 60s
  timeout check 60s
  retries 3
  option redispatch 1
  option forwardfor
  http-reuse never
frontend hub
  bind 127.0.0.1:{port}
  default_backend copies
backend copies
  balance roundrobin
  option httpchk GET /api/v1/health
  server a 127.0.0.1:{a} check inter 500ms fall 2 rise 1
  server b 127.0.0.1:{b} check inter 500ms fall 2 rise 1
"""


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def until(condition, what):
    deadline = time.monotonic() + WAIT_SECONDS
    while not condition():
        assert time.monotonic() < deadline, "waited too long for " + what
        threading.Event().wait(0.05)


def send(port, method, path, body=None, tok=None):
    """(status, answer, from_hub): from_hub is False for the balancer's own answer."""
    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=60)
    conn.request(method, path, body=json.dumps(body) if body is not None else None,
                 headers={"Authorization": "Bearer " + tok} if tok else {})
    r = conn.getresponse()
    text = r.read().decode("utf-8", "replace")
    conn.close()
    from_hub = r.getheader("Content-Type", "").startswith("application/json")
    return r.status, json.loads(text) if from_hub else text, from_hub


def servers_up(folder):
    with socket.socket(socket.AF_UNIX) as s:
        s.connect(os.path.join(folder, "stats.sock"))
        s.sendall(b"show stat\n")
        text = b"".join(iter(lambda: s.recv(65536), b"")).decode()
    return sum(1 for line in text.splitlines() if line.startswith("copies,") and ",UP," in line)


def rate_limit_holds_across_copies(port):
    """Sent one after another, round robin: each copy takes half the budget."""
    tok = api.token("Budget")
    assert send(port, "POST", "/api/v1/players", {"name": "Budget"}, tok)[0] == 201
    path = "/api/v1/levels/%s/runs" % next(l for l in api.HUB.levels() if l["shipped"] == 1)["id"]
    started, statuses = time.monotonic(), []
    for _ in range(2 * RUNS_PER_TOKEN):
        statuses.append(send(port, "POST", path, {"replay": api.SOLUTION1}, tok)[0])
    refilled = int(RUNS_PER_TOKEN * (time.monotonic() - started) / 60)   # the buckets refill as they go
    assert set(statuses) == {201, 429}, statuses
    assert RUNS_PER_TOKEN <= statuses.count(201) <= RUNS_PER_TOKEN + refilled, statuses


def load_and_kill(port, victim, survivor):
    acked, answers, killed = [], [], []   # killed: when the copy was dead
    players = [api.token("Client %d" % k) for k in range(CLIENTS)]
    replays = {l["id"]: api.SOLUTIONS[l["shipped"]] for l in survivor.levels() if l["shipped"] in (2, 3)}
    shipped = sorted(replays)
    stop = threading.Event()

    def work(k):
        i = 0
        try:
            status, _, _ = send(port, "POST", "/api/v1/players", {"name": "Client %d" % k}, players[k])
            answers.append((status, True, 0.0))
            acked.append(("player", k, None))
            while not stop.is_set():
                i += 1
                begun = time.monotonic()
                if i % 3 == 0:
                    body, path = {"level": api.variant("Cluster %d %d" % (k, i)), "replay": api.SOLUTION1}, "/api/v1/levels"
                else:
                    level = shipped[i % 2]
                    body, path = {"replay": replays[level]}, "/api/v1/levels/%s/runs" % level
                status, answer, from_hub = send(port, "POST", path, body, players[k])
                answers.append((status, from_hub, begun))
                if status in (200, 201):
                    acked.append(("run", answer["run"], body["replay"]))
                    if "id" in answer:
                        acked.append(("level", answer["id"], body["level"]))
        except Exception as e:   # a dropped connection is a fault too
            answers.append((e, False, time.monotonic()))
            stop.set()

    threads = [threading.Thread(target=work, args=(k,)) for k in range(CLIENTS)]
    for t in threads:
        t.start()
    try:
        until(lambda: len(acked) >= ACKS_BEFORE_KILL or stop.is_set(), "runs before the kill")
        victim.kill()   # and reaped: a request begun after this never reached it
        killed.append(time.monotonic())
        until(lambda: len(acked) >= ACKS_BEFORE_KILL + ACKS_AFTER_KILL or stop.is_set(), "runs after the kill")
    finally:
        stop.set()
        for t in threads:
            t.join()
    for status, from_hub, begun in answers:
        assert isinstance(status, int) and (status < 500 or (not from_hub and killed and begun < killed[0])), (status, from_hub, begun, killed)
        assert status in (200, 201) or not from_hub, status
    print("cluster: %d answers, %d of them the balancer's 5xx for requests on the killed copy"
          % (len(answers), sum(1 for a in answers if not a[1])))
    return acked


def main():
    folder = tempfile.mkdtemp(prefix="hub-cluster-")
    api.WEB = os.path.join(folder, "web")
    os.mkdir(api.WEB)
    pg = os.path.join(folder, "pg")
    db = subprocess.run(["bash", os.path.join(api.REPO, "tools/hub-pg.sh"), "start", pg],
                        check=True, capture_output=True, text=True).stdout.strip()
    limits = ["--copies", "2", "--rate-runs-token", str(RUNS_PER_TOKEN), "--rate-publish-token", "100",
              "--rate-runs-address", "100000", "--rate-publish-address", "100000", "--rate-players-address", "100000",
              "--trust-proxy"]
    copies, haproxy = [], None
    try:
        copies = [api.Hub(*limits, db=db, ready=False) for _ in range(2)]
        for copy in copies:
            copy.ready()
        api.HUB = copies[1]
        port = free_port()
        with open(os.path.join(folder, "haproxy.cfg"), "w") as f:
            f.write(HAPROXY_CONFIG.format(dir=folder, port=port, a=copies[0].port, b=copies[1].port))
        haproxy = subprocess.Popen(["haproxy", "-db", "-f", os.path.join(folder, "haproxy.cfg")])
        until(lambda: os.path.exists(os.path.join(folder, "stats.sock")) and servers_up(folder) == 2,
              "both copies up behind the balancer")
        rate_limit_holds_across_copies(port)
        acked = load_and_kill(port, copies[0], copies[1])
        for kind, id, text in acked:
            if kind == "player":
                assert api.HUB.post("/api/v1/players", {"name": "Client %d" % id}, api.token("Client %d" % id))[0] == 200
            else:
                path = "/api/v1/runs/%d/replay" % id if kind == "run" else "/api/v1/levels/" + id
                assert api.HUB.call("GET", path)[:2] == (200, text), (kind, id)
        api.check_counts(db)
        print("cluster: %d acknowledged, all served by the copy left" % len(acked))
    finally:
        if haproxy:
            haproxy.terminate()
            haproxy.wait()
        for copy in copies:
            copy.stop()
        subprocess.run(["bash", os.path.join(api.REPO, "tools/hub-pg.sh"), "stop", pg])
        subprocess.run(["rm", "-rf", folder])


if __name__ == "__main__":
    main()
