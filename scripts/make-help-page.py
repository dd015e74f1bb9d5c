#!/usr/bin/env python3
"""Writes the program's help page (help.html in the program folder) from the
README's usage section ("## Use it"), so the help the program opens is the
same text the README gives.

    make-help-page.py README.md OUTPUT.html
"""
import html
import re
import sys


def section(text, title):
    lines = text.splitlines()
    out, inside = [], False
    for line in lines:
        if line.startswith("## "):
            if inside:
                break
            inside = line[3:].strip() == title
            continue
        if inside:
            out.append(line)
    return out


def inline(s):
    s = html.escape(s, quote=False)
    s = re.sub(r"`([^`]+)`", r"<code>\1</code>", s)
    s = re.sub(r"\*\*([^*]+)\*\*", r"<b>\1</b>", s)
    return s


def render(lines):
    body, para, items, code = [], [], [], None

    def flush():
        if para:
            body.append("<p>" + inline(" ".join(para)) + "</p>")
            para.clear()
        if items:
            body.append("<ul>" + "".join("<li>" + inline(i) + "</li>" for i in items) + "</ul>")
            items.clear()

    for line in lines:
        if code is not None:
            if line.startswith("```"):
                body.append("<pre>" + html.escape("\n".join(code)) + "</pre>")
                code = None
            else:
                code.append(line)
            continue
        if line.startswith("```"):
            flush()
            code = []
        elif line.startswith("### "):
            flush()
            body.append("<h2>" + inline(line[4:]) + "</h2>")
        elif re.match(r"^\s*[-*] ", line):
            if para:
                flush()
            items.append(re.sub(r"^\s*[-*] ", "", line))
        elif not line.strip():
            flush()
        elif items and line.startswith("  "):
            items[-1] += " " + line.strip()
        else:
            para.append(line.strip())
    flush()
    return "\n".join(body)


def main():
    readme, output = sys.argv[1], sys.argv[2]
    with open(readme, encoding="utf-8") as f:
        lines = section(f.read(), "Use it")
    if not lines:
        sys.exit("make-help-page: no '## Use it' section in " + readme)
    page = (
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n"
        "<title>Orbisk</title>\n"
        "<style>body{font-family:sans-serif;max-width:46em;margin:2em auto;line-height:1.5}"
        "code,pre{background:#f2f2f2}</style>\n</head><body>\n"
        "<h1>Orbisk</h1>\n" + render(lines) + "\n</body></html>\n"
    )
    with open(output, "w", encoding="utf-8") as f:
        f.write(page)


main()
