#!/usr/bin/env python3
"""Tries on the hub: players who played a level without finishing it count
in its "tried", once a player and level whichever came first, a try or a
finish, never its author; the hub's own check agrees. Run as test_hub_browse.py is."""
import random
import unittest

import test_hub_api as api
from test_hub_api import Hub, SLOWER1, SOLUTION1, variant, check_counts
from test_hub_browse import main   # its hub and database, for the tests of this file


class HubTries(unittest.TestCase):
    def test_tried_counts_each_player_once_whatever_they_sent_first(self):
        rng, hub = random.Random(7), api.HUB
        maker = hub.register("Try Maker")
        players = [hub.register("Trier %d" % n) for n in range(8)] + [maker]
        for round in range(3):
            id = hub.post("/api/v1/levels", {"level": variant("Tried %d" % round), "replay": SOLUTION1}, maker)[1]["id"]
            tried, finished = set(), set()
            for tok in rng.sample(players, 9):   # each a few tries (no body or {}) and finishes, in any order
                for act in rng.choices(["try", "finish", "empty"], k=rng.randint(0, 3)):
                    if act == "finish":
                        run = {"replay": rng.choice([SOLUTION1, SLOWER1])}
                        self.assertEqual(hub.post("/api/v1/levels/%s/runs" % id, run, tok)[0], 201)
                        finished.add(tok)
                    else:
                        self.assertEqual(hub.call("POST", "/api/v1/levels/%s/tries" % id, {} if act == "try" else None, tok)[0], 204)
                    tried.add(tok)
                row, want = hub.level(id), (len(tried - {maker}), len(finished - {maker}))
                self.assertEqual((row["tried"], row["finishes"]), want)
                self.assertAlmostEqual(row["clear_rate"], want[1] / want[0] if want[0] else 0.0)
            check_counts()

    def test_unlisted_levels_and_rate_limits_refuse_tries(self):
        tok = api.HUB.register("Late Trier")
        id = api.HUB.post("/api/v1/levels", {"level": variant("Soon Gone"), "replay": SOLUTION1}, tok)[1]["id"]
        self.assertEqual(api.HUB.call("DELETE", "/api/v1/levels/" + id, tok=tok)[0], 204)
        for level in [id, "a" * 16]:
            api.HUB.refused(404, "no level", "POST", "/api/v1/levels/%s/tries" % level, {}, tok)
        limited = Hub(*api.NO_LIMITS, "--rate-tries-token", "2")
        self.addCleanup(limited.stop)
        path = "/api/v1/levels/%s/tries" % api.HUB.shipped(1)["id"]
        self.assertEqual([limited.call("POST", path, {}, tok)[0] for _ in range(3)], [204, 204, 429])
        check_counts()


if __name__ == "__main__":
    main()
