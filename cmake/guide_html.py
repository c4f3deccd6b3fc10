#!/usr/bin/env python3
"""Turns a user guide written in Markdown (docs/guide.*.md) into one HTML page for the
package, so that a double click opens it in any browser. Knows the Markdown the guides
use: headings, paragraphs, lists, tables, code blocks, `code`, **bold** and links.

    guide_html.py GUIDE.md OUT.html
"""
import html
import re
import sys

STYLE = ("body{font-family:'Microsoft YaHei','SimSun',sans-serif;max-width:50em;margin:2em auto;"
         "padding:0 1em;line-height:1.6}code,pre{background:#f3f3f3;font-family:Consolas,monospace}"
         "pre{padding:.6em;overflow:auto}table{border-collapse:collapse}"
         "td,th{border:1px solid #bbb;padding:.2em .6em}")


def inline(text):
    parts = re.split(r"(`[^`]*`)", text)
    out = []
    for part in parts:
        if part.startswith("`") and part.endswith("`") and len(part) > 1:
            out.append("<code>" + html.escape(part[1:-1]) + "</code>")
            continue
        part = html.escape(part, quote=False)
        part = re.sub(r"\*\*(.+?)\*\*", r"<b>\1</b>", part)
        # Links between the guides point at their pages in the package.
        part = re.sub(r"\[([^\]]+)\]\(guide\.(\w+)\.md\)",
                      lambda m: '<a href="%s">%s</a>' % (
                          "guide.html" if m.group(2) == "zh" else "guide-%s.html" % m.group(2), m.group(1)),
                      part)
        part = re.sub(r"\[([^\]]+)\]\(([^)]+)\)", r'<a href="\2">\1</a>', part)
        out.append(part)
    return "".join(out)


def convert(lines):
    out, para, i = [], [], 0

    def flush():
        if para:
            out.append("<p>" + inline(" ".join(para)) + "</p>")
            para.clear()

    while i < len(lines):
        line = lines[i].rstrip("\n")
        if line.startswith("```"):
            flush()
            block = []
            i += 1
            while i < len(lines) and not lines[i].startswith("```"):
                block.append(html.escape(lines[i].rstrip("\n")))
                i += 1
            out.append("<pre>" + "\n".join(block) + "</pre>")
        elif m := re.match(r"(#{1,4}) (.*)", line):
            flush()
            n = len(m.group(1))
            out.append("<h%d>%s</h%d>" % (n, inline(m.group(2)), n))
        elif line.startswith("|"):
            flush()
            rows = []
            while i < len(lines) and lines[i].startswith("|"):
                cells = [c.strip() for c in lines[i].strip().strip("|").split("|")]
                if not all(re.fullmatch(r":?-+:?", c) for c in cells):
                    rows.append(cells)
                i += 1
            i -= 1
            tag = "th"
            out.append("<table>")
            for row in rows:
                out.append("<tr>" + "".join("<%s>%s</%s>" % (tag, inline(c), tag) for c in row) + "</tr>")
                tag = "td"
            out.append("</table>")
        elif m := re.match(r"\s*([-*]|\d+\.) (.*)", line):
            flush()
            kind = "ol" if m.group(1)[0].isdigit() else "ul"
            out.append("<%s>" % kind)
            while i < len(lines) and (m := re.match(r"\s*([-*]|\d+\.) (.*)", lines[i])):
                item = [m.group(2)]
                while i + 1 < len(lines) and re.match(r"\s{2,}\S", lines[i + 1]) \
                        and not re.match(r"\s*([-*]|\d+\.) ", lines[i + 1]):
                    i += 1
                    item.append(lines[i].strip())
                out.append("<li>" + inline(" ".join(item)) + "</li>")
                i += 1
            i -= 1
            out.append("</%s>" % kind)
        elif line.startswith("<!--"):
            flush()
            out.append(line)  # a note to the guide's writers, kept out of sight
        elif not line.strip():
            flush()
        else:
            para.append(line.strip())
        i += 1
    flush()
    return out


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        lines = f.readlines()
    title = next((l[2:].strip() for l in lines if l.startswith("# ")), "Paginor")
    body = "\n".join(convert(lines))
    with open(target, "w", encoding="utf-8", newline="\r\n") as f:
        f.write('<!DOCTYPE html>\n<html><head><meta charset="utf-8"><title>%s</title><style>%s</style>'
                "</head><body>\n%s\n</body></html>\n" % (html.escape(title), STYLE, body))


if __name__ == "__main__":
    main()
