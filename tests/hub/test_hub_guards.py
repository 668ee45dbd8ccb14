#!/usr/bin/env python3
"""test_hub_guards.py HUB_BINARY [--pg]: a run sent again is stored once; runs racing a withdrawal are counted or refused; endless heads are refused; slow clients hold their address's share of the threads for a request's time."""
import os
import socket
import sqlite3
import subprocess
import sys
import threading
import unittest
from concurrent.futures import ThreadPoolExecutor
from contextlib import closing

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import hub_harness as api   # noqa: E402  (reads HUB_BINARY and --pg from sys.argv)

ATTACKERS, ATTACK_BYTES = 16, 4 << 20   # connections sending a head that never ends, at once; bytes each
RACERS = 16   # runs sent at once while the level's author withdraws it
PEAK_GROWTH_KB, WAIT_SECONDS = 8 * 1024, 120   # the hub's peak memory may grow by this much; bound of a wait
SHARE, READ_SECONDS, DRIP_SECONDS = 3, 2, 0.2   # connections an address holds; the time to read a request; between bytes


def execute(db, sql):
    if api.USE_PG:
        return subprocess.run(["psql", "-q", "-v", "ON_ERROR_STOP=1", "-c", sql, db], check=True, capture_output=True)
    with closing(sqlite3.connect(db)) as c:
        c.executescript(sql)


def peak_kb(hub):
    with open("/proc/%d/status" % hub.proc.pid) as f:
        return int(next(line for line in f if line.startswith("VmHWM:")).split()[1])


def answer(sock):   # what the hub sent before it closed the connection
    sock.settimeout(WAIT_SECONDS)
    got = b""
    try:
        while True:
            part = sock.recv(4096)
            if not part:
                return got
            got += part
    except ConnectionError:
        return got


def refused(sock):   # the hub closed the connection or answered 4xx
    sock.settimeout(WAIT_SECONDS)
    try:
        return sock.recv(64)[:10] in (b"", b"HTTP/1.1 4")
    except ConnectionError:
        return True


