#!/usr/bin/env python3
"""Fails when a window looks up a control name that its layout does not have.

A name the layout lacks makes FindControl return null; the window then
quietly skips the control, so a typo on either side only shows as a button
that does nothing. Usage:

    check-layout-names.py [ROOT]

ROOT (default: the repository) holds the layouts in ROOT/skin/*.xml and the
C++ sources (*.h, *.cpp) anywhere below it except tests/, build*/ and hidden
folders. The rules, kept simple on purpose:

1. A window is a class that names its layout as a string literal: the
   window kit's frame, first in the braces its constructor gives its base
   (": SkinWindow({"x.xml", ...})"), or what its GetSkinFile() returns, in
   the class body of a header or as X::GetSkinFile() in a source. A class
   naming none takes the layout of a base class that names one.
2. A line of code belongs to the class of the nearest definition above it
   that starts in column 0: "class X" / "struct X" (a class body), or
   "... X::member(" (a member function). Any other column-0 line with a "("
   (a free function) ends the class; look-ups there are not checked.
3. The names a window looks up are the string literals given as first
   argument to FindControl(...), Find(...) or Find<T>(...), and those
   compared with == or != to a GetName() result, directly or through a
   variable assigned from GetName() earlier in the same function. Left out,
   as another window's names: FindControl on x->GetPaintManager() or
   x.GetPaintManager(), and Find on x-> or x. (x other than "this").
4. The names a window has are the name="..." attributes of the controls of
   its layout (<Font>, <Default> and <Image> are no controls), of the
   layouts its code builds into it (a literal "y.xml" passed to Create(...)
   of a dialog builder) and the literals its code gives to SetName(...).
5. Each look-up missing from those names is reported as
   "file:line: "name" is not a control name in layout.xml (Class)". So is a
   named layout that skin/ lacks. The check also fails when it finds no
   window at all, so that it cannot pass by finding nothing.
"""

import os
import re
import sys
import xml.etree.ElementTree as ET

MANAGER_TAGS = {"Window", "Font", "Default", "Image"}

CLASS_DEF = re.compile(r"^(?:class|struct)\s+(\w+)\s*(?:final\s*)?(?::\s*([^{;]*))?\s*\{?\s*$")
MEMBER_DEF = re.compile(r"\b(\w+)::~?\w+\s*\(")
LAYOUT_NAMED = re.compile(r"\bGetSkinFile\s*\(\s*\)[^;{]*\{\s*return\s+[\w:]*\(?\s*\"([^\"]+)\"|"
                       r":\s*\w+\s*\(\s*(?:\w+\s*)?\{\s*\"([^\"]+\.xml)\"")
FIND = re.compile(r"\b(FindControl|Find)\s*(?:<[^;()]*?>)?\s*\(\s*\"([^\"\\]*)\"")
OTHER_MANAGER = re.compile(r"(\w+)\s*(?:->|\.)\s*GetPaintManager\s*\(\s*\)\s*(?:->|\.)\s*$")
OTHER_OBJECT = re.compile(r"(\w+)\s*(?:->|\.)\s*$")
NAME_VAR = re.compile(r"\b(\w+)\s*=\s*[^;=]*?\bGetName\s*\(\s*\)\s*;")
BUILT_IN = re.compile(r"\bCreate\s*\(\s*\"([^\"]+\.xml)\"")
SET_NAME = re.compile(r"\bSetName\s*\(\s*\"([^\"\\]*)\"")


def sources(root):
    for top, dirs, files in os.walk(root):
        if top == root:
            dirs[:] = [d for d in dirs if d != "tests" and not d.startswith("build")]
        dirs[:] = sorted(d for d in dirs if not d.startswith("."))
        for f in sorted(files):
            if f.endswith((".h", ".cpp")):
                yield os.path.join(top, f)


def segments(text):
    """(class or None, start offset, end offset) for each stretch of rule 2."""
    cuts = [(0, None)]
    offset = 0
    for line in text.splitlines(keepends=True):
        if line[:1].isalpha() or line[:1] == "_":
            head = line.split("//")[0].rstrip()
            c = CLASS_DEF.match(head)
            if c:
                cuts.append((offset, c.group(1)))
            elif "(" in head and not head.startswith(("template", "namespace", "using")):
                m = MEMBER_DEF.search(head)
                cuts.append((offset, m.group(1) if m else None))
        offset += len(line)
    cuts.append((len(text), None))
    return [(cuts[i][1], cuts[i][0], cuts[i + 1][0]) for i in range(len(cuts) - 1)]


