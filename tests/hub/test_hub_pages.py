#!/usr/bin/env python3
"""The hub's web pages in headless Chromium, on a real hub and database:
players publish levels and record runs over the API, then one browser with
scripts off reads every page as a player would. The front page lists the
levels 20 a page with working next and previous links and the level of the
day; a level page shows its picture, its records best first and links that
work (Play opens the game at that level, Download gives the level file, each
replay its run); the player page and the search (any case, any accents)
find them; a title holding markup shows as text; no page scrolls sideways
360 pixels wide; a German browser gets German; a second request with the
ETag is answered 304.

  test_hub_pages.py HUB_BINARY
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LEVEL1 = open(os.path.join(REPO, "Levels/level1.dat"), encoding="utf-8").read()
FAST = open(os.path.join(REPO, "tests/solutions/level1.replay"), encoding="utf-8").read()      # 287
SLOW = open(os.path.join(REPO, "tests/hub/level1-slower.replay"), encoding="utf-8").read()     # 247
MARKUP = "<b>Bold</b> & 'Co' <script>x=1</script>"
ACCENTED = "Élan Über Øresund"
FILLERS = 19   # with the two above, 21 levels: one more than a page
PHONE_WIDTH = 360
WAIT_SECONDS = 120   # bound of every wait for a condition: only a hang runs it out


def variant(title):
    return title + "\n" + LEVEL1.split("\n", 1)[1]


def fail(message):
    print("FAIL hub pages: " + message, file=sys.stderr)
    sys.exit(1)


def expect(condition, message):
    if not condition:
        fail(message)


class Hub:
    def __init__(self, folder):
        empty = os.path.join(folder, "no-levels")
        web = os.path.join(folder, "web")
        os.makedirs(empty)
        os.makedirs(web)
        with open(os.path.join(web, "index.html"), "w") as page:   # a stand-in for the browser build
            page.write("<!DOCTYPE html><html><head><title>game</title></head><body>game</body></html>")
        self.proc = subprocess.Popen(
            [sys.argv[1], "--listen", "127.0.0.1:0", "--db", os.path.join(folder, "hub.sqlite"), "--levels", empty,
             "--solutions", "", "--web", web, "--no-access-log", "--rate-publish-token", "0",
             "--rate-publish-address", "0", "--rate-runs-token", "0", "--rate-runs-address", "0"],
            stdout=subprocess.PIPE, text=True, cwd=REPO)
        line = next(l for l in self.proc.stdout if "serving on" in l)
        self.base = line.split("serving on ")[1].strip().rstrip("/")

    def get(self, path, headers={}):
        request = urllib.request.Request(self.base + path, headers=headers)
        try:
            with urllib.request.urlopen(request, timeout=WAIT_SECONDS) as answer:
                return answer.status, answer.read(), answer.headers
        except urllib.error.HTTPError as refused:
            return refused.code, refused.read(), refused.headers

    def post(self, path, body, name):
        token = (name + "-" + "t" * 40)[:40]
        request = urllib.request.Request(self.base + path, data=json.dumps(body).encode(),
                                         headers={"Authorization": "Bearer " + token})
        with urllib.request.urlopen(request, timeout=WAIT_SECONDS) as answer:
            return json.loads(answer.read())

    def stop(self):
        self.proc.terminate()
        self.proc.wait()


def browser(folder):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--lang=en-US",
                 "--user-data-dir=" + tempfile.mkdtemp(dir=folder)]:
        options.add_argument(flag)
    options.add_experimental_option("prefs", {"intl.accept_languages": "en-US,en"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": True})
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": PHONE_WIDTH, "height": 740, "deviceScaleFactor": 1, "mobile": True})
    return driver


class Reader:
    """One browser; the page's own scripts are off, the test's checks still run."""

    def __init__(self, hub, driver):
        self.hub, self.driver = hub, driver

    def open(self, path):
        self.driver.get(self.hub.base + path)
        self.check(path)

    def check(self, path):
        self.wait(lambda: self.driver.execute_script("return document.readyState") == "complete", "loading " + path)
        width = self.driver.execute_script("return [document.documentElement.scrollWidth, window.innerWidth]")
        expect(width[0] <= width[1], "%s scrolls sideways at %d pixels: %r" % (path, PHONE_WIDTH, width))
        for tag in ["title", "meta[name=description]", "meta[property='og:title']", "meta[property='og:description']"]:
            expect(self.driver.find_elements(By.CSS_SELECTOR, tag), "%s has no %s" % (path, tag))
        expect(not self.driver.find_elements(By.CSS_SELECTOR, "main b, main script"), path + " let markup through")

    def wait(self, test, what):
        end = time.time() + WAIT_SECONDS
        while not test():
            expect(time.time() < end, "never happened: " + what)
            time.sleep(0.05)

    def texts(self, selector):
        return [e.text for e in self.driver.find_elements(By.CSS_SELECTOR, selector)]

    def link(self, text):
        return self.driver.find_element(By.LINK_TEXT, text)


def publish(hub):
    for name in ["alice", "bob", "carol"]:
        hub.post("/api/v1/players", {"name": name}, name)
    ids = {MARKUP: hub.post("/api/v1/levels", {"level": variant(MARKUP), "replay": FAST}, "alice")["id"]}
    ids[ACCENTED] = hub.post("/api/v1/levels", {"level": variant(ACCENTED), "replay": SLOW}, "bob")["id"]
    for n in range(FILLERS):
        hub.post("/api/v1/levels", {"level": variant("Filler %d" % n), "replay": SLOW}, "carol")
    hub.post("/api/v1/levels/%s/runs" % ids[MARKUP], {"replay": SLOW}, "bob")
    hub.post("/api/v1/levels/%s/runs" % ids[MARKUP], {"replay": FAST}, "carol")
    return ids


def check_front(reader, ids):
    reader.open("/")
    titles = reader.texts("ul.levels strong")
    expect(len(titles) == 20 + 1, "the front page shows %d rows, not the day's level and 20" % len(titles))
    expect(reader.texts("section.daily strong") == [MARKUP], "the level of the day is not the one others finished")
    reader.link("Next page").click()
    reader.wait(lambda: "page=2" in reader.driver.current_url, "the next page link")
    reader.check("page 2")
    expect(reader.texts("section.list strong") == [MARKUP], "the first level published is not alone on page 2")
    reader.link("Previous page").click()
    reader.wait(lambda: "page=1" in reader.driver.current_url, "the previous page link")
    reader.link("Most played").click()
    reader.wait(lambda: "sort=plays" in reader.driver.current_url, "the most played link")
    reader.check("most played")
    expect(reader.texts("section.list strong")[0] == MARKUP, "the most played level is not listed first")


def check_level(reader, hub, ids):
    level = ids[MARKUP]
    reader.open("/levels/" + level)
    expect(reader.texts("h1") == [MARKUP], "the level page's title is not the title as text")
    picture = reader.driver.find_element(By.CSS_SELECTOR, "img.picture")
    reader.wait(lambda: reader.driver.execute_script("return arguments[0].complete && arguments[0].naturalWidth",
                                                     picture), "the level's picture")
    og = reader.driver.find_element(By.CSS_SELECTOR, "meta[property='og:image']").get_attribute("content")
    expect(og.endswith("/levels/%s.png" % level), "the link preview has no level picture: " + og)
    rows = [row.split() for row in reader.texts("table.records tbody tr")]
    expect([(r[0], r[-3]) for r in rows] == [("1", "287"), ("1", "287"), ("3", "247")],
           "the records are not best first: %r" % rows)
    row = next(l for l in json.loads(hub.get("/api/v1/levels?sort=plays")[1])["levels"] if l["id"] == level)
    facts = dict(zip(reader.texts("dl.facts dt"), reader.texts("dl.facts dd")))
    shown = [facts[k] for k in ["Plays", "Tried by", "Finishes", "Clear rate", "Author's score"]]
    expect(shown == [str(row["plays"]), str(row["tried"]), str(row["finishes"]), "%d%%" % round(row["clear_rate"] * 100),
                     str(row["author_score"])], "the level page's numbers %r are not the API's %r" % (shown, row))
    download = reader.link("Download").get_attribute("href")
    status, body, headers = hub.get(download[len(hub.base):])
    expect(status == 200 and body.decode().startswith(MARKUP) and
           re.search(r'filename="level\d+\.dat"', headers.get("Content-Disposition", "")),
           "the download is not the level file named for the Levels folder")
    status, body, _ = hub.get(reader.link("Replay").get_attribute("href")[len(hub.base):])
    expect(status == 200 and body.startswith(b"tetherorb2-replay"), "a record's replay link does not give its run")
    status, body, _ = hub.get("/levels/" + level, {"Accept-Language": "fr-CH, de;q=0.9"})
    expect(b'lang="fr"' in body, "a French browser did not get the page in French")
    reader.link("Play in your browser").click()
    reader.wait(lambda: reader.driver.current_url.endswith("/play/" + level), "the Play link")
    expect(('TetherorbHubLevel = "%s"' % level) in reader.driver.page_source, "Play does not open the game there")
    reader.driver.back()
    reader.link("alice").click()
    reader.wait(lambda: reader.driver.current_url.endswith("/players/alice"), "the maker's link")


def check_player_and_search(reader, ids):
    reader.open("/players/BOB")
    expect(reader.texts("h1") == ["bob"], "the player page is not bob's")
    expect(ACCENTED in reader.texts("ul.levels strong"), "bob's page lacks his level")
    expect([r.split()[-3] for r in reader.texts("table.records tbody tr")] == ["1", "3"],
           "bob's records are not best rank first")
    medals = reader.texts("dl.medals dd")   # 247 of alice's 287: silver
    expect(medals == ["0", "1", "0"], "bob's medals (gold, silver, bronze) are %r" % medals)
    for words in ["elan uber", "ÉLAN", "øresund", "BOLD", "bo"]:
        reader.open("/search?q=" + urllib.request.quote(words))
        expect(reader.texts("ul.levels strong")[:1] in ([ACCENTED], [MARKUP]), "searching %r found nothing" % words)
    reader.open("/search?q=bob")
    expect(reader.texts("ul.levels strong") == [ACCENTED], "a search by maker did not find bob's level")
    reader.open("/search?q=bold&difficulty=unbeaten")
    expect(reader.texts("ul.levels strong") == [], "unbeaten levels include one others finished")
    reader.open("/search?q=" + "x" * 5000)


def check_caching(hub, ids):
    for path in ["/", "/levels/" + ids[MARKUP], "/players/bob", "/search?q=bold"]:
        status, _, headers = hub.get(path)
        tag = headers.get("ETag")
        expect(status == 200 and tag, path + " sends no ETag")
        again, body, _ = hub.get(path, {"If-None-Match": tag})
        expect(again == 304 and not body, path + " is not 304 for its own ETag")
    status, body, _ = hub.get("/", {"Accept-Language": "xx, de-AT;q=0.8, en;q=0.5"})
    newest = re.search(r'msgid "Newest"\nmsgstr "([^"]+)"', open(os.path.join(REPO, "po/de.po")).read()).group(1)
    expect(b'lang="de"' in body and newest.encode() in body, "a browser asking for German did not get German")
    for path in ["/levels/aaaaaaaaaaaaaaaa", "/players/nobody-here"]:
        expect(hub.get(path)[0] == 404, path + " is not a 404")


def main():
    folder = tempfile.mkdtemp(prefix="hub-pages-")
    hub = Hub(folder)
    driver = None
    try:
        ids = publish(hub)
        driver = browser(folder)
        reader = Reader(hub, driver)
        check_front(reader, ids)
        check_level(reader, hub, ids)
        check_player_and_search(reader, ids)
        check_caching(hub, ids)
    finally:
        if driver:
            driver.quit()
        hub.stop()
        shutil.rmtree(folder, ignore_errors=True)
    print("ok hub pages")


if __name__ == "__main__":
    main()
