#!/usr/bin/env python3
"""Finding levels on the hub, over HTTP against a real hub on a real database:
search (case and accents aside), the size and difficulty filters, the tries
and finishes of each level row, the level of the day and a player's page.

  test_hub_browse.py HUB_BINARY        on a SQLite file in a temporary folder
  test_hub_browse.py HUB_BINARY --pg   on a throwaway PostgreSQL cluster (tools/hub-pg.sh)
"""
import os
import subprocess
import sys
import tempfile
import unittest
import urllib.parse
import zlib

import hub_harness as api
from hub_harness import Hub, LEVEL1, SLOWER1, SOLUTION1, variant, check_counts

BALL, FINISH = (242, 112, 28), (40, 190, 90)   # the ball's and the finish's colours in the game's art


def read_png(data):
    """Width, height and the RGB of pixel (x, y), checking every chunk's CRC."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    at, idat = 8, b""
    while at < len(data):
        n, kind = int.from_bytes(data[at:at + 4], "big"), data[at + 4:at + 8]
        body = data[at + 8:at + 8 + n]
        assert zlib.crc32(kind + body) == int.from_bytes(data[at + 8 + n:at + 12 + n], "big")
        if kind == b"IHDR":
            w, h = int.from_bytes(body[:4], "big"), int.from_bytes(body[4:8], "big")
            assert body[8:10] == b"\x08\x06"   # 8-bit RGBA
        idat += body if kind == b"IDAT" else b""
        at += 12 + n
    raw, stride = zlib.decompress(idat), w * 4 + 1
    assert len(raw) == stride * h and all(raw[y * stride] == 0 for y in range(h))
    return w, h, lambda x, y: tuple(raw[y * stride + 1 + 4 * x:y * stride + 4 + 4 * x])


def listing(**query):
    """Every page of the list asked with these parameters."""
    found, page = [], 1
    while True:
        status, answer, _ = HUB.call("GET", "/api/v1/levels?" + urllib.parse.urlencode(dict(query, page=page)))
        assert status == 200, (query, answer)
        found += answer["levels"]
        if not answer["more"]:
            return found
        page += 1


def publish(title, tok):
    status, answer, _ = HUB.post("/api/v1/levels", {"level": variant(title), "replay": SOLUTION1}, tok)
    assert status == 201, (title, status, answer)
    return answer["id"]


class HubBrowse(unittest.TestCase):
    def test_search_folds_case_and_accents_and_ranks_titles_first(self):
        maker = HUB.register("Wanderer")
        ids = {t: publish(t, maker) for t in ["Über Brücke", "ЁЖИК в тумане", "Façade Niño", "Lone Wanderer"]}
        other = publish("Wanderer's Path", HUB.register("Someone Else"))
        for q, titles in [("uber", ["Über Brücke"]), ("BRUCKE über", ["Über Brücke"]),
                          ("ёжик", ["ЁЖИК в тумане"]), ("ежик В", ["ЁЖИК в тумане"]), ("FACADE nino", ["Façade Niño"]),
                          ("uber zzz", []), ("%", []), ("brucke wanderer", ["Über Brücke"])]:
            self.assertEqual([l["title"] for l in listing(q=q)], titles, q)
        # Titles holding every word first, then the levels found by their maker's name, each part newest first.
        found = [l["id"] for l in listing(q="WANDERER")]
        self.assertEqual(found, [other, ids["Lone Wanderer"], ids["Façade Niño"], ids["ЁЖИК в тумане"], ids["Über Brücke"]])
        for query, cause in [({"q": "x" * 101}, "q is at most"), ({"q": "a b c d e f g"}, "words"),
                             ({"size": "huge"}, "size is small"), ({"difficulty": "fun"}, "difficulty is")]:
            HUB.refused(400, cause, "GET", "/api/v1/levels?" + urllib.parse.urlencode(query))

    def test_tries_finishes_and_filters_agree_with_the_runs(self):
        author, a, b = HUB.register("Row Author"), HUB.register("Row Player A"), HUB.register("Row Player B")
        id = publish("Counted Level", author)
        for tok, replay in [(a, SLOWER1), (a, SOLUTION1), (b, SLOWER1), (author, SLOWER1)]:
            self.assertEqual(HUB.post("/api/v1/levels/%s/runs" % id, {"replay": replay}, tok)[0], 201)
        everything = listing()
        row = next(l for l in everything if l["id"] == id)
        self.assertEqual([row[k] for k in ["plays", "tried", "finishes", "clear_rate"]], [5, 2, 2, 1.0])
        for level in everything:   # finishes: the leaderboard's players besides the author
            records = HUB.call("GET", "/api/v1/levels/%s/records?limit=100" % level["id"])[1]["records"]
            others = len([r for r in records if r["name"] != level["author"]])
            self.assertEqual((level["finishes"], level["tried"]), (others, others), level)
            self.assertEqual(level["clear_rate"], others and level["finishes"] / level["tried"], level)
        check_counts()
        # Each filter's levels are the ones its bounds name, and its values split the whole list.
        ids = sorted(l["id"] for l in everything)
        bounds = {"small": (0, 600), "medium": (601, 6000), "large": (6001, 10 ** 9)}
        sizes = {s: listing(size=s) for s in bounds}
        for s, levels in sizes.items():
            for l in levels:
                self.assertTrue(bounds[s][0] <= l["width"] * l["height"] <= bounds[s][1], (s, l))
        self.assertEqual(sorted(l["id"] for s in sizes for l in sizes[s]), ids)
        rates = {"easy": lambda l: l["clear_rate"] >= 0.5, "medium": lambda l: 0.2 <= l["clear_rate"] < 0.5,
                 "hard": lambda l: 0 < l["clear_rate"] < 0.2, "unbeaten": lambda l: l["finishes"] == 0}
        kinds = {d: listing(difficulty=d) for d in rates}
        for d, levels in kinds.items():
            self.assertTrue(all(rates[d](l) for l in levels), d)
        self.assertEqual(sorted(l["id"] for d in kinds for l in kinds[d]), ids)
        self.assertIn(id, [l["id"] for l in listing(difficulty="easy", size="small", q="counted", sort="plays")])

    def test_level_of_the_day_is_stable_finished_by_others_and_never_hidden(self):
        def daily():
            seen = []

            def agree():   # the kept list pages show what the hide and unhide commands did only once they age out
                status, answer, _ = HUB.call("GET", "/api/v1/daily")
                seen[:] = [status, answer, [l["id"] for l in listing() if l["finishes"] > 0]]
                return (status == 404) == (not seen[2]) and (status != 200 or answer["id"] in seen[2])
            self.assertTrue(api.eventually(agree), seen)
            status, answer = seen[:2]
            if status == 200:
                self.assertEqual(HUB.call("GET", "/api/v1/daily")[1], answer)
                return answer["id"]

        daily()
        id = publish("Daily Candidate", HUB.register("Daily Maker"))
        self.assertEqual(HUB.post("/api/v1/levels/%s/runs" % id, {"replay": SLOWER1}, HUB.register("Daily Player"))[0], 201)
        hidden = []
        while True:   # hiding the day's level picks another, until none is left
            today = daily()
            self.assertNotIn(today, hidden)
            if not today:
                break
            hidden.append(today)
            subprocess.run([api.HUB_BIN, "hide", today, "--db", api.DB], check=True, capture_output=True)
        for id in hidden:
            subprocess.run([api.HUB_BIN, "unhide", id, "--db", api.DB], check=True, capture_output=True)
        self.assertEqual(daily(), hidden[0])

    def test_player_page_lists_levels_records_and_medals(self):
        maker, racer = HUB.register("Page Maker"), HUB.register("Page Racer")
        made = publish("Page Level", maker)
        gone = publish("Page Withdrawn", maker)
        self.assertEqual(HUB.call("DELETE", "/api/v1/levels/" + gone, tok=maker)[0], 204)
        shipped1 = next(l["id"] for l in listing() if l["shipped"] == 1)
        for level, replay in [(made, SLOWER1), (shipped1, SOLUTION1)]:   # 247 of 287: silver; 287 of 287: the star
            self.assertEqual(HUB.post("/api/v1/levels/%s/runs" % level, {"replay": replay}, racer)[0], 201)
        status, page, _ = HUB.call("GET", "/api/v1/players/page%20MAKER")
        self.assertEqual((status, page["name"], [l["id"] for l in page["levels"]]), (200, "Page Maker", [made]))
        self.assertEqual(page["levels"][0]["finishes"], 1)
        self.assertEqual(page["medals"], {"gold": 0, "silver": 0, "bronze": 0})   # none on their own level
        racer = HUB.call("GET", "/api/v1/players/Page%20Racer")[1]
        self.assertEqual([(r["level"], r["rank"], r["score"]) for r in racer["records"]], [(shipped1, 1, 287), (made, 2, 247)])
        self.assertEqual(racer["medals"], {"gold": 1, "silver": 1, "bronze": 0})
        HUB.refused(404, "no player", "GET", "/api/v1/players/Nobody%20Here")

    def test_level_pictures_show_the_spawn_and_finish_in_their_places(self):
        maker = HUB.register("Painter")
        rows = LEVEL1.split("\n")
        wide = "\n".join(["Wide Picture", "998", rows[2]] + [r + "b" * 974 if r else r for r in rows[3:]])
        for level in [variant("Picture Level"), wide]:
            status, answer, _ = HUB.post("/api/v1/levels", {"level": level, "replay": SOLUTION1}, maker)
            self.assertEqual(status, 201)
            status, png, r = HUB.call_bytes("/levels/%s.png" % answer["id"])
            self.assertEqual((status, r.getheader("Content-Type")), (200, "image/png"))
            self.assertEqual(HUB.call_bytes("/levels/%s.png" % answer["id"])[1], png)   # kept, not drawn again
            w, h, pixel = read_png(png)
            cells = level.split("\n")[3:]
            cw, ch = len(cells[0]), int(level.split("\n")[2])
            per = 512 // max(cw, ch)
            self.assertEqual((w, h), (cw * per, ch * per) if per else (cw * 512 // max(cw, ch), ch * 512 // max(cw, ch)))
            for letter, colour in [("j", BALL), ("l", FINISH)]:
                for y, row in enumerate(cells[:ch]):
                    for x in [x for x, c in enumerate(row) if c == letter]:
                        at = (x * per + per // 2, y * per + per // 2) if per else (x * w // cw, y * h // ch)
                        self.assertEqual(pixel(*at), colour, (letter, x, y))
        self.assertEqual(HUB.call("DELETE", "/api/v1/levels/" + answer["id"], tok=maker)[0], 204)
        HUB.refused(404, "no level", "GET", "/levels/%s.png" % answer["id"])

    def test_reports_of_five_players_hold_a_level_until_cleared(self):
        id = publish("Reported Level", HUB.register("Reported Maker"))
        self.assertEqual(HUB.post("/api/v1/levels/%s/runs" % id, {"replay": SLOWER1}, HUB.register("Report Finisher"))[0], 201)
        players = [HUB.register("Reporter %d" % k) for k in range(5)]
        path = "/api/v1/levels/%s/reports" % id
        shown = lambda: [id in [l["id"] for l in listing(**q)] for q in [{}, {"q": "reported level"}, {"sort": "plays"}]]
        for k, (tok, reason) in enumerate(zip(players[:4] + [players[0]], ["broken", "broken", "offensive", "broken", "copied"])):
            self.assertEqual(HUB.post(path, {"reason": reason}, tok)[0], 204)
            self.assertEqual(shown(), [True] * 3, k)   # four players so far, one of them twice
        self.assertEqual(HUB.post(path, {"reason": "broken"}, players[4])[0], 204)
        self.assertEqual(shown(), [False] * 3)
        self.assertNotEqual(HUB.call("GET", "/api/v1/daily")[1].get("id"), id)
        self.assertEqual(HUB.call("GET", "/api/v1/levels/" + id)[0], 200)   # still played by its id
        command = lambda *args: subprocess.run([api.HUB_BIN, *args, "--db", api.DB], capture_output=True, text=True)
        self.assertIn(id + "  held       broken 3  offensive 1  copied 1  Reported Level", command("reports").stdout)
        for body, status, cause in [({"reason": "boring"}, 400, "reason is"), ({}, 400, "reason")]:
            HUB.refused(status, cause, "POST", path, body, players[0])
        HUB.refused(401, "Authorization", "POST", path, {"reason": "broken"})
        HUB.refused(404, "no level", "POST", "/api/v1/levels/%s/reports" % ("a" * 16), {"reason": "broken"}, players[0])
        self.assertEqual([command("clear-reports", id).returncode, command("clear-reports", id).returncode], [0, 1])
        self.assertEqual(shown(), [True] * 3)

    def test_every_get_carries_an_etag_and_a_matching_one_gets_304(self):
        maker = HUB.register("Tagged Maker")
        id = publish("Tagged Level", maker)
        paths = ["/api/v1/levels?sort=plays", "/api/v1/levels?q=tagged", "/api/v1/levels/" + id, "/levels/%s.png" % id,
                 "/api/v1/levels/%s/records" % id, "/api/v1/players/Tagged%20Maker", "/play/" + id]
        tags = {}
        for path in paths:
            status, body, r = HUB.call_bytes(path)
            tag, cache = r.getheader("ETag"), r.getheader("Cache-Control")
            self.assertEqual(status, 200, path)
            self.assertRegex(tag, '^"[0-9a-f]{64}"$')
            self.assertEqual(cache, "public, max-age=%d" % (86400 if path.endswith(".png") else 10))
            tags[path] = tag
            for sent, answer in [(tag, (304, b"")), ('W/"other", ' + tag, (304, b"")), ('"other"', (200, body))]:
                self.assertEqual(HUB.call_bytes(path, {"If-None-Match": sent})[:2], answer, (path, sent))
        self.assertEqual(HUB.post("/api/v1/levels/%s/runs" % id, {"replay": SLOWER1}, HUB.register("Tag Changer"))[0], 201)
        for path in paths[:2] + paths[4:6]:   # what the run changed answers with another tag
            self.assertEqual(HUB.call_bytes(path, {"If-None-Match": tags[path]})[0], 200, path)


def main():
    global HUB
    folder = tempfile.mkdtemp(prefix="hub-browse-")
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
    HUB = api.HUB = Hub(*api.NO_LIMITS)
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
