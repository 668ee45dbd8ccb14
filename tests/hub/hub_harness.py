"""The level hub's tests' harness: real hub processes on a real database
(a SQLite file in a temporary folder, or with --pg a throwaway PostgreSQL
cluster made by tools/hub-pg.sh), driven over HTTP, and the fixtures they
share: the shipped levels and their solutions, players' tokens, the hub's
own count check, older databases loaded from dumps and queries on them.
Every test file of tests/hub imports it and runs its tests with main().

  Hub(options..., db=)   a hub process: call, post, register, levels, level, shipped, stop, kill
  HUB, DB, WEB           the hub main() starts, its database and its web folder
  main()                 makes the database and HUB, runs the __main__ module's tests, removes them
"""
import csv
import http.client
import io
import json
import os
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
