#!/usr/bin/python3
"""Plays the web page in Debian's headless Chromium, driven through
chromium-driver, with real key events.

usage: browser.py PAGE_DIR OUT_DIR DESKTOP_TITLE.png DROP_LEVEL.dat DESKTOP_TITLE_DE.png DESKTOP_HINT.png

Serves PAGE_DIR on 127.0.0.1, waits for the title screen to look like the
desktop game's (DESKTOP_TITLE.png), shoots level 1's hint (hint.png) once its
bar looks like the desktop's (DESKTOP_HINT.png) and pauses it through another tab, puts DROP_LEVEL.dat into the page's
IndexedDB as level 1, reloads, chooses "Play" (which must sound) and level 1 with the Return
key (moving the highlight down with a held, repeating key and back up on the
way), waits for the run to finish on its own, its results card, and Return
on it to bring the title back,
reloads and opens the level list again, then saves a screenshot and leaves
through the pause menu; then two_tabs. Leaves list-before.png, list-after.png,
screenshot1.png, score.txt (the best score written) and level1.ghost (the
best run written) in OUT_DIR for the caller to compare with the desktop game,
and fails on any JavaScript error. Last, a browser that asks for German gets
the title screen of the desktop game run with LANG=de_DE.UTF-8.
Every wait is for something seen on the page, never for a fixed time: a busy
machine makes the page slower, so each wait's bound only catches a hang.
"""
import functools
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from http.server import SimpleHTTPRequestHandler, ThreadingHTTPServer

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.keys import Keys

WIDTH, HEIGHT = 800, 600
SAME_FUZZ = '12%'            # colour distance still counted as the same pixel
SAME_LIMIT = WIDTH * HEIGHT // 100   # pixels that may differ: filtering, the pointer
HOLD = 0.15                  # seconds a key stays down: several frames
WAIT_SECONDS = 90            # bound of every wait for the page: only a hang runs it out
WHOLE = '%dx%d+0+0' % (WIDTH, HEIGHT)
BELOW_BANNER = '800x360+0+240'   # the ball's rows and the hint bar, under the level's number and title
HINT_BAR = '800x80+0+515'
UNDER_PAUSE_BAR = '800x540+0+60'   # the pause layer below its bar, where the clock ticks
CHROMIUM_FLAGS = ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic',
                  '--no-first-run', '--disable-background-networking',
                  '--disable-component-update', '--disable-sync',
                  '--enable-unsafe-swiftshader', '--use-angle=swiftshader']


def fail(message):
    print('FAIL web: ' + message, file=sys.stderr)
    sys.exit(1)


def differing_pixels(a, b, region=None, fuzz=SAME_FUZZ):
    """Pixels of a and b (inside region, WxH+X+Y) that differ by more than fuzz."""
    crop = '[%s]' % region if region else ''
    run = subprocess.run(['compare', '-metric', 'AE', '-fuzz', fuzz, a + crop, b + crop, 'null:'],
                         capture_output=True, text=True)
    try:
        return int(float(run.stderr.split()[0]))
    except (IndexError, ValueError):
        fail('cannot compare %s with %s: %s' % (a, b, run.stderr))


def looks_like(a, b, region=None):
    return differing_pixels(a, b, region) <= SAME_LIMIT