class HubGuards(unittest.TestCase):
    def test_a_run_sent_again_or_at_once_is_stored_once_and_answered_alike(self):
        level = api.HUB.shipped(7)["id"]
        path, body = "/api/v1/levels/%s/runs" % level, {"replay": api.SOLUTIONS[7]}
        first, second = api.HUB.register("Sent Twice"), api.HUB.register("Sent At Once")
        answers = [api.HUB.post(path, body, first)[:2] for _ in range(2)]
        with ThreadPoolExecutor(8) as pool:
            at_once = list(pool.map(lambda _: api.HUB.post(path, body, second)[:2], range(8)))
        self.assertEqual((answers[0][0], answers[1], len(at_once)), (201, answers[0], 8))
        self.assertTrue(all(a == at_once[0] and a[0] == 201 for a in at_once), at_once)
        _, rows = api.query(api.DB, "SELECT COUNT(*) FROM runs WHERE level_id = '%s'" % level)
        self.assertEqual((rows[0][0], api.HUB.level(level)["plays"]), ("3", 3))   # the author's, one of each player
        api.check_counts()

    def test_runs_racing_a_withdrawal_are_counted_or_refused(self):
        author = api.HUB.register("Withdrawn Mid Race")
        id = api.HUB.post("/api/v1/levels", {"level": api.variant("Raced"), "replay": api.SOLUTION1}, author)[1]["id"]
        runners = [api.HUB.register("Racer %d" % i) for i in range(RACERS)]
        post = lambda tok: api.HUB.post("/api/v1/levels/%s/runs" % id, {"replay": api.SOLUTION1}, tok)[0]
        with ThreadPoolExecutor(RACERS + 1) as pool:
            runs = [pool.submit(post, tok) for tok in runners]
            withdrawn = pool.submit(api.HUB.call, "DELETE", "/api/v1/levels/" + id, tok=author)
            statuses = [r.result() for r in runs]
        self.assertEqual(withdrawn.result()[0], 204)
        self.assertTrue(set(statuses) <= {201, 404}, statuses)
        _, rows = api.query(api.DB, "SELECT COUNT(*) FROM runs WHERE level_id = '%s'" % id)
        self.assertEqual(int(rows[0][0]), 1 + statuses.count(201))   # the author's and each one acknowledged
        api.check_counts()   # and each of them counted in the level's plays

    def test_the_players_at_each_score_follow_a_raised_best_and_check_finds_a_wrong_count(self):
        path, raised = "/api/v1/levels/%s/runs" % api.HUB.shipped(1)["id"], api.HUB.register("Raised Runner")
        ranks = [api.HUB.post(path, {"replay": replay}, raised)[1]["rank"] for replay in (api.SLOWER1, api.SOLUTION1)]
        self.assertEqual(ranks, [2, 1])
        api.check_counts()   # the count left the slower score with the best
        execute(api.DB, "UPDATE best_scores SET players = players + 1")
        self.addCleanup(execute, api.DB, "UPDATE best_scores SET players = players - 1")
        done = subprocess.run([api.HUB_BIN, "check", "--db", api.DB], capture_output=True, text=True)
        self.assertIn("the players counted at it are not its bests", done.stdout)

    def test_copies_an_older_hub_stored_twice_are_migrated_and_the_oldest_answers(self):
        old = api.load_dump("schema1")   # with run 23 stored again, and the best pointing at the copy: it stays
        execute(old, "INSERT INTO runs (level_id, player_id, score, frames, created, replay)"
                     " SELECT level_id, player_id, score, frames, created, replay FROM runs WHERE id = 23;"
                     " UPDATE bests SET run_id = (SELECT MAX(id) FROM runs) WHERE run_id = 23;"
                     " UPDATE levels SET plays = plays + 1 WHERE id = (SELECT level_id FROM runs WHERE id = 23)")
        copies = ("SELECT COUNT(*) FROM runs r JOIN runs o ON o.id = 23 AND o.level_id = r.level_id"
                  " AND o.player_id = r.player_id AND o.replay = r.replay")
        hub = api.Hub(*api.NO_LIMITS, db=old)
        self.addCleanup(hub.stop)
        _, [(level, replay)] = api.query(old, "SELECT level_id, replay FROM runs WHERE id = 23")
        status, answer, _ = hub.post("/api/v1/levels/%s/runs" % level, {"replay": replay}, api.token("Dave Old"))
        self.assertEqual((status, answer["run"], api.query(old, copies)[1]), (201, 23, [("2",)]))
        api.check_counts(old)

    def test_heads_past_the_bounds_are_refused_while_the_hub_serves(self):
        hub = api.Hub(*api.NO_LIMITS)
        self.addCleanup(hub.stop)
        self.assertEqual(hub.call("GET", "/api/v1/health")[0], 200)
        before, runs = peak_kb(hub), b"POST /api/v1/levels/%s/runs HTTP/1.1\r\n" % (b"a" * 16)
        health = b"GET /api/v1/health HTTP/1.1\r\n"   # answered 200 when the head is read through
        heads = [b"GET /" + b"a" * ATTACK_BYTES, health + b"X-Long: " + b"a" * ATTACK_BYTES,
                 runs + b"Transfer-Encoding: chunked\r\n\r\n" + b"f" * ATTACK_BYTES,   # a chunk size
                 health + b"".join(b"X-%d: y\r\n" % i for i in range(10000)) + b"\r\n"]
        socks = [socket.create_connection(("127.0.0.1", hub.port)) for _ in range(ATTACKERS)]
        self.addCleanup(lambda: [s.close() for s in socks])

        def send(sock, head):
            try:
                sock.sendall(head)
            except ConnectionError:   # refused before it was all sent
                pass
        with ThreadPoolExecutor(ATTACKERS) as pool:
            list(pool.map(send, socks, heads * (ATTACKERS // len(heads))))
        self.assertEqual(hub.call("GET", "/api/v1/health")[0], 200)   # to another client, meanwhile
        self.assertEqual([i for i, s in enumerate(socks) if not refused(s)], [])
        self.assertLess(peak_kb(hub) - before, PEAK_GROWTH_KB)

    def test_slow_clients_hold_their_address_s_share_of_threads_for_a_request_s_time(self):
        hub = api.Hub("--threads", str(2 * SHARE), "--connections-per-address", str(SHARE),
                      "--read-seconds", str(READ_SECONDS))
        self.addCleanup(hub.stop)
        socks = [socket.create_connection(("127.0.0.1", hub.port)) for _ in range(SHARE + 2)]
        self.addCleanup(lambda: [s.close() for s in socks])
        done = threading.Event()
        self.addCleanup(done.set)

        def drip():   # a body that would take hours, a byte at a time
            for s in socks:
                s.sendall(b"POST /api/v1/players HTTP/1.1\r\nContent-Length: 100000\r\n\r\n{")
            while not done.wait(DRIP_SECONDS):
                for s in socks:
                    try:
                        s.send(b" ")
                    except OSError:   # closed by the hub
                        pass
        threading.Thread(target=drip, daemon=True).start()
        statuses = sorted(answer(s)[9:12] for s in socks)
        self.assertEqual(statuses, [b"400"] * SHARE + [b"503"] * 2)   # cut at the time to read; past the share
        metrics = hub.call("GET", "/metrics")[1]
        self.assertIn("tetherorb2_hub_connection_refusals_total 2\n", metrics)


if __name__ == "__main__":
    api.main()   # runs this file's tests on its hubs
