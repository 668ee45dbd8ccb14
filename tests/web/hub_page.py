#!/usr/bin/python3
"""A level hub link in headless Chromium: /play/LEVELID opens that level.

usage: hub_page.py HUB_BINARY PAGE_DIR OUT_DIR DROP_LEVEL.dat

Starts a hub on a SQLite file in OUT_DIR serving PAGE_DIR, publishes
DROP_LEVEL.dat (a level the ball finishes by falling) with a run that holds
no key, checks that /play/ serves the page's own files and nothing else of
the build folder and answers 404 for a level it does not list, then opens
/play/LEVELID: the page must fetch the level from its own origin, keep it
in Levels/hub/, play it to the finish on its own, and send the run once a
name is typed on the card. No JavaScript error may be logged.
"""
import json
import os
import subprocess
import sys
import time
import urllib.error
import urllib.request

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

from browser import WAIT_SECONDS, Page, fail

TOKEN = 'hub-page-test-token-' + 'x' * 20
STILL_REPLAY = 'tetherorb2-replay 1\nscreen 800 600\n300 0.96 - 400 300 0\n'


def call(base, path, body=None):
    request = urllib.request.Request(base + path, data=json.dumps(body).encode() if body else None,
                                     headers={'Authorization': 'Bearer ' + TOKEN})
    try:
        with urllib.request.urlopen(request, timeout=WAIT_SECONDS) as answer:
            return answer.status, answer.read()
    except urllib.error.HTTPError as refused:
        return refused.code, refused.read()


def main():
    hub_bin, page_dir, out, drop_level = sys.argv[1:5]
    os.makedirs(os.path.join(out, 'no-levels'), exist_ok=True)
    hub = subprocess.Popen([hub_bin, '--listen', '127.0.0.1:0', '--db', os.path.join(out, 'hub.sqlite'),
                            '--levels', os.path.join(out, 'no-levels'), '--solutions', '', '--web', page_dir],
                           stdout=subprocess.PIPE, text=True)
    try:
        base = next(line for line in hub.stdout if 'serving on' in line).split('serving on ')[1].strip().rstrip('/')
        status, _ = call(base, '/api/v1/players', {'name': 'Author'})
        status, answer = call(base, '/api/v1/levels', {'level': open(drop_level).read(), 'replay': STILL_REPLAY})
        if status != 201:
            fail('the drop level was not published: %d %s' % (status, answer))
        level = json.loads(answer)['id']
        unknown = ('a' if level[0] != 'a' else 'b') + level[1:]
        for name, wanted in [('index.js', 200), ('index.wasm', 200), ('CMakeCache.txt', 404), ('../index.html', 404),
                             (level, 200), (unknown, 404)]:
            status, _ = call(base, '/play/' + name)
            if status != wanted:
                fail('/play/%s answered %d, not %d' % (name, status, wanted))

        page = Page(base + '/play/' + level, out)
        page.listen(from_start=True)
        page.driver.get(page.url)
        page.wait_for(lambda p: page.script("return !!Module.FS && Module.FS.analyzePath('/game/Levels/hub/%s.dat').exists"
                                            % level), 'the page never fetched the level it names')
        # The ball falls onto the finish; the card's own sound says it takes keys, and asks for a name.
        page.wait_for(lambda p: any('results' in name for name in page.sounds() or []), 'the results card never takes keys')
        page.shot('hub-card.png')
        ActionChains(page.driver).send_keys('Webby').perform()
        page.key(Keys.ENTER)
        end = time.time() + WAIT_SECONDS
        while time.time() < end:
            records = json.loads(call(base, '/api/v1/levels/%s/records' % level)[1])['records']
            if any(r['name'] == 'Webby' for r in records):
                break
            time.sleep(0.2)
        else:
            fail('the run played in the page never reached the hub')
        page.check_log()
        page.driver.quit()
    finally:
        hub.terminate()
        hub.wait()
    print('ok hub link: /play/%s played that level and sent its run' % level)


if __name__ == '__main__':
    main()
