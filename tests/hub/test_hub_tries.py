#!/usr/bin/env python3
"""Tries on the hub: players who played a level without finishing it count
in its "tried", once a player and level whether a try or a finish came
first, never its author's, and the hub's own check agrees.

  test_hub_tries.py HUB_BINARY        on a SQLite file in a temporary folder
  test_hub_tries.py HUB_BINARY --pg   on a throwaway PostgreSQL cluster (tools/hub-pg.sh)
"""
import os
import random
import subprocess
import sys
import tempfile
import unittest

import test_hub_api as api
from test_hub_api import Hub, SLOWER1, SOLUTION1, variant, check_counts

NO_TRY_LIMITS = ["--rate-tries-token", "0", "--rate-tries-address", "0"]


class HubTries(unittest.TestCase):
    def test_tried_counts_each_player_once_whatever_they_sent_first(self):
        rng = random.Random(7)
        maker = HUB.register("Try Maker")
        players = [HUB.register("Trier %d" % n) for n in range(8)]
        for round in range(3):
            status, answer, _ = HUB.post("/api/v1/levels", {"level": variant("Tried %d" % round), "replay": SOLUTION1}, maker)
            self.assertEqual(status, 201, answer)
            id, tried, finished = answer["id"], set(), set()
            for tok in rng.sample(players + [maker], 9):   # each a few tries and finishes, in any order
                for act in rng.choices(["try", "finish", "empty"], k=rng.randint(0, 3)):
                    if act == "finish":
                        replay = rng.choice([SOLUTION1, SLOWER1])
                        self.assertEqual(HUB.post("/api/v1/levels/%s/runs" % id, {"replay": replay}, tok)[0], 201)
                        finished.add(tok)
                    else:   # no body at all, or an empty object
                        self.assertEqual(HUB.call("POST", "/api/v1/levels/%s/tries" % id, {} if act == "try" else None, tok)[0], 204)
                    tried.add(tok)
                row = HUB.level(id)   # the list's pages were cleared by the write
                want = (len(tried - {maker}), len(finished - {maker}))
                self.assertEqual((row["tried"], row["finishes"]), want)
                self.assertAlmostEqual(row["clear_rate"], want[1] / want[0] if want[0] else 0.0)
            check_counts()

    def test_unlisted_levels_and_rate_limits_refuse_tries(self):
        tok = HUB.register("Late Trier")
        id = HUB.post("/api/v1/levels", {"level": variant("Soon Gone"), "replay": SOLUTION1}, tok)[1]["id"]
        self.assertEqual(HUB.call("DELETE", "/api/v1/levels/" + id, tok=tok)[0], 204)
        HUB.refused(404, "no level", "POST", "/api/v1/levels/%s/tries" % id, {}, tok)
        HUB.refused(404, "no level", "POST", "/api/v1/levels/%s/tries" % ("a" * 16), {}, tok)
        HUB.refused(401, "unknown token", "POST", "/api/v1/levels/%s/tries" % id, {}, api.token("nobody"))
        HUB.refused(400, "", "POST", "/api/v1/levels/%s/tries" % id, raw=b"[1]", tok=tok)
        limited = Hub(*api.NO_LIMITS, "--rate-tries-token", "2")
        self.addCleanup(limited.stop)
        path = "/api/v1/levels/%s/tries" % HUB.shipped(1)["id"]
        self.assertEqual([limited.call("POST", path, {}, tok)[0] for _ in range(3)], [204, 204, 429])
        check_counts()


def main():
    global HUB
    folder = tempfile.mkdtemp(prefix="hub-tries-")
    api.WEB = os.path.join(folder, "web")
    os.mkdir(api.WEB)
    with open(os.path.join(api.WEB, "index.html"), "w") as f:
        f.write("<html><head></head><body></body></html>")
    pg = os.path.join(folder, "pg")
    if api.USE_PG:
        api.DB = subprocess.run(["bash", os.path.join(api.REPO, "tools/hub-pg.sh"), "start", pg],
                                check=True, capture_output=True, text=True).stdout.strip()
    else:
        api.DB = os.path.join(folder, "hub.sqlite")
    HUB = api.HUB = Hub(*api.NO_LIMITS + NO_TRY_LIMITS)
    try:
        result = unittest.main(argv=[sys.argv[0], "-v"], exit=False).result
    finally:
        HUB.stop()
        if api.USE_PG:
            subprocess.run(["bash", os.path.join(api.REPO, "tools/hub-pg.sh"), "stop", pg])
        subprocess.run(["rm", "-rf", folder])
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