class Page:
    def __init__(self, url, out, language=None):
        options = webdriver.ChromeOptions()
        options.binary_location = '/usr/bin/chromium'
        if language:   # navigator.language, as the browser's own settings give it
            options.add_argument('--lang=' + language)
            options.add_experimental_option('prefs', {'intl.accept_languages': language})
        for flag in CHROMIUM_FLAGS + ['--user-data-dir=' + tempfile.mkdtemp(dir=out)]:
            options.add_argument(flag)
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
        self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        self.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
            'width': WIDTH, 'height': HEIGHT, 'deviceScaleFactor': 1, 'mobile': False})
        self.url, self.out, self.shots, self.errors = url, out, 0, []

    def shot(self, name=None):
        self.shots += 1
        path = os.path.join(self.out, name or '.poll%d.png' % (self.shots % 2))
        self.driver.save_screenshot(path)
        return path

    def wait_for(self, test, what, seconds=WAIT_SECONDS):
        end = time.time() + seconds
        while time.time() < end:
            path = self.shot()
            if test(path):
                return path
            time.sleep(0.1)
        fail(what)

    def still(self, region=WHOLE):
        """A test for wait_for: true when region shows the same as in the shot before."""
        seen = []

        def test(path):   # the shot before is the other of the two poll files
            seen.append(path)
            return len(seen) > 1 and differing_pixels(seen[-2], path, region, '0%') == 0   # call it on every shot
        return test

    def wait_still(self, what, region=WHOLE):
        return self.wait_for(self.still(region), what)

    def sounds(self):
        """The names of the sound files played since listen()."""
        return self.script("return Module.played")

    def listen(self, from_start=False):
        """From now on, or from the start of the next page loaded, the page notes
        each effect it hands to Web Audio."""
        listen = ("Module.played = []; var play = SDL.playWebAudio;"
                  "SDL.playWebAudio = function(a) { Module.played.push(a && a.resource && a.resource.source || '');"
                  "  return play.apply(this, arguments); };")
        if not from_start:
            return self.script(listen)
        self.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source':
            "var listening = setInterval(function() { if (typeof SDL == 'undefined' || !SDL.playWebAudio) return;"
            "  clearInterval(listening); " + listen + " }, 5);"})

    def key(self, key):
        ActionChains(self.driver).key_down(key).pause(HOLD).key_up(key).perform()

    def held_key(self, name, code, repeats):
        """A key held long enough for the keyboard to repeat it."""
        for i in range(repeats + 1):
            self.driver.execute_cdp_cmd('Input.dispatchKeyEvent', {
                'type': 'keyDown', 'key': name, 'code': name,
                'windowsVirtualKeyCode': code, 'autoRepeat': i > 0})
            time.sleep(0.05)
        self.driver.execute_cdp_cmd('Input.dispatchKeyEvent', {
            'type': 'keyUp', 'key': name, 'code': name, 'windowsVirtualKeyCode': code})

    def move(self, x, y):
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(x, y)
        actions.perform()

    def click(self, x, y):
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(x, y).click_and_hold().pause(HOLD).release()
        actions.perform()

    def script(self, code, *args):
        return self.driver.execute_script(code, *args)

    def wait_stored(self):
        end = time.time() + WAIT_SECONDS
        while self.script("return Module.storing || Module.storeAgain"):
            if time.time() > end:
                fail('the saved files never reached IndexedDB')
            time.sleep(0.1)

    def tab(self, script=''):
        """A new tab of the page, with script run before the page's own."""
        self.driver.switch_to.new_window('tab')
        self.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': script})
        self.driver.get(self.url)
        self.started()
        return self.driver.current_window_handle

    def started(self):
        self.wait_for(lambda p: self.script("return !!Module.FS && Module.FS.analyzePath('/game/Levels').exists"),
                      'the page never started')

    def save(self, files):
        """Writes the files into /game/Levels as the game does, stores them and
        returns the line the page shows."""
        self.script("for (var n in arguments[0]) Module.FS.writeFile('/game/Levels/' + n, "
                    "  typeof arguments[0][n] == 'string' ? arguments[0][n] : new Uint8Array(arguments[0][n]));"
                    "Module.storeSaves();", files)
        self.wait_stored()
        return self.script("var n = document.getElementById('notice'); return n.hidden ? '' : n.textContent")

    def check_log(self):
        for entry in self.driver.get_log('browser'):
            if entry['level'] == 'SEVERE' or 'Cannot find preloaded audio' in entry['message']:
                self.errors.append(entry['message'])
        if self.errors:
            fail('JavaScript errors:\n' + '\n'.join(self.errors))


