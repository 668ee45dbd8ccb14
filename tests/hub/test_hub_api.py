#!/usr/bin/env python3
"""The level hub's interface, driven over HTTP against real hub processes on
a real database: every route, the refusals of bad input, the rate limits,
two copies on one database, and SIGKILL in the middle of publishing and
recording followed by a restart. No answer may be a 5xx, and every refusal
names its cause in {"error": ...}.

  test_hub_api.py HUB_BINARY        on a SQLite file in a temporary folder
  test_hub_api.py HUB_BINARY --pg   on a throwaway PostgreSQL cluster (tools/hub-pg.sh)
  --failfast                        stops at the first failure (tools/mutants.sh)
"""
import csv
import gzip
import http.client
import io
import json
import os
import re
import socket
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time
import unittest

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
HUB_BIN = os.path.abspath(sys.argv[1])
USE_PG = "--pg" in sys.argv
NO_LIMITS = ["--rate-publish-token", "0", "--rate-publish-address", "0", "--rate-runs-token", "0",
             "--rate-runs-address", "0", "--rate-players-address", "0"]


def read(path):
    with open(os.path.join(REPO, path), encoding="utf-8", newline="") as f:
        return f.read()


LEVEL1 = read("Levels/level1.dat")
SOLUTIONS = [None] + [read("tests/solutions/level%d.replay" % n) for n in range(1, 16)]
SOLUTION1, ELSEWHERE = SOLUTIONS[1], SOLUTIONS[3]   # level 3's run, which does not finish level 1
SLOWER1 = read("tests/hub/level1-slower.replay")   # finishes level 1 with 247 against the solution's 287


def variant(title, level=LEVEL1):
    """Level 1 under another title: another level, finished by the same replay."""
    return title + "\n" + level.split("\n", 1)[1]


def token(name):
    return ("".join(c if c.isalnum() else "-" for c in name) + "-" + "t" * 40)[:40]


class Hub:
    def __init__(self, *options, ready=True, log=None, db=None):
        self.options, self.log, self.db = list(options), log, db   # log: a file for stderr, with the access log
        self.start(ready)

    def start(self, ready=True):
        quiet = [] if self.log else ["--no-access-log"]
        self.proc = subprocess.Popen([HUB_BIN, "--listen", "127.0.0.1:0", "--db", self.db or DB, "--web", WEB] + self.options + quiet,
                                     stdout=subprocess.PIPE, text=True, cwd=REPO, stderr=self.log)
        if ready:
            self.ready()

    def ready(self):
        for line in self.proc.stdout:
            if "serving on http://" in line:
                self.port = int(line.rsplit(":", 1)[1].strip("/\n"))
                return
        raise RuntimeError("the hub did not start")

    def call(self, method, path, body=None, tok=None, raw=None, headers={}):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=60)
        data = raw if raw is not None else json.dumps(body).encode() if body is not None else None
        headers = dict(headers, **({"Authorization": "Bearer " + tok} if tok else {}))
        conn.request(method, path, body=data, headers=headers, encode_chunked="Transfer-Encoding" in headers)
        r = conn.getresponse()
        text = r.read().decode("utf-8", "replace")
        conn.close()
        assert r.status < 500, (method, path, r.status, text)
        kind = r.getheader("Content-Type", "")
        answer = json.loads(text) if kind.startswith("application/json") else text
        if r.status >= 400:
            assert isinstance(answer, dict) and answer.get("error"), (method, path, r.status, text)
        return r.status, answer, r

    def call_bytes(self, path, headers={}):
        """A GET answered in bytes: its status, body and response."""
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=60)
        conn.request("GET", path, headers=headers)
        r = conn.getresponse()
        body = r.read()
        conn.close()
        assert r.status < 500, (path, r.status, body)
        return r.status, body, r

    def refused(self, status, cause, *args, **kwargs):
        got, answer, _ = self.call(*args, **kwargs)
        assert got == status and cause in answer["error"], (status, cause, got, answer)

    def post(self, path, body, tok):
        return self.call("POST", path, body, tok)

    def register(self, name):
        status, _, _ = self.post("/api/v1/players", {"name": name}, token(name))
        assert status == 201, (name, status)
        return token(name)

    def levels(self, sort="new"):
        found, page = [], 1
        while True:
            status, answer, _ = self.call("GET", "/api/v1/levels?sort=%s&page=%d" % (sort, page))
            assert status == 200 and len(answer["levels"]) <= 20
            found += answer["levels"]
            if not answer["more"]:
                return found
            page += 1

    def level(self, id):
        return next((l for l in self.levels() if l["id"] == id), None)

    def shipped(self, slot):
        return next(l for l in self.levels() if l["shipped"] == slot)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
        self.proc.wait()
        self.proc.stdout.close()

    def kill(self):
        self.proc.kill()
        self.proc.wait()
        self.proc.stdout.close()


