#!/usr/bin/env python3
"""Writes src/core/text/html_entity_table.inc: every named character reference of HTML5 (the
forms with a semicolon), as the WHATWG list gives them, from Python's own copy of that list
(html.entities.html5), sorted by name in byte order for the lookup's binary search."""
import html.entities
import pathlib

table = sorted((name[:-1], text) for name, text in html.entities.html5.items() if name.endswith(";"))
lines = ["// Made by tools/make-html-entities.py from the WHATWG list of named character references;",
         "// make it again rather than edit it."]
for name, text in table:
    utf8 = "".join("\\x%02X" % b for b in text.encode("utf-8"))
    lines.append('{"%s", "%s"},' % (name, utf8))
out = pathlib.Path(__file__).resolve().parent.parent / "src/core/text/html_entity_table.inc"
out.write_text("\n".join(lines) + "\n")