def two_tabs(page):
    """Tab b reads the store, then tab a stores a new level 2 and a higher best;
    b's lower best and its level 2 must not undo them (b says so), while b's
    new level 3 is kept. A tab whose first read fails says so, deletes nothing."""
    best, lower = [0x70, 0x11, 1, 0], [0x60, 0xea, 0, 0]   # 70000 and 60000
    a = page.driver.current_window_handle
    b = page.tab()
    page.driver.switch_to.window(a)
    page.save({'level2.dat': 'From a\n', 'level1.score': best})
    page.driver.switch_to.window(b)
    said = page.save({'level1.score': lower, 'level2.dat': 'From b\n', 'level3.dat': 'New in b\n'})
    page.tab("var open = indexedDB.open.bind(indexedDB), refused = false;"
             "indexedDB.open = function(name, version) { if (refused) return open(name, version);"
             "  refused = true; throw new Error('refused by the test'); };")
    said += ' / ' + page.save({'level20.dat': 'Unread\n'})
    page.driver.switch_to.window(a)
    page.driver.refresh()
    page.started()
    kept = page.script("return ['level1.score', 'level2.dat', 'level3.dat', 'level20.dat', 'level1.ghost'].map("
                       "function(n) { var p = '/game/Levels/' + n;"
                       "  return Module.FS.analyzePath(p).exists ? Array.from(Module.FS.readFile(p)) : null; });")
    if kept[:4] != [best, list(b'From a\n'), list(b'New in b\n'), None] or not kept[4] \
            or 'level2.dat' not in said or 'could not be read' not in said:
        fail('two tabs and a failed read left %s stored, saying "%s"'
             % ([k and bytes(k[:12]) for k in kept[:4]], said))