def eventually(check, seconds=120):
    """Waits, up to seconds (only a hang runs them out), until check() holds: a copy of
    the hub sees another's writes once its kept answers age out."""
    deadline = time.monotonic() + seconds
    while not check():
        if time.monotonic() > deadline:
            return False
        threading.Event().wait(0.05)
    return True


def check_counts(db=None):
    """The hub's own check: every kept count agrees with the rows it counts."""
    done = subprocess.run([HUB_BIN, "check", "--db", db or DB], capture_output=True, text=True, cwd=REPO)
    assert done.returncode == 0, done.stdout + done.stderr


def load_dump(name, empty=False):
    """A new database made from tests/hub/NAME.sqlite.sql (or .postgres.sql), or an empty one; its --db."""
    if not USE_PG:
        path = os.path.join(os.path.dirname(WEB), name + ".sqlite")
        with sqlite3.connect(path) as db:
            db.executescript("" if empty else read("tests/hub/%s.sqlite.sql" % name))
        db.close()
        return path
    subprocess.run(["psql", "-q", "-c", "CREATE DATABASE " + name, DB], check=True)
    where = DB.rsplit("/", 1)[0] + "/" + name
    if not empty:
        subprocess.run(["psql", "-q", "-v", "ON_ERROR_STOP=1", "-o", "/dev/null", "-f",
                        os.path.join(REPO, "tests/hub/%s.postgres.sql" % name), where], check=True)
    return where


def query(db, sql):
    """The column names and the rows of a query, every value as text (NULL as "")."""
    if not USE_PG:
        with sqlite3.connect(db) as c:
            cursor = c.execute(sql)
            rows = [[d[0] for d in cursor.description]] + [["" if v is None else str(v) for v in r] for r in cursor]
        c.close()
    else:
        rows = list(csv.reader(io.StringIO(subprocess.run(["psql", "--csv", "-c", sql, db], check=True,
                                                          capture_output=True, text=True).stdout)))
    return rows[0], [tuple(r) for r in rows[1:]]


