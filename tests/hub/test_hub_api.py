#!/usr/bin/env python3
"""The level hub's interface, driven over HTTP against real hub processes on
a real database: every route and the refusals of bad input. No answer may be
a 5xx, and every refusal names its cause in {"error": ...}. The hub as a
service (older databases, rate limits, logs, backups, SIGKILL):
test_hub_service.py.

  test_hub_api.py HUB_BINARY        on a SQLite file in a temporary folder
  test_hub_api.py HUB_BINARY --pg   on a throwaway PostgreSQL cluster (tools/hub-pg.sh)
  --failfast                        stops at the first failure (tools/mutants.sh)
"""
import gzip
import subprocess
import unittest

import hub_harness as api
from hub_harness import HUB_BIN, LEVEL1, SOLUTION1, ELSEWHERE, SLOWER1, variant, token, Hub, eventually, check_counts, load_dump, query


class HubApi(unittest.TestCase):
    def test_players_register_with_bounded_names_unique_regardless_of_case(self):
        for name in ["Abc", "X" * 24, "Tilde ~ name"]:
            self.assertEqual(api.HUB.post("/api/v1/players", {"name": name}, token(name))[0], 201)
        self.assertEqual(api.HUB.post("/api/v1/players", {"name": "Abc"}, token("Abc"))[0], 200)   # a retry
        for name in ["Ab", "X" * 25, " Lead", "Tab\tname", "Caf\u00e9"]:
            api.HUB.refused(400, "name", "POST", "/api/v1/players", {"name": name}, token("other"))
        api.HUB.refused(409, "taken", "POST", "/api/v1/players", {"name": "aBC"}, token("another"))
        api.HUB.refused(409, "already registered as Abc", "POST", "/api/v1/players", {"name": "Abd"}, token("Abc"))
        api.HUB.refused(409, "taken", "POST", "/api/v1/players", {"name": "tetherorb 2"}, token("shipped"))
        api.HUB.refused(401, "Authorization", "POST", "/api/v1/players", {"name": "NoToken"})
        api.HUB.refused(401, "32 to 128", "POST", "/api/v1/players", {"name": "Short"}, "s" * 31)
        self.assertEqual(api.HUB.post("/api/v1/players", {"name": "Exact"}, "e" * 32)[0], 201)
        api.HUB.refused(401, "32 to 128", "POST", "/api/v1/players", {"name": "Long"}, "l" * 129)

    def test_shipped_levels_are_known_with_their_solutions_as_author_runs(self):
        shipped = [l for l in api.HUB.levels() if l["shipped"]]
        self.assertEqual(sorted(l["shipped"] for l in shipped), list(range(1, 16)))
        for l in shipped:
            self.assertEqual(l["author"], "Tetherorb 2")
            self.assertGreaterEqual(l["record"], l["author_score"])
        self.assertEqual([api.HUB.shipped(5)[k] for k in ["plays", "tried", "finishes"]], [1, 0, 0])   # no test plays it
        self.assertEqual(api.HUB.shipped(1)["author_score"], 287)   # what tetherorb2-check says of it
        status, text, _ = api.HUB.call("GET", "/api/v1/levels/" + api.HUB.shipped(1)["id"])
        self.assertEqual((status, text), (200, LEVEL1))
        # A level's picture is drawn on first asking, then served as kept.
        pictures = [api.HUB.call_bytes("/levels/%s.png" % api.HUB.shipped(2)["id"])[1] for _ in range(2)]
        self.assertEqual((pictures[0][:8], pictures[1]), (b"\x89PNG\r\n\x1a\n", pictures[0]))

    def test_shipped_levels_without_their_solutions_have_no_author_runs(self):
        hub = Hub("--solutions", "", db=load_dump("unsolved", empty=True))
        self.addCleanup(hub.stop)
        shipped = [(l["plays"], l["author_score"], l["record"]) for l in hub.levels() if l["shipped"]]
        self.assertEqual(shipped, [(0, None, None)] * 15)

    def test_publishing_checks_the_level_and_its_author_run(self):
        tok = api.HUB.register("Publisher")
        level = variant("Published Once")
        status, answer, _ = api.HUB.post("/api/v1/levels", {"level": level, "replay": SOLUTION1}, tok)
        self.assertEqual(status, 201)
        id = answer["id"]
        self.assertRegex(id, "^[a-z2-7]{16}$")
        # The same level in CRLF with junk after its rows is the same level, and publishing it again records nothing.
        crlf = level.replace("\n", "\r\n") + "junk after the rows\n"
        for again in [crlf, level]:
            self.assertEqual(api.HUB.post("/api/v1/levels", {"level": again, "replay": SLOWER1}, tok)[:2],
                             (200, {"id": id, "run": answer["run"]}))
        self.assertEqual(len(api.HUB.call("GET", "/api/v1/levels/%s/records?limit=100" % id)[1]["records"]), 1)
        self.assertEqual(api.HUB.call("GET", "/api/v1/levels/" + id)[1], level)
        listed = api.HUB.level(id)
        self.assertEqual((listed["title"], listed["author"], listed["width"], listed["height"]),
                         ("Published Once", "Publisher", 24, 13))
        self.assertEqual((listed["plays"], listed["finishes"], listed["record"], listed["author_score"]), (1, 0, 287, 287))

        before = len(api.HUB.levels())
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
            api.HUB.refused(status, cause, "POST", "/api/v1/levels", {"level": bad, "replay": SOLUTION1}, tok)
        for replay, status, cause in [(ELSEWHERE, 422, "does not reach the finish"),
                                      (SOLUTION1.replace("tetherorb2-replay 1", "tetherorb2-replay 2"), 400, "not a replay"),
                                      ("\n".join(SOLUTION1.split("\n")[:-3]) + "\n", 422, "does not reach the finish"),
                                      ("tetherorb2-replay 1\nscreen 800 600\n18750 0.96 - 0 0 0\n", 422, "ends by time out after 1875 frames"),
                                      ("tetherorb2-replay 1\nscreen 800 600\n18751 0.96 - 0 0 0\n", 422, "frames allowed"),
                                      (SOLUTION1.replace(" 0.96 ", " 0.97 "), 422, "time scale 0.97;"),
                                      ("tetherorb2-replay 2\nscreen 800 600\n18750 0.5 0 0 J 0 0\n", 422, "scale 0.5;"),
                                      ("tetherorb2-replay 2\nscreen 800 600\n1 0.96 0 0 S 0 0\n", 422, "without holding")]:
            api.HUB.refused(status, cause, "POST", "/api/v1/levels", {"level": variant("Never"), "replay": replay}, tok)
        for raw, cause in [(b'{"level": "a", "replay": ', "not JSON"), (b"[1, 2]", "JSON object"),
                           (b'{"level": 1, "replay": "x"}', "number"), (b'{"level": "a"}', "replay"),
                           (b'{"level": "a", "level": "b"}', "twice"), (b"\xff\xfe", "not JSON")]:
            api.HUB.refused(400, cause, "POST", "/api/v1/levels", raw=raw, tok=tok)
        # Every body past its limit, however it is framed or encoded, is refused unread.
        for headers, raw, status, cause in [({}, b" " * (524288 + 1), 413, "larger than 524288 bytes"),
                                            ({"Transfer-Encoding": "chunked"}, iter([b" " * 65536] * 9), 413, "524288 bytes"),
                                            ({"Content-Encoding": "gzip"}, gzip.compress(b"{}"), 415, "Content-Encoding"),
                                            ({"Content-Type": "application/x-www-form-urlencoded"}, b"a" * 8193, 413,
                                             "larger than 8192 bytes")]:
            api.HUB.refused(status, cause, "POST", "/api/v1/levels", raw=raw, tok=tok, headers=headers)
        api.HUB.refused(401, "unknown token", "POST", "/api/v1/levels", {"level": level, "replay": SOLUTION1}, token("nobody"))
        self.assertEqual(len(api.HUB.levels()), before)   # not one refusal wrote a level
        check_counts()

    def test_runs_keep_each_players_best_and_rank_it(self):
        level = api.HUB.shipped(1)["id"]
        path = "/api/v1/levels/%s/runs" % level
        fast, slow = api.HUB.register("Fast Runner"), api.HUB.register("Slow Runner")
        self.assertEqual(api.HUB.post(path, {"replay": SLOWER1}, slow)[1]["rank"], 2)   # behind the author's 287
        status, answer, _ = api.HUB.post(path, {"replay": SOLUTION1}, fast)
        self.assertEqual((status, answer["score"], answer["best"], answer["rank"], answer["record"]), (201, 287, 287, 1, 287))
        fast_run = answer["run"]
        # A slower run is stored but lowers nothing.
        status, answer, _ = api.HUB.post(path, {"replay": SLOWER1}, fast)
        self.assertEqual((status, answer["score"], answer["best"], answer["rank"]), (201, 247, 287, 1))
        api.HUB.refused(422, "does not reach the finish", "POST", path, {"replay": ELSEWHERE}, fast)
        api.HUB.refused(404, "no level", "POST", "/api/v1/levels/%s/runs" % ("a" * 16), {"replay": SOLUTION1}, fast)
        api.HUB.refused(404, "no such level", "POST", "/api/v1/levels/NOTANID/runs", {"replay": SOLUTION1}, fast)
        self.assertEqual(api.HUB.level(level)["plays"], 4)   # the author's, two of Fast, one of Slow

        status, answer, _ = api.HUB.call("GET", "/api/v1/levels/%s/records?limit=3" % level, tok=slow)
        ranks = [(r["rank"], r["name"], r["score"]) for r in answer["records"]]
        self.assertEqual(ranks, [(1, "Tetherorb 2", 287), (1, "Fast Runner", 287), (3, "Slow Runner", 247)])
        self.assertEqual(answer["player"]["rank"], 3)
        self.assertEqual(answer["records"][1]["run"], fast_run)
        self.assertEqual(len(api.HUB.call("GET", "/api/v1/levels/%s/records?limit=1" % level)[1]["records"]), 1)
        self.assertNotIn("player", api.HUB.call("GET", "/api/v1/levels/%s/records?limit=100" % level)[1])
        for query in ["limit=0", "limit=101", "limit=-1", "limit=1x"]:
            api.HUB.refused(400, "limit", "GET", "/api/v1/levels/%s/records?%s" % (level, query))
        api.HUB.refused(401, "unknown token", "GET", "/api/v1/levels/%s/records" % level, tok=token("stranger"))

        self.assertEqual(api.HUB.call("GET", "/api/v1/runs/%d/replay" % fast_run)[1], SOLUTION1)
        for run in ["0", "99999999", "x"]:
            api.HUB.refused(404, "no", "GET", "/api/v1/runs/%s/replay" % run)
        check_counts()

    def test_list_sorts_and_pages(self):
        tok = api.HUB.register("Lister")
        ids = [api.HUB.post("/api/v1/levels", {"level": variant("Page %d" % i + "!" * (i == 5)), "replay": SOLUTION1}, tok)[1]["id"]
               for i in range(6)]
        for q, found in [("5%21", [ids[-1]]), ("5_", []), ("5%25", [])]:   # a word's LIKE characters are its own
            self.assertEqual([l["id"] for l in api.HUB.call("GET", "/api/v1/levels?q=" + q)[1]["levels"]], found, q)
        newest = api.HUB.levels("new")
        self.assertGreater(len(newest), 20)
        self.assertEqual(newest[0]["id"], ids[-1])
        self.assertEqual(len(api.HUB.call("GET", "/api/v1/levels?page=1")[1]["levels"]), 20)
        plays = [l["plays"] for l in api.HUB.levels("plays")]
        self.assertEqual(plays, sorted(plays, reverse=True))
        self.assertEqual(len(api.HUB.levels("rating")), len(newest))
        for query in ["sort=best", "page=0", "page=501", "page=two"]:
            api.HUB.refused(400, query.split("=")[0], "GET", "/api/v1/levels?" + query)
        self.assertEqual(api.HUB.call("GET", "/api/v1/levels?page=500")[1]["levels"], [])

    def test_rating_withdrawing_and_hiding(self):
        author, other = api.HUB.register("Rated Author"), api.HUB.register("Rater")
        status, answer, _ = api.HUB.post("/api/v1/levels", {"level": variant("To Rate"), "replay": SOLUTION1}, author)
        id = answer["id"]
        rate = "/api/v1/levels/%s/rating" % id
        api.HUB.refused(403, "finished", "POST", rate, {"up": True}, other)
        api.HUB.post("/api/v1/levels/%s/runs" % id, {"replay": SOLUTION1}, other)
        self.assertEqual(api.HUB.post(rate, {"up": True}, other)[1], {"up": True, "rating": 1})
        self.assertEqual(api.HUB.post(rate, {"up": True}, other)[1], {"up": True, "rating": 1})   # one per player
        self.assertEqual(api.HUB.post(rate, {"up": True}, author)[1]["rating"], 2)
        self.assertEqual(api.HUB.post(rate, {"up": False}, other)[1], {"up": False, "rating": 1})
        api.HUB.refused(400, "true or false", "POST", rate, {"up": "yes"}, other)
        self.assertEqual(api.HUB.levels("rating")[0]["id"], id)

        api.HUB.refused(403, "only its author", "DELETE", "/api/v1/levels/" + id, tok=other)
        api.HUB.refused(403, "shipped", "DELETE", "/api/v1/levels/" + api.HUB.shipped(3)["id"], tok=author)
        self.assertEqual(api.HUB.call("DELETE", "/api/v1/levels/" + id, tok=author)[0], 204)
        for method, path in [("GET", ""), ("GET", "/records"), ("DELETE", "")]:
            api.HUB.refused(404, "no level", method, "/api/v1/levels/" + id + path, tok=author)
        # A player whose run this copy has seen before is refused too: what it keeps spares only the read.
        api.HUB.refused(404, "no level", "POST", "/api/v1/levels/%s/runs" % id, {"replay": SLOWER1}, other)
        self.assertIsNone(api.HUB.level(id))
        # Withdrawn, it is the next publisher's.
        self.assertEqual(api.HUB.post("/api/v1/levels", {"level": variant("To Rate"), "replay": SOLUTION1}, other)[0], 201)
        self.assertEqual(api.HUB.level(id)["author"], "Rater")

        hide = subprocess.run([HUB_BIN, "hide", id, "--db", api.DB], capture_output=True, text=True)
        self.assertEqual(hide.returncode, 0, hide.stdout + hide.stderr)
        self.assertTrue(eventually(lambda: api.HUB.level(id) is None))
        api.HUB.refused(404, "no level", "GET", "/api/v1/levels/" + id)
        api.HUB.refused(403, "hidden", "POST", "/api/v1/levels", {"level": variant("To Rate"), "replay": SOLUTION1}, author)
        self.assertEqual(subprocess.run([HUB_BIN, "unhide", id, "--db", api.DB], capture_output=True).returncode, 0)
        self.assertEqual(api.HUB.call("GET", "/api/v1/levels/" + id)[0], 200)
        # Withdrawn again, hidden and unhidden: what its author withdrew stays withdrawn.
        self.assertEqual(api.HUB.call("DELETE", "/api/v1/levels/" + id, tok=other)[0], 204)
        for command in ["hide", "unhide"]:
            self.assertEqual(subprocess.run([HUB_BIN, command, id, "--db", api.DB], capture_output=True).returncode, 0)
        api.HUB.refused(404, "no level", "GET", "/api/v1/levels/" + id)
        check_counts()

    def test_play_page_names_the_level_and_files_have_their_types(self):
        id = api.HUB.shipped(1)["id"]
        status, page, r = api.HUB.call("GET", "/play/" + id)
        self.assertEqual((status, r.getheader("Content-Type")), (200, "text/html; charset=utf-8"))
        self.assertIn('<head><script>var TetherorbHubLevel = "%s";</script><title>' % id, page)
        for name, kind in [("index.js", "text/javascript"), ("index.wasm", "application/wasm"),
                           ("index.data", "application/octet-stream")]:
            status, _, r = api.HUB.call("GET", "/play/" + name)
            self.assertEqual((status, r.getheader("Content-Type")), (200, kind))
        for path in ["/play/../hub.sqlite", "/play/" + id.upper(), "/nothing"]:
            self.assertEqual(api.HUB.call("GET", path)[0], 404)


if __name__ == "__main__":
    api.main()
