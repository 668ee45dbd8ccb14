#!/usr/bin/env python3
"""The level hub as a service, against real hub processes on a real database:
older databases migrated, the rate limits on a second copy, the access log
and the metrics, a backup of a serving hub, a full verify queue, a truncated
request, and SIGKILL in the middle of publishing and recording followed by a
restart. No answer may be a 5xx but the 503 of a full verify queue.

  test_hub_service.py HUB_BINARY        on a SQLite file in a temporary folder
  test_hub_service.py HUB_BINARY --pg   on a throwaway PostgreSQL cluster (tools/hub-pg.sh)
  --failfast                            stops at the first failure (tools/mutants.sh)
"""
import http.client
import json
import os
import re
import socket
import sqlite3
import subprocess
import tempfile
import threading
import time
import unittest

import hub_harness as api
from hub_harness import HUB_BIN, USE_PG, NO_LIMITS, SOLUTIONS, SOLUTION1, variant, token, Hub, check_counts, load_dump, query


class HubService(unittest.TestCase):
    @unittest.skipIf(USE_PG, "the old database is made with SQLite's own module")
    def test_an_older_database_loses_the_runs_publishing_again_recorded(self):
        import sqlite3
        hub = Hub(*NO_LIMITS)
        tok = hub.register("Old Publisher")
        id, run = hub.post("/api/v1/levels", {"level": variant("Old Twice"), "replay": SOLUTION1}, tok)[1].values()
        hub.stop()
        with sqlite3.connect(api.DB) as db:   # what publishing it again wrote before
            db.execute("INSERT INTO runs (level_id, player_id, score, frames, created, replay)"
                       " SELECT level_id, player_id, score, frames, created, replay FROM runs WHERE id = ?", (run,))
            db.execute("UPDATE levels SET plays = plays + 1 WHERE id = ?", (id,))
            db.execute("UPDATE schema_version SET version = 2")
            for undo in ["DROP TRIGGER bests_made", "DROP TRIGGER bests_rescored", "DROP TRIGGER bests_gone",
                         "DROP TABLE best_scores", "CREATE INDEX runs_by_level ON runs (level_id, player_id)",
                         "DROP TABLE pictures", "DROP TABLE reports", "DROP TABLE tries", "DROP INDEX levels_by_author",
                         "DROP INDEX bests_by_player", "DROP INDEX runs_once"] + [   # the later migrations
                    "ALTER TABLE levels DROP COLUMN " + c for c in ["search_key", "tried", "cleared", "held"]] + [
                    "ALTER TABLE runs DROP COLUMN replay_hash"]:
                db.execute(undo)
        db.close()
        hub.start()
        self.addCleanup(hub.stop)
        self.assertEqual((hub.level(id)["plays"], hub.call("GET", "/api/v1/runs/%d/replay" % run)[0]), (1, 200))
        hub.refused(404, "no run", "GET", "/api/v1/runs/%d/replay" % (run + 1))
        check_counts()

    def test_a_database_of_the_first_schema_is_migrated_with_nothing_lost(self):
        old = load_dump("schema1")   # made by the first release: players, levels, runs, ratings, a withdrawal
        tables = ["players", "levels", "runs", "bests", "ratings"]
        kept = {t: query(old, "SELECT * FROM " + t) for t in tables}
        hub = Hub(*NO_LIMITS, db=old)
        self.addCleanup(hub.stop)
        self.assertEqual(query(old, "SELECT version FROM schema_version"), query(api.DB, "SELECT version FROM schema_version"))
        check_counts(old)
        for t, (columns, rows) in kept.items():   # every row, column for column (a slot's level may change)
            same = [n for n, c in enumerate(columns) if c != "shipped"]
            now = query(old, "SELECT %s FROM %s" % (", ".join(columns[n] for n in same), t))[1]
            lost = set(tuple(r[n] for n in same) for r in rows) - set(now)
            self.assertEqual(len(lost), 0, "%s: %d rows lost or changed" % (t, len(lost)))
        levels, runs = kept["levels"], kept["runs"]
        listed = {r[0]: r for r in levels[1] if r[levels[0].index("state")] == "0"}
        served = set(l["id"] for l in hub.levels())
        for id, row in listed.items():
            self.assertEqual((id in served, hub.call("GET", "/api/v1/levels/" + id)[1]), (True, row[1]))
        for id in set(r[0] for r in levels[1]) - set(listed):   # withdrawn, and stays so through hide and unhide
            for command in ["hide", "unhide"]:
                subprocess.run([HUB_BIN, command, id, "--db", old], capture_output=True, check=True)
            hub.refused(404, "no level", "GET", "/api/v1/levels/" + id)
        names = [r[1] for r in kept["players"][1] if r[3]]
        for name in names:
            self.assertEqual(hub.post("/api/v1/players", {"name": name}, token(name))[0], 200)
        # Each run of a listed level is served, and a player's, sent again, finishes it with the same score
        # (the shipped levels' author runs are their solutions as they were, some re-recorded since for a changed step).
        column = {c: runs[0].index(c) for c in ["id", "level_id", "player_id", "score", "replay"]}
        authors = set(r[0] for r in kept["players"][1] if not r[3])
        for run in (r for r in runs[1] if r[column["level_id"]] in listed):
            self.assertEqual(hub.call("GET", "/api/v1/runs/%s/replay" % run[column["id"]])[1], run[column["replay"]])
            if run[column["player_id"]] not in authors:
                again = hub.post("/api/v1/levels/%s/runs" % run[column["level_id"]], {"replay": run[column["replay"]]},
                                 token(names[0]))
                self.assertEqual((again[0], str(again[1].get("score"))), (201, run[column["score"]]), again[1])
        check_counts(old)

    def test_rate_limits_per_token_and_address_on_a_second_copy(self):
        # The tightest bucket here (3 a minute) regains a request every 20 s: a round slower
        # than that, on a stalled machine, may see a refused request let through. It proves
        # nothing and is played again on a new copy, whose table starts empty.
        for attempt in range(5):
            copy = Hub("--rate-runs-token", "2", "--rate-runs-address", "3", "--rate-players-address", "3", "--trust-proxy")
            try:
                begun = time.monotonic()
                statuses = self.limited_round(copy, " %d" % attempt)
                if time.monotonic() - begun < 60 / 3:
                    break
            finally:
                copy.stop()
        self.assertEqual(statuses, [201, 201, 429, True, 201, 429, 429, 201, 201, 201, 429, 201, 429])

    def limited_round(self, copy, suffix):
        """The statuses of one round of requests against the limits on copy; True for a 429's Retry-After of 1 s or more."""
        # Two copies on one database: the second added no second author run.
        self.assertEqual(copy.shipped(5)["plays"], 1)
        first, second = copy.register("Limited One" + suffix), copy.register("Limited Two" + suffix)
        path, run = "/api/v1/levels/%s/runs" % copy.shipped(4)["id"], {"replay": SOLUTIONS[4]}
        statuses = [copy.post(path, run, first)[0] for _ in range(2)]
        status, answer, r = copy.post(path, run, first)
        statuses += [status, int(r.getheader("Retry-After") or 0) >= 1]
        statuses += [copy.post(path, run, second)[0] for _ in range(2)]   # the address's third, then none
        copy.register("Limited Three" + suffix)
        statuses.append(copy.post("/api/v1/players", {"name": "Limited Four" + suffix}, token("Limited Four" + suffix))[0])

        # Behind a proxy: an IPv6 /64 is one address, the rightmost of the last X-Forwarded-For line.
        def proxied(name, *lines):
            conn = http.client.HTTPConnection("127.0.0.1", copy.port, timeout=60)
            conn.putrequest("POST", "/api/v1/players")
            body = json.dumps({"name": name}).encode()
            for header, value in [("Authorization", "Bearer " + token(name)), ("Content-Length", str(len(body)))] + \
                    [("X-Forwarded-For", l) for l in lines]:
                conn.putheader(header, value)
            conn.endheaders(body)
            status = conn.getresponse().status
            conn.close()
            return status
        return statuses + [proxied("Proxied %d%s" % (n, suffix), *lines) for n, lines in enumerate([
            ["2001:db8:0:1::1"], ["2001:db8:0:1::2"], ["10.0.0.1, 2001:db8:0:1::3"], ["2001:db8:0:1:ffff::4"],
            ["2001:db8:0:1::5", "2001:db8:0:2::1"], ["2001:db8:0:2::1", "2001:db8:0:1::6"]])]

    def test_access_log_and_metrics(self):
        log = tempfile.TemporaryFile("w+")
        self.addCleanup(log.close)
        hub = Hub("--trust-proxy", "--metrics-token", "m" * 40, log=log)
        self.addCleanup(hub.stop)
        sample = re.compile(r'^[a-z_0-9]+(\{([a-z]+="[^"]*",?)+\})? -?[0-9.e+-]+$')

        def metrics(**headers):
            status, text, _ = hub.call("GET", "/metrics", headers=headers)
            self.assertEqual(status, 200)
            for line in text.splitlines():
                self.assertTrue(sample.match(line) or re.match(r"^# (HELP|TYPE) [a-z_0-9]+ \S", line), line)
            # Every histogram's buckets rise to its count.
            for name, labels in set(re.findall(r'^([a-z_0-9]+)_count(\{[^}]*\})? ', text, re.M)):
                inner = labels[1:-1] + "," if labels else ""
                buckets = [int(v) for v in re.findall("^%s_bucket\\{%sle=\"[^\"]+\"\\} ([0-9]+)$" % (name, re.escape(inner)),
                                                      text, re.M)]
                count = int(re.search("^%s_count%s ([0-9]+)$" % (name, re.escape(labels)), text, re.M).group(1))
                self.assertEqual((buckets, buckets[-1]), (sorted(buckets), count), name)
            return dict((m[0], float(m[1])) for m in re.findall(r"^(\S+) (\S+)$", text, re.M) if not m[0].startswith("#"))

        registered = 'tetherorb2_hub_requests_total{route="players",status="201"}'
        secret = "x" * 40
        for n in range(2):
            self.assertEqual(hub.post("/api/v1/players?token=" + secret, {"name": "Logged %d" % n}, token("Logged %d" % n))[0], 201)
            for _ in range(500):   # a request is counted just after its answer is sent
                if metrics().get(registered) == n + 1:
                    break
                threading.Event().wait(0.01)
            self.assertEqual(metrics().get(registered), n + 1)
        for _ in range(500):
            log.seek(0)
            text = log.read()
            if text.count('"POST /api/v1/players" 201 ') == 2:
                break
            threading.Event().wait(0.01)
        self.assertEqual(text.count('"POST /api/v1/players" 201 '), 2, text)
        self.assertNotIn(secret, text)
        self.assertNotIn(token("Logged 0"), text)
        # A proxy on this machine connects from loopback: what it forwards needs the token.
        hub.refused(403, "metrics token", "GET", "/metrics", headers={"X-Forwarded-For": "127.0.0.1"})
        hub.refused(403, "metrics token", "GET", "/metrics", headers={"X-Forwarded-For": "127.0.0.1"}, tok="n" * 40)
        metrics(**{"X-Forwarded-For": "203.0.113.1", "Authorization": "Bearer " + "m" * 40})

    def test_backup_of_a_serving_hub_holds_every_run_acknowledged_before_it(self):
        copy = os.path.join(os.path.dirname(api.WEB), "backup.sqlite")
        backup = [HUB_BIN, "backup", copy, "--db", api.DB]
        if USE_PG:
            self.assertIn("pg_dump", subprocess.run(backup, capture_output=True, text=True).stderr)
            return
        tok, path = api.HUB.register("Backed Up"), "/api/v1/levels/%s/runs" % api.HUB.shipped(6)["id"]
        acked, stop = [], threading.Event()

        def work():
            while not stop.is_set():
                status, answer, _ = api.HUB.post(path, {"replay": SOLUTIONS[6]}, tok)
                if status == 201:
                    acked.append(answer["run"])
        worker = threading.Thread(target=work)
        worker.start()
        try:
            while len(acked) < 3 and worker.is_alive():
                threading.Event().wait(0.01)
            before = list(acked)
            done = subprocess.run(backup, capture_output=True, text=True)
            while len(acked) < len(before) + 3 and worker.is_alive():   # runs went on being recorded meanwhile
                threading.Event().wait(0.01)
        finally:
            stop.set()
            worker.join()
        self.assertEqual(done.returncode, 0, done.stderr)
        again = subprocess.run(backup, capture_output=True, text=True)
        self.assertEqual((again.returncode, "exists" in again.stderr), (1, True))
        check_counts(copy)
        restored = Hub(db=copy)
        self.addCleanup(restored.stop)
        for run in before:
            self.assertEqual(restored.call("GET", "/api/v1/runs/%d/replay" % run)[:2], (200, SOLUTIONS[6]))

    def test_runs_past_the_verify_queue_are_turned_away_at_once(self):
        hub = Hub("--verifiers", "1", "--verify-queue", "1", *NO_LIMITS)
        self.addCleanup(hub.stop)
        tok, path = hub.register("Queued"), "/api/v1/levels/%s/runs" % hub.shipped(1)["id"]
        answers = []

        def run():
            conn = http.client.HTTPConnection("127.0.0.1", hub.port, timeout=60)
            conn.request("POST", path, json.dumps({"replay": SOLUTION1}), {"Authorization": "Bearer " + tok})
            r = conn.getresponse()
            answers.append((r.status, r.getheader("Retry-After"), json.loads(r.read())))
            conn.close()
        for _ in range(20):   # until two of many runs sent at once found the queue full
            threads = [threading.Thread(target=run) for _ in range(12)]
            for t in threads:
                t.start()
            for t in threads:
                t.join()
            if any(a[0] == 503 for a in answers):
                break
        self.assertEqual({(a[0], a[1]) for a in answers} - {(201, None)}, {(503, "1")})
        self.assertIn("verifying as many runs", next(a[2]["error"] for a in answers if a[0] == 503))

    def test_truncated_request_writes_nothing(self):
        with socket.create_connection(("127.0.0.1", api.HUB.port)) as s:
            s.sendall(b"POST /api/v1/players HTTP/1.1\r\nHost: hub\r\nContent-Length: 100\r\n"
                      b"Authorization: Bearer " + token("Cut Short").encode() + b'\r\n\r\n{"name": "Cut Short"')
            s.shutdown(socket.SHUT_WR)
            s.recv(1024)
        self.assertEqual(api.HUB.register("Cut Short"), token("Cut Short"))

    def test_sigkill_while_publishing_and_recording_loses_no_acknowledged_run(self):
        hub = Hub(*NO_LIMITS)
        self.addCleanup(hub.stop)
        players = [hub.register("Killed %d" % k) for k in range(4)]
        shipped = [hub.shipped(2)["id"], hub.shipped(3)["id"]]
        acked, faults = [], []

        def work(k, stop):
            i = 0
            try:
                while not stop.is_set():
                    i += 1
                    if k % 2:
                        body = {"level": variant("Killed %d %d %d" % (len(acked), k, i)), "replay": SOLUTION1}
                        status, answer, _ = hub.post("/api/v1/levels", body, players[k])
                    else:
                        body = {"replay": SOLUTIONS[2 + i % 2]}
                        status, answer, _ = hub.post("/api/v1/levels/%s/runs" % shipped[i % 2], body, players[k])
                    if status in (200, 201):
                        acked.append((answer["run"], answer.get("id"), body["replay"]))
                    else:
                        faults.append((status, answer))
            except (OSError, http.client.HTTPException):
                pass   # the hub was killed under this request
            except AssertionError as e:
                faults.append(e)

        for round in range(5):
            stop = threading.Event()
            threads = [threading.Thread(target=work, args=(k, stop)) for k in range(4)]
            for t in threads:
                t.start()
            while len(acked) < 25 * (round + 1) and not faults:
                threading.Event().wait(0.01)
            hub.kill()
            stop.set()
            for t in threads:
                t.join()
            self.assertEqual(faults, [])
            check_counts()
            hub.start()
            for run, id, replay in acked:
                self.assertEqual(hub.call("GET", "/api/v1/runs/%d/replay" % run)[:2], (200, replay))
                if id:
                    self.assertEqual(hub.call("GET", "/api/v1/levels/" + id)[0], 200)


if __name__ == "__main__":
    api.main()