def bases(text):
    found = {}
    for line in text.splitlines():
        c = CLASS_DEF.match(line.split("//")[0].rstrip())
        if c and c.group(2):
            found[c.group(1)] = [b.split()[-1].split("::")[-1].split("<")[0]
                                 for b in c.group(2).split(",") if b.strip()]
    return found


def layout_names(path):
    names = set()
    for e in ET.parse(path).iter():
        if e.tag not in MANAGER_TAGS and "name" in e.attrib:
            names.add(e.attrib["name"])
    return names


def string_compares(body, var_names):
    """(offset, name) of literals compared with GetName() or a variable from it."""
    subjects = [r"GetName\s*\(\s*\)"] + [r"\b%s\b" % re.escape(v) for v in var_names]
    for s in subjects:
        for m in re.finditer(r"%s\s*[=!]=\s*\"([^\"\\]*)\"" % s, body):
            yield m.start(1), m.group(1)
        for m in re.finditer(r"\"([^\"\\]*)\"\s*[=!]=\s*[\w.>-]*?%s" % s, body):
            yield m.start(1), m.group(1)


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    skin = os.path.join(root, "skin")
    texts = {p: open(p, encoding="utf-8", errors="replace").read() for p in sources(root)}

    skin_files, base_of = {}, {}
    for path, text in texts.items():
        base_of.update(bases(text))
        for cls, start, end in segments(text):
            for m in LAYOUT_NAMED.finditer(text, start, end):
                if cls:
                    skin_files[cls] = (m.group(1) or m.group(2), path,
                                       text.count("\n", 0, m.start()) + 1)

    def layout_of(cls, seen=()):
        if cls in skin_files:
            return skin_files[cls][0]
        for b in base_of.get(cls, []):
            if b not in seen:
                found = layout_of(b, seen + (cls,))
                if found:
                    return found
        return None

    problems = []
    lookups, layout_cache = {}, {}  # class -> [(path, line, name)]
    extra = {}  # class -> names its code builds in or sets
    for path, text in texts.items():
        for cls, start, end in segments(text):
            if not cls or not layout_of(cls):
                continue
            body = text[start:end]
            found = lookups.setdefault(cls, [])
            have = extra.setdefault(cls, set())
            for m in FIND.finditer(body):
                before = body[max(0, m.start() - 200):m.start()]
                other = OTHER_MANAGER.search(before) if m.group(1) == "FindControl" else \
                    OTHER_OBJECT.search(before)
                if other and other.group(1) != "this":
                    continue
                found.append((path, start + m.start(2), m.group(2)))
            vars_ = set(NAME_VAR.findall(body))
            for pos, name in string_compares(body, vars_):
                found.append((path, start + pos, name))
            for m in BUILT_IN.finditer(body):
                layout = os.path.join(skin, m.group(1))
                if os.path.isfile(layout):
                    have |= layout_names(layout)
            have.update(SET_NAME.findall(body))

    for cls, items in sorted(lookups.items()):
        layout = layout_of(cls)
        path = os.path.join(skin, layout)
        if not os.path.isfile(path):
            decl = skin_files.get(cls)
            where = (os.path.relpath(decl[1], root), decl[2]) if decl else (cls, 0)
            problems.append(where + ("layout %s of %s is not in skin/" % (layout, cls),))
            continue
        if path not in layout_cache:
            layout_cache[path] = layout_names(path)
        names = layout_cache[path] | extra.get(cls, set())
        for src, pos, name in sorted(set(items)):
            if name not in names:
                line = texts[src].count("\n", 0, pos) + 1
                problems.append((os.path.relpath(src, root), line,
                                 "\"%s\" is not a control name in %s (%s)" % (name, layout, cls)))

    total = sum(len(set(v)) for v in lookups.values())
    for path, line, what in sorted(problems):
        print("%s:%d: %s" % (path, line, what))
    if not skin_files:
        print("no window names its layout under %s" % root)
        return 1
    print("%d windows, %d look-ups, %d not found" % (len(lookups), total, len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
