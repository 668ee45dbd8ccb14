#!/usr/bin/env python3
"""Tries: each player who played a level counts once in its "tried", a try or a finish first, its author never."""
import random
import unittest

import hub_harness as api
from hub_harness import SLOWER1, SOLUTION1, variant, check_counts
from test_hub_browse import main   # its hub on its database, for the tests of this file


class HubTries(unittest.TestCase):
    def test_tried_counts_each_player_once_whatever_they_sent_first(self):
        rng, hub = random.Random(7), api.HUB
        maker = hub.register("Try Maker")
        players = [hub.register("Trier %d" % n) for n in range(8)] + [maker]
        for round in range(3):
            id = hub.post("/api/v1/levels", {"level": variant("Tried %d" % round), "replay": SOLUTION1}, maker)[1]["id"]
            tried, finished = set(), set()
            for tok in rng.sample(players, 9):   # each a few tries (no body or {}) and finishes, in any order
                for act in rng.choices([{}, None, SOLUTION1, SLOWER1], k=rng.randint(0, 3)):
                    what, body = ("runs", {"replay": act}) if act else ("tries", act)
                    self.assertEqual(hub.call("POST", "/api/v1/levels/%s/%s" % (id, what), body, tok)[0], 201 if act else 204)
                    tried, finished = tried | {tok}, finished | ({tok} if act else set())
                row, want = hub.level(id), (len(tried - {maker}), len(finished - {maker}))
                self.assertEqual((row["tried"], row["finishes"], row["clear_rate"]), want + (want[1] / max(want[0], 1),))
            check_counts()
        self.assertEqual(hub.call("DELETE", "/api/v1/levels/" + id, tok=maker)[0], 204)   # a withdrawn level takes none
        hub.refused(404, "no level", "POST", "/api/v1/levels/%s/tries" % id, {}, players[0])


if __name__ == "__main__":
    main()
