#!/usr/bin/env python3
"""The mutation sites of the game layer and the hub, for tools/mutants.sh.

  mutants.py sites ROOT                 every site, one a line
  mutants.py draw ROOT N SEED           N sites drawn with SEED (all when N is larger)
  mutants.py apply ROOT SITE            writes ROOT/<file> with the one change SITE names
  mutants.py known ROOT SITE            exits 0 when SITE is a listed equivalent mutant
  mutants.py sync FROM TO               copies the changed tracked files of FROM into TO

A site is "file<TAB>line<TAB>column<TAB>from<TAB>to". Only lines of logic count:
operators inside comments and string literals, preprocessor lines, static_assert
and constant tables (a brace initialiser that opens at namespace scope or after
`static const`) are left alone. Binary operators are found by their spaces
(`a < b`), so templates, pointers and unary minus never match.
"""
import os
import random
import re
import subprocess
import sys

FOLDERS = ["src/game", "src/hub"]
KNOWN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "mutants-equivalent.txt")
# The changes: spaced binary operators, then the words and the prefix `!`.
SWAPS = {" < ": " <= ", " <= ": " < ", " > ": " >= ", " >= ": " > ", " == ": " != ", " != ": " == ",
         " + ": " - ", " - ": " + ", " * ": " / ", " / ": " * ", " % ": " * ",
         " += ": " -= ", " -= ": " += ", " && ": " || ", " || ": " && "}
SPACED = re.compile("|".join(re.escape(k) for k in sorted(SWAPS, key=len, reverse=True)))
WORDS = re.compile(r"\b(true|false)\b|!(?=[A-Za-z_(])")


def blank(text):
    """text with comments and string and character literals turned to spaces,
    newlines kept, so lines and columns still match the file."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i)
            j = n if j < 0 else j + 2
        elif c == 'R' and text.startswith('"', i + 1) and not (i and (text[i - 1].isalnum() or text[i - 1] == '_')):
            delim = text[i + 2:text.find("(", i + 2)]
            j = text.find(")" + delim + '"', i) + len(delim) + 2
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            j += 1
        else:
            out.append(c)
            i += 1
            continue
        out.append("".join(ch if ch == "\n" else " " for ch in text[i:j]))
        i = j
    return "".join(out)


def logic_lines(text):
    """(number, blanked line) for each line of logic."""
    depth_skip = 0   # brace depth still open in a skipped table or enum
    for number, line in enumerate(blank(text).split("\n"), 1):
        code = line.strip()
        opens = line.count("{") - line.count("}")
        if depth_skip > 0:
            depth_skip += opens
            continue
        table = (not line[:1].isspace() and ("= {" in line or code.startswith("enum"))) or \
            re.match(r"(static\s+)?(constexpr|const)\b.*=\s*\{", code)
        if table:
            depth_skip = max(opens, 0)
            continue
        if not code or code.startswith("#") or code.startswith("static_assert") or not line[:1].isspace():
            continue   # preprocessor, static_assert, and namespace scope: constants and signatures
        if re.match(r"(static\s+)?(constexpr|const)\s", code) and "(" not in code:
            continue   # a named constant inside a body
        yield number, line


def sites_of(root, path):
    with open(os.path.join(root, path), encoding="utf-8") as f:
        text = f.read()
    raw = text.split("\n")
    for number, line in logic_lines(text):
        for m in SPACED.finditer(line):
            if m.group() in (" + ", " += ") and '"' in raw[number - 1]:
                continue   # most likely joins strings: - would not compile
            yield (path, number, m.start() + 1, m.group(), SWAPS[m.group()])
        for m in WORDS.finditer(line):
            word = m.group()
            yield (path, number, m.start() + 1, word, {"true": "false", "false": "true", "!": ""}[word])


def all_sites(root):
    out = []
    for folder in FOLDERS:   # with the folders inside (src/game/play...)
        names = [os.path.relpath(os.path.join(top, name), root)
                 for top, _, files in os.walk(os.path.join(root, folder)) for name in files]
        for name in sorted(names):
            if name.endswith(".cpp"):
                out.extend(sites_of(root, name))
    return out


def show(site):
    return "\t".join(str(x) for x in site)


def parse(text):
    path, line, col, old, new = text.rstrip("\n").split("\t")
    return path, int(line), int(col), old, new


def source_line(root, site):
    with open(os.path.join(root, site[0]), encoding="utf-8") as f:
        return f.read().split("\n")[site[1] - 1]


def change(root, site):
    """The listing form: 'file:line | line text | old -> new [@k]', k counting the
    operator's places on the line when it is there more than once."""
    path, number, col, old, new = site
    text = source_line(root, site)
    places = [m.start() for m in re.finditer(re.escape(old.strip()), text)]
    where = " @%d" % (places.index(col - 1 + (len(old) - len(old.lstrip()))) + 1) if len(places) > 1 else ""
    return "%s | %s | %s -> %s%s" % (path, text.strip(), old.strip() or "''", new.strip() or "''", where)


def known(root, site):
    key = change(root, site)
    if not os.path.exists(KNOWN):
        return False
    with open(KNOWN, encoding="utf-8") as f:
        for entry in f:
            if entry.strip() and not entry.startswith("#") and entry.rsplit(" | ", 1)[0].strip() == key:
                return True
    return False


def apply(root, site):
    path, number, col, old, new = site
    full = os.path.join(root, path)
    with open(full, encoding="utf-8") as f:
        lines = f.read().split("\n")
    line = lines[number - 1]
    assert line[col - 1:col - 1 + len(old)] == old, "the site no longer matches: " + show(site)
    lines[number - 1] = line[:col - 1] + new + line[col - 1 + len(old):]
    with open(full, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def sync(src, dst):
    """Copies into dst every tracked (or new, not ignored) file of src whose bytes differ,
    so an unchanged file keeps its time and make leaves it alone."""
    names = subprocess.run(["git", "-C", src, "ls-files", "-z", "-co", "--exclude-standard"],
                           check=True, capture_output=True).stdout.decode().split("\0")
    for name in filter(None, names):
        a, b = os.path.join(src, name), os.path.join(dst, name)
        if not os.path.isfile(a):
            continue
        with open(a, "rb") as f:
            data = f.read()
        if os.path.isfile(b):
            with open(b, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(b), exist_ok=True)
        with open(b, "wb") as f:
            f.write(data)
        os.chmod(b, os.stat(a).st_mode)


def main(argv):
    cmd, root = argv[1], argv[2]
    if cmd == "sites":
        for site in all_sites(root):
            print(show(site))
    elif cmd == "draw":
        sites = all_sites(root)
        count, seed = int(argv[3]), int(argv[4])
        for site in random.Random(seed).sample(sites, min(count, len(sites))):
            print(show(site))
    elif cmd == "apply":
        apply(root, parse(argv[3]))
    elif cmd == "change":
        print(change(root, parse(argv[3])))
    elif cmd == "known":
        return 0 if known(root, parse(argv[3])) else 1
    elif cmd == "sync":
        sync(root, argv[3])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
