#!/usr/bin/env python3
"""The hub's kept answers (hub_cache): after each of many random writes made
through a copy that keeps list pages and leaderboards, every read it answers
equals the same read of a copy that keeps nothing; another copy's write shows
once the kept answers age out; the table stays within its slots.

  test_hub_cache.py HUB_BINARY        on a SQLite file in a temporary folder
  test_hub_cache.py HUB_BINARY --pg   on a throwaway PostgreSQL cluster
"""
import random
import re
import unittest

import hub_harness as api
from hub_harness import NO_LIMITS, SLOWER1, SOLUTION1, Hub, eventually, variant
from test_hub_browse import main   # a database for the tests of this file (and a hub they leave alone)

CACHE_SLOTS = 1024   # hub_cache.h


def metric(hub, name):
    return int(re.search(r"^%s (\d+)$" % name, hub.call("GET", "/metrics")[1], re.M).group(1))


class HubCache(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # Kept answers that never age out during the test: a write that fails to clear one shows.
        cls.kept, cls.bare = Hub("--cache-ms", "600000", *NO_LIMITS), Hub("--cache-ms", "0", *NO_LIMITS)

    @classmethod
    def tearDownClass(cls):
        cls.kept.stop()
        cls.bare.stop()

    def test_every_read_after_a_write_through_the_copy_is_current(self):
        kept, bare, rng = self.kept, self.bare, random.Random(11)
        players = [kept.register("Cached %d" % k) for k in range(3)]
        levels = [kept.shipped(1)["id"]]

        def same_reads():
            paths = ["/api/v1/levels?sort=%s" % sort for sort in ("new", "plays", "rating")]
            paths += ["/api/v1/levels/%s/records?limit=%d" % (id, n) for id in levels for n in (1, 10)]
            for path in paths * 2:   # the second time from the kept answers
                tok = rng.choice([None] + players)
                self.assertEqual(kept.call("GET", path, tok=tok)[:2], bare.call("GET", path, tok=tok)[:2], path)

        for step in range(30):
            same_reads()
            tok, id = rng.choice(players), rng.choice(levels)
            write = rng.choice(["run", "run", "run", "publish", "rate", "withdraw"])
            if write == "run":
                kept.post("/api/v1/levels/%s/runs" % id, {"replay": rng.choice([SOLUTION1, SLOWER1])}, tok)
            elif write == "publish":
                status, answer, _ = kept.post("/api/v1/levels", {"level": variant("Kept %d" % step), "replay": SLOWER1}, tok)
                levels.append(answer["id"])
            elif write == "rate":
                kept.post("/api/v1/levels/%s/rating" % id, {"up": rng.random() < 0.7}, tok)
            else:
                kept.call("DELETE", "/api/v1/levels/" + id, tok=tok)
        same_reads()
        self.assertGreater(metric(kept, "tetherorb2_hub_cache_hits_total"), 0)

    def test_another_copys_write_shows_once_the_kept_answers_age_out(self):
        brief = Hub("--cache-ms", "200", *NO_LIMITS)
        self.addCleanup(brief.stop)
        newest = lambda: brief.call("GET", "/api/v1/levels?sort=new")[1]["levels"][0]["id"]
        newest()
        tok = self.bare.register("Elsewhere")
        id = self.bare.post("/api/v1/levels", {"level": variant("Elsewhere"), "replay": SOLUTION1}, tok)[1]["id"]
        self.assertTrue(eventually(lambda: newest() == id))

    def test_the_table_stays_within_its_slots(self):
        for n in range(CACHE_SLOTS + 200):   # a parameter the route ignores still makes a key of its own
            self.assertEqual(self.kept.call("GET", "/api/v1/levels?sort=new&n=%d" % n)[0], 200)
        self.assertLessEqual(metric(self.kept, "tetherorb2_hub_cache_entries"), CACHE_SLOTS)
        self.assertGreater(metric(self.kept, "tetherorb2_hub_cache_entries"), CACHE_SLOTS // 2)


if __name__ == "__main__":
    main()