def serve(folder):
    class QuietHandler(SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass
    handler = functools.partial(QuietHandler, directory=folder)
    server = ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return 'http://127.0.0.1:%d/index.html' % server.server_address[1]


def german_page(page_dir, out, english, german):
    """The two titles differ only in their rows' words, fewer pixels than
    looks_like forgives: the page must be much nearer the German one."""
    page = Page(serve(page_dir), out, 'de')
    try:
        page.driver.get(page.url)
        page.wait_for(lambda p: differing_pixels(p, german) * 2 < differing_pixels(p, english) and
                      looks_like(p, german), 'the page is not in German when the browser asks for German')
        said = page.script("Module.savesOff = 'refused by the test'; Module.storeSaves();"
                           "return document.getElementById('notice').textContent")
        if 'refused by the test' not in said or 'could not be read' in said:
            fail('the page\'s own line about saving is not in German: "%s"' % said)
        page.check_log()
    finally:
        page.driver.quit()


def main():
    page_dir, out, desktop_title, drop_level, desktop_german, desktop_hint = sys.argv[1:7]
    page = Page(serve(page_dir), out)
    try:
        started = time.time()
        page.driver.get(page.url)
        page.wait_for(lambda p: looks_like(p, desktop_title),
                      'the title screen never looks like the desktop game\'s')
        print('title screen after %.1f s' % (time.time() - started))
        title = page.shot('title.png')
        page.check_log()

        # Level 1's hint, for the caller to compare with the desktop's; a tab
        # taking the page's focus pauses play, and "Exit" leaves it. The
        # pointer rests at the centre, as on the desktop, where the view
        # does not lead.
        page.move(WIDTH // 2, HEIGHT // 2)
        page.key(Keys.ENTER)
        page.wait_for(lambda p: not looks_like(p, title), 'Return on "Play" shows no level list')
        page.key(Keys.ENTER)
        at_rest = page.still(HINT_BAR)   # the bar is drawn whole, the banner above it may still fade
        playing = page.wait_for(lambda p: at_rest(p) and differing_pixels(p, desktop_hint, HINT_BAR) < 100,
                                'level 1 never shows a hint bar like the desktop\'s, at rest')
        playing = shutil.copy(playing, os.path.join(out, 'hint.png'))
        first = page.driver.current_window_handle
        page.driver.switch_to.new_window('tab')
        page.driver.close()
        page.driver.switch_to.window(first)
        page.wait_for(lambda p: not looks_like(p, playing, BELOW_BANNER), 'another tab taking the focus does not pause play')
        page.wait_still('the pause layer never comes to rest', UNDER_PAUSE_BAR)
        page.click(WIDTH // 2, HEIGHT // 2 - 75)
        page.wait_for(lambda p: looks_like(p, title), '"Exit" in the pause menu does not show the title')

        with open(drop_level) as f:
            page.script("Module.FS.writeFile('/game/Levels/level1.dat', arguments[0]);"
                        "Module.storeSaves();", f.read())
        page.wait_stored()
        page.driver.refresh()
        page.wait_for(lambda p: looks_like(p, title), 'no title screen after a reload')

        # Note the effects the page hands to Web Audio: choosing "Play" must sound.
        page.listen()
        page.key(Keys.ENTER)
        page.wait_for(lambda p: not looks_like(p, title), 'Return on "Play" shows no level list')
        page.wait_for(lambda p: page.script("return SDL.audioContext.state == 'running'") and page.sounds(),
                      'choosing "Play" plays no sound in the browser')
        # Every effect and both themes are decoded by Web Audio, and the menu's theme plays.
        page.wait_for(lambda p: page.script(
            "var files = Module.FS.readdir('/game/Media/sounds').filter(function(n) { return /[.](wav|ogg)$/.test(n); });"
            "var loaded = SDL.audios.filter(function(a) { return a; });"   # entry 0 is no sound
            "return loaded.length == files.length && loaded.every(function(a) {"
            "  return a.webAudio && a.webAudio.decodedBuffer && a.webAudio.decodedBuffer.duration > 0; })"
            "  && !!SDL.music.audio && !SDL.music.audio.paused && /theme_menu/.test(SDL.music.audio.resource.source)"),
            'not every sound and theme is decoded, or the menu theme does not play, in the browser')
        before = shutil.copy(page.wait_still('the level list never comes to rest'), os.path.join(out, 'list-before.png'))
        page.held_key('ArrowDown', 40, 3)   # repeats must not move it further
        page.wait_for(lambda p: not looks_like(p, before), 'Down does not move the highlight')
        page.wait_still('the highlight never comes to rest after a held Down')
        page.key(Keys.ARROW_UP)
        page.wait_for(lambda p: looks_like(p, before), 'Up after a held Down does not move the '
                      'highlight back to the first level')
        page.key(Keys.ENTER)
        page.wait_for(lambda p: not looks_like(p, before) and not looks_like(p, title),
                      'Return on level 1 starts no run')
        page.wait_for(lambda p: page.script("return Module.FS.analyzePath('/game/Levels/level1.score')"
                                            ".exists"), 'the run never finished on its own')
        # The card's own sound says it has begun to take keys.
        page.wait_for(lambda p: any('results' in name for name in page.sounds()), 'the results card never takes keys')
        page.key(Keys.ENTER)
        page.wait_for(lambda p: looks_like(p, title), 'Return on the results card does not show the title')
        page.wait_stored()
        score = page.script("var s = Module.FS.readFile('/game/Levels/level1.score');"
                            "return s[0] | s[1] << 8 | s[2] << 16 | s[3] << 24;")
        with open(os.path.join(out, 'score.txt'), 'w') as f:
            f.write('%d\n' % score)
        ghost = page.script("return Array.from(Module.FS.readFile('/game/Levels/level1.ghost'));")
        with open(os.path.join(out, 'level1.ghost'), 'wb') as f:
            f.write(bytes(ghost))
        page.check_log()

        page.driver.refresh()
        page.wait_for(lambda p: looks_like(p, title), 'no title screen after the second reload')
        page.key(Keys.ENTER)
        page.wait_for(lambda p: not looks_like(p, title), 'no level list after the second reload')
        listed = shutil.copy(page.wait_still('the level list never comes to rest'), os.path.join(out, 'list-after.png'))

        # "Save screenshot" in the pause menu downloads the picture, "Exit" goes
        # back to the title screen.
        page.driver.execute_cdp_cmd('Page.setDownloadBehavior',
                                    {'behavior': 'allow', 'downloadPath': os.path.abspath(out)})
        page.key(Keys.ESCAPE)
        page.wait_for(lambda p: not looks_like(p, listed), 'Escape does not open the pause menu')
        page.wait_still('the pause menu never comes to rest', UNDER_PAUSE_BAR)
        page.click(WIDTH // 2, HEIGHT // 2 - 25)
        end = time.time() + WAIT_SECONDS
        while not os.path.exists(os.path.join(out, 'screenshot1.png')):
            if time.time() > end:
                fail('"Save screenshot" downloads no screenshot1.png')
            time.sleep(0.1)
        page.click(WIDTH // 2, HEIGHT // 2 - 75)
        page.wait_for(lambda p: looks_like(p, title), '"Exit" does not go back to the title screen')
        page.check_log()
        two_tabs(page)
    finally:
        page.driver.quit()
    german_page(page_dir, out, desktop_title, desktop_german)
    print('ok web page: title, run to the finish, best score after a reload, screenshot, Exit, German')


if __name__ == '__main__':
    main()