class HubApi(unittest.TestCase):
    def test_players_register_with_bounded_names_unique_regardless_of_case(self):
        for name in ["Abc", "X" * 24, "Tilde ~ name"]:
            self.assertEqual(HUB.post("/api/v1/players", {"name": name}, token(name))[0], 201)
        self.assertEqual(HUB.post("/api/v1/players", {"name": "Abc"}, token("Abc"))[0], 200)   # a retry
        for name in ["Ab", "X" * 25, " Lead", "Tab\tname", "Caf\u00e9"]:
            HUB.refused(400, "name", "POST", "/api/v1/players", {"name": name}, token("other"))
        HUB.refused(409, "taken", "POST", "/api/v1/players", {"name": "aBC"}, token("another"))
        HUB.refused(409, "already registered as Abc", "POST", "/api/v1/players", {"name": "Abd"}, token("Abc"))
        HUB.refused(409, "taken", "POST", "/api/v1/players", {"name": "tetherorb 2"}, token("shipped"))
        HUB.refused(401, "Authorization", "POST", "/api/v1/players", {"name": "NoToken"})
        HUB.refused(401, "32 to 128", "POST", "/api/v1/players", {"name": "Short"}, "s" * 31)
        self.assertEqual(HUB.post("/api/v1/players", {"name": "Exact"}, "e" * 32)[0], 201)
        HUB.refused(401, "32 to 128", "POST", "/api/v1/players", {"name": "Long"}, "l" * 129)

    def test_shipped_levels_are_known_with_their_solutions_as_author_runs(self):
        shipped = [l for l in HUB.levels() if l["shipped"]]
        self.assertEqual(sorted(l["shipped"] for l in shipped), list(range(1, 16)))
        for l in shipped:
            self.assertEqual(l["author"], "Tetherorb 2")
            self.assertGreaterEqual(l["record"], l["author_score"])
        self.assertEqual([HUB.shipped(5)[k] for k in ["plays", "tried", "finishes"]], [1, 0, 0])   # no test plays it
        self.assertEqual(HUB.shipped(1)["author_score"], 287)   # what tetherorb2-check says of it
        status, text, _ = HUB.call("GET", "/api/v1/levels/" + HUB.shipped(1)["id"])
        self.assertEqual((status, text), (200, LEVEL1))
        # A level's picture is drawn on first asking, then served as kept.
        pictures = [HUB.call_bytes("/levels/%s.png" % HUB.shipped(2)["id"])[1] for _ in range(2)]
        self.assertEqual((pictures[0][:8], pictures[1]), (b"\x89PNG\r\n\x1a\n", pictures[0]))

    def test_shipped_levels_without_their_solutions_have_no_author_runs(self):
        hub = Hub("--solutions", "", db=load_dump("unsolved", empty=True))
        self.addCleanup(hub.stop)
        shipped = [(l["plays"], l["author_score"], l["record"]) for l in hub.levels() if l["shipped"]]
        self.assertEqual(shipped, [(0, None, None)] * 15)

    def test_publishing_checks_the_level_and_its_author_run(self):
        tok = HUB.register("Publisher")
        level = variant("Published Once")
        status, answer, _ = HUB.post("/api/v1/levels", {"level": level, "replay": SOLUTION1}, tok)
        self.assertEqual(status, 201)
        id = answer["id"]
        self.assertRegex(id, "^[a-z2-7]{16}$")
        # The same level in CRLF with junk after its rows is the same level, and publishing it again records nothing.
        crlf = level.replace("\n", "\r\n") + "junk after the rows\n"
        for again in [crlf, level]:
            self.assertEqual(HUB.post("/api/v1/levels", {"level": again, "replay": SLOWER1}, tok)[:2],
                             (200, {"id": id, "run": answer["run"]}))
        self.assertEqual(len(HUB.call("GET", "/api/v1/levels/%s/records?limit=100" % id)[1]["records"]), 1)
        self.assertEqual(HUB.call("GET", "/api/v1/levels/" + id)[1], level)
        listed = HUB.level(id)
        self.assertEqual((listed["title"], listed["author"], listed["width"], listed["height"]),
                         ("Published Once", "Publisher", 24, 13))
        self.assertEqual((listed["plays"], listed["finishes"], listed["record"], listed["author_score"]), (1, 0, 287, 287))

        before = len(HUB.levels())
        rows = level.split("\n")
        huge = "Huge\n400\n251\n" + ("b" * 400 + "\n") * 251   # one cell over the 100000 allowed
        no_spawn = "\n".join(rows[:3] + [r.replace("j", "b") for r in rows[3:]])
        two_spawns = "\n".join(rows[:3] + ["b" + "j" * 22 + "b"] + rows[4:])
        no_finish = "\n".join(rows[:3] + [r.replace("l", "a") for r in rows[3:]])
        for bad, status, cause in [(no_spawn, 422, "No spawn"), (two_spawns, 422, "More than one spawn"),
                                   (no_finish, 422, "No finish"), ("\n".join(rows[:-3]), 400, "rows are missing"),
                                   ("\n".join(rows[:3] + ["z" + rows[3][1:]] + rows[4:]), 400, "not letters a to l"),
                                   ("Wide\n999\n1\n", 400, "width and height"), ("", 400, "empty"),
                                   (huge, 422, "cells, more than"),
                                   (level + "x" * 131072, 413, "bytes, more than")]:
            HUB.refused(status, cause, "POST", "/api/v1/levels", {"level": bad, "replay": SOLUTION1}, tok)
        for replay, status, cause in [(ELSEWHERE, 422, "does not reach the finish"),
                                      (SOLUTION1.replace("tetherorb2-replay 1", "tetherorb2-replay 2"), 400, "not a replay"),
                                      ("\n".join(SOLUTION1.split("\n")[:-3]) + "\n", 422, "does not reach the finish"),
                                      ("tetherorb2-replay 1\nscreen 800 600\n18750 0.96 - 0 0 0\n", 422, "ends by time out after 1875 frames"),
                                      ("tetherorb2-replay 1\nscreen 800 600\n18751 0.96 - 0 0 0\n", 422, "frames allowed"),
                                      (SOLUTION1.replace(" 0.96 ", " 0.97 "), 422, "time scale 0.97;"),
                                      ("tetherorb2-replay 2\nscreen 800 600\n18750 0.5 0 0 J 0 0\n", 422, "scale 0.5;"),
                                      ("tetherorb2-replay 2\nscreen 800 600\n1 0.96 0 0 S 0 0\n", 422, "without holding")]:
            HUB.refused(status, cause, "POST", "/api/v1/levels", {"level": variant("Never"), "replay": replay}, tok)
        for raw, cause in [(b'{"level": "a", "replay": ', "not JSON"), (b"[1, 2]", "JSON object"),
                           (b'{"level": 1, "replay": "x"}', "number"), (b'{"level": "a"}', "replay"),
                           (b'{"level": "a", "level": "b"}', "twice"), (b"\xff\xfe", "not JSON")]:
            HUB.refused(400, cause, "POST", "/api/v1/levels", raw=raw, tok=tok)
        # Every body past its limit, however it is framed or encoded, is refused unread.
        for headers, raw, status, cause in [({}, b" " * (524288 + 1), 413, "larger than 524288 bytes"),
                                            ({"Transfer-Encoding": "chunked"}, iter([b" " * 65536] * 9), 413, "524288 bytes"),
                                            ({"Content-Encoding": "gzip"}, gzip.compress(b"{}"), 415, "Content-Encoding"),
                                            ({"Content-Type": "application/x-www-form-urlencoded"}, b"a" * 8193, 413,
                                             "larger than 8192 bytes")]:
            HUB.refused(status, cause, "POST", "/api/v1/levels", raw=raw, tok=tok, headers=headers)
        HUB.refused(401, "unknown token", "POST", "/api/v1/levels", {"level": level, "replay": SOLUTION1}, token("nobody"))
        self.assertEqual(len(HUB.levels()), before)   # not one refusal wrote a level
        check_counts()

    @unittest.skipIf(USE_PG, "the old database is made with SQLite's own module")
    def test_an_older_database_loses_the_runs_publishing_again_recorded(self):
        import sqlite3
        hub = Hub(*NO_LIMITS)
        tok = hub.register("Old Publisher")
        id, run = hub.post("/api/v1/levels", {"level": variant("Old Twice"), "replay": SOLUTION1}, tok)[1].values()
        hub.stop()
        with sqlite3.connect(DB) as db:   # what publishing it again wrote before
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
        self.assertEqual(query(old, "SELECT version FROM schema_version"), query(DB, "SELECT version FROM schema_version"))
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

    def test_runs_keep_each_players_best_and_rank_it(self):
        level = HUB.shipped(1)["id"]
        path = "/api/v1/levels/%s/runs" % level
        fast, slow = HUB.register("Fast Runner"), HUB.register("Slow Runner")
        self.assertEqual(HUB.post(path, {"replay": SLOWER1}, slow)[1]["rank"], 2)   # behind the author's 287
        status, answer, _ = HUB.post(path, {"replay": SOLUTION1}, fast)
        self.assertEqual((status, answer["score"], answer["best"], answer["rank"], answer["record"]), (201, 287, 287, 1, 287))
        fast_run = answer["run"]
        # A slower run is stored but lowers nothing.
        status, answer, _ = HUB.post(path, {"replay": SLOWER1}, fast)
        self.assertEqual((status, answer["score"], answer["best"], answer["rank"]), (201, 247, 287, 1))
        HUB.refused(422, "does not reach the finish", "POST", path, {"replay": ELSEWHERE}, fast)
        HUB.refused(404, "no level", "POST", "/api/v1/levels/%s/runs" % ("a" * 16), {"replay": SOLUTION1}, fast)
        HUB.refused(404, "no such level", "POST", "/api/v1/levels/NOTANID/runs", {"replay": SOLUTION1}, fast)
        self.assertEqual(HUB.level(level)["plays"], 4)   # the author's, two of Fast, one of Slow

        status, answer, _ = HUB.call("GET", "/api/v1/levels/%s/records?limit=3" % level, tok=slow)
        ranks = [(r["rank"], r["name"], r["score"]) for r in answer["records"]]
        self.assertEqual(ranks, [(1, "Tetherorb 2", 287), (1, "Fast Runner", 287), (3, "Slow Runner", 247)])
        self.assertEqual(answer["player"]["rank"], 3)
        self.assertEqual(answer["records"][1]["run"], fast_run)
        self.assertEqual(len(HUB.call("GET", "/api/v1/levels/%s/records?limit=1" % level)[1]["records"]), 1)
        self.assertNotIn("player", HUB.call("GET", "/api/v1/levels/%s/records?limit=100" % level)[1])
        for query in ["limit=0", "limit=101", "limit=-1", "limit=1x"]:
            HUB.refused(400, "limit", "GET", "/api/v1/levels/%s/records?%s" % (level, query))
        HUB.refused(401, "unknown token", "GET", "/api/v1/levels/%s/records" % level, tok=token("stranger"))

        self.assertEqual(HUB.call("GET", "/api/v1/runs/%d/replay" % fast_run)[1], SOLUTION1)
        for run in ["0", "99999999", "x"]:
            HUB.refused(404, "no", "GET", "/api/v1/runs/%s/replay" % run)
        check_counts()

    def test_list_sorts_and_pages(self):
        tok = HUB.register("Lister")
        ids = [HUB.post("/api/v1/levels", {"level": variant("Page %d" % i + "!" * (i == 5)), "replay": SOLUTION1}, tok)[1]["id"]
               for i in range(6)]
        for q, found in [("5%21", [ids[-1]]), ("5_", []), ("5%25", [])]:   # a word's LIKE characters are its own
            self.assertEqual([l["id"] for l in HUB.call("GET", "/api/v1/levels?q=" + q)[1]["levels"]], found, q)
        newest = HUB.levels("new")
        self.assertGreater(len(newest), 20)
        self.assertEqual(newest[0]["id"], ids[-1])
        self.assertEqual(len(HUB.call("GET", "/api/v1/levels?page=1")[1]["levels"]), 20)
        plays = [l["plays"] for l in HUB.levels("plays")]
        self.assertEqual(plays, sorted(plays, reverse=True))
        self.assertEqual(len(HUB.levels("rating")), len(newest))
        for query in ["sort=best", "page=0", "page=501", "page=two"]:
            HUB.refused(400, query.split("=")[0], "GET", "/api/v1/levels?" + query)
        self.assertEqual(HUB.call("GET", "/api/v1/levels?page=500")[1]["levels"], [])

    def test_rating_withdrawing_and_hiding(self):
        author, other = HUB.register("Rated Author"), HUB.register("Rater")
        status, answer, _ = HUB.post("/api/v1/levels", {"level": variant("To Rate"), "replay": SOLUTION1}, author)
        id = answer["id"]
        rate = "/api/v1/levels/%s/rating" % id
        HUB.refused(403, "finished", "POST", rate, {"up": True}, other)
        HUB.post("/api/v1/levels/%s/runs" % id, {"replay": SOLUTION1}, other)
        self.assertEqual(HUB.post(rate, {"up": True}, other)[1], {"up": True, "rating": 1})
        self.assertEqual(HUB.post(rate, {"up": True}, other)[1], {"up": True, "rating": 1})   # one per player
        self.assertEqual(HUB.post(rate, {"up": True}, author)[1]["rating"], 2)
        self.assertEqual(HUB.post(rate, {"up": False}, other)[1], {"up": False, "rating": 1})
        HUB.refused(400, "true or false", "POST", rate, {"up": "yes"}, other)
        self.assertEqual(HUB.levels("rating")[0]["id"], id)

        HUB.refused(403, "only its author", "DELETE", "/api/v1/levels/" + id, tok=other)
        HUB.refused(403, "shipped", "DELETE", "/api/v1/levels/" + HUB.shipped(3)["id"], tok=author)
        self.assertEqual(HUB.call("DELETE", "/api/v1/levels/" + id, tok=author)[0], 204)
        for method, path in [("GET", ""), ("GET", "/records"), ("DELETE", "")]:
            HUB.refused(404, "no level", method, "/api/v1/levels/" + id + path, tok=author)
        self.assertIsNone(HUB.level(id))
        # Withdrawn, it is the next publisher's.
        self.assertEqual(HUB.post("/api/v1/levels", {"level": variant("To Rate"), "replay": SOLUTION1}, other)[0], 201)
        self.assertEqual(HUB.level(id)["author"], "Rater")

        hide = subprocess.run([HUB_BIN, "hide", id, "--db", DB], capture_output=True, text=True)
        self.assertEqual(hide.returncode, 0, hide.stdout + hide.stderr)
        self.assertTrue(eventually(lambda: HUB.level(id) is None))
        HUB.refused(404, "no level", "GET", "/api/v1/levels/" + id)
        HUB.refused(403, "hidden", "POST", "/api/v1/levels", {"level": variant("To Rate"), "replay": SOLUTION1}, author)
        self.assertEqual(subprocess.run([HUB_BIN, "unhide", id, "--db", DB], capture_output=True).returncode, 0)
        self.assertEqual(HUB.call("GET", "/api/v1/levels/" + id)[0], 200)
        # Withdrawn again, hidden and unhidden: what its author withdrew stays withdrawn.
        self.assertEqual(HUB.call("DELETE", "/api/v1/levels/" + id, tok=other)[0], 204)
        for command in ["hide", "unhide"]:
            self.assertEqual(subprocess.run([HUB_BIN, command, id, "--db", DB], capture_output=True).returncode, 0)
        HUB.refused(404, "no level", "GET", "/api/v1/levels/" + id)
        check_counts()

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
        copy = os.path.join(os.path.dirname(WEB), "backup.sqlite")
        backup = [HUB_BIN, "backup", copy, "--db", DB]
        if USE_PG:
            self.assertIn("pg_dump", subprocess.run(backup, capture_output=True, text=True).stderr)
            return
        tok, path = HUB.register("Backed Up"), "/api/v1/levels/%s/runs" % HUB.shipped(6)["id"]
        acked, stop = [], threading.Event()

        def work():
            while not stop.is_set():
                status, answer, _ = HUB.post(path, {"replay": SOLUTIONS[6]}, tok)
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
        with socket.create_connection(("127.0.0.1", HUB.port)) as s:
            s.sendall(b"POST /api/v1/players HTTP/1.1\r\nHost: hub\r\nContent-Length: 100\r\n"
                      b"Authorization: Bearer " + token("Cut Short").encode() + b'\r\n\r\n{"name": "Cut Short"')
            s.shutdown(socket.SHUT_WR)
            s.recv(1024)
        self.assertEqual(HUB.register("Cut Short"), token("Cut Short"))

    def test_play_page_names_the_level_and_files_have_their_types(self):
        id = HUB.shipped(1)["id"]
        status, page, r = HUB.call("GET", "/play/" + id)
        self.assertEqual((status, r.getheader("Content-Type")), (200, "text/html; charset=utf-8"))
        self.assertIn('<head><script>var TetherorbHubLevel = "%s";</script><title>' % id, page)
        for name, kind in [("index.js", "text/javascript"), ("index.wasm", "application/wasm"),
                           ("index.data", "application/octet-stream")]:
            status, _, r = HUB.call("GET", "/play/" + name)
            self.assertEqual((status, r.getheader("Content-Type")), (200, kind))
        for path in ["/play/../hub.sqlite", "/play/" + id.upper(), "/nothing"]:
            self.assertEqual(HUB.call("GET", path)[0], 404)

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


def main():
    global DB, WEB, HUB
    folder = tempfile.mkdtemp(prefix="hub-test-")
    WEB = os.path.join(folder, "web")
    os.mkdir(WEB)
    for name, text in [("index.html", "<html><head><title>Tetherorb 2</title></head><body></body></html>"),
                       ("index.js", "var a = 1;"), ("index.wasm", "\0asm"), ("index.data", "data")]:
        with open(os.path.join(WEB, name), "w") as f:
            f.write(text)
    pg = os.path.join(folder, "pg")
    if USE_PG:
        DB = subprocess.run(["bash", os.path.join(REPO, "tools/hub-pg.sh"), "start", pg],
                            check=True, capture_output=True, text=True).stdout.strip()
    else:
        DB = os.path.join(folder, "hub.sqlite")
    # Three copies start at once on the new database: the schema and the
    # shipped levels' author runs are made once (test_shipped_levels...).
    copies = [Hub("--rate-runs-token", "1000", "--rate-publish-token", "1000", "--rate-runs-address", "1000",
                  "--rate-publish-address", "1000", "--rate-players-address", "1000", ready=False) for _ in range(3)]
    for copy in copies:
        copy.ready()
    HUB = copies.pop()
    for copy in copies:
        copy.stop()
    try:
        result = unittest.main(argv=[sys.argv[0], "-v"] + ["--failfast"] * ("--failfast" in sys.argv), exit=False).result
    finally:
        HUB.stop()
        if USE_PG:
            subprocess.run(["bash", os.path.join(REPO, "tools/hub-pg.sh"), "stop", pg])
        subprocess.run(["rm", "-rf", folder])
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
