#!/usr/bin/env python3
"""Captures the accessibility tree Chromium builds for every example page, as its
Windows code would serve it through IAccessible, into tests/browser/data/ax/.

Headless Chromium is driven over the DevTools protocol through --remote-debugging-pipe
(the browser reads fd 3 and writes fd 4, NUL-separated JSON). Every request the page
makes is answered here: the site map's addresses with their files, anything else with
an error, so nothing reaches the network and each page keeps its real address.

Each tree file: a first line "#url<TAB>ADDRESS", then one line per node in tree order:
depth, MSAA role (hex), MSAA state (hex), name, value, Chromium's role; fields escaped
as in the link tables (\\\\ \\t \\n \\r).

The pages: those of examples/*/site.map and tests/browser/data/ax-site/site.map.
Usage: capture_ax_trees.py [CHROMIUM] (from the repository's root)
"""
import base64
import json
import os
import pathlib
import select
import shutil
import subprocess
import sys
import tempfile

# MSAA roles (oleacc.h).
TITLEBAR, MENUBAR, SCROLLBAR, ALERT, CLIENT, DIALOG = 0x01, 0x02, 0x03, 0x08, 0x0A, 0x12
GROUPING, SEPARATOR, TOOLBAR, STATUSBAR, TABLE = 0x14, 0x15, 0x16, 0x17, 0x18
COLUMNHEADER, ROWHEADER, ROW, CELL, LINK = 0x19, 0x1A, 0x1C, 0x1D, 0x1E
LIST, LISTITEM, OUTLINE, OUTLINEITEM, PAGETAB = 0x21, 0x22, 0x23, 0x24, 0x25
PROPERTYPAGE, GRAPHIC, STATICTEXT, TEXT, PUSHBUTTON = 0x26, 0x28, 0x29, 0x2A, 0x2B
CHECKBUTTON, RADIOBUTTON, COMBOBOX, PROGRESSBAR = 0x2C, 0x2D, 0x2E, 0x30
PAGETABLIST, BUTTONMENU, WHITESPACE, PANE = 0x3C, 0x39, 0x3B, 0x10
DOCUMENT, MENUPOPUP, MENUITEM, EQUATION, SLIDER = 0x0F, 0x0B, 0x0C, 0x37, 0x33

# Chromium's role (as the DevTools protocol names it) to the MSAA role its Windows code
# serves: AXPlatformNodeWin::MSAARole() in ui/accessibility/platform/ax_platform_node_win.cc.
ROLES = {
    "RootWebArea": DOCUMENT, "WebArea": DOCUMENT, "Iframe": DOCUMENT, "article": DOCUMENT,
    "link": LINK, "StaticText": STATICTEXT, "ListMarker": STATICTEXT, "image": GRAPHIC,
    "img": GRAPHIC, "textbox": TEXT, "searchbox": TEXT, "LabelText": TEXT, "legend": TEXT,
    "strong": TEXT, "emphasis": TEXT, "code": TEXT, "abbr": TEXT, "Abbr": TEXT, "time": TEXT,
    "pre": TEXT, "caption": TEXT, "DescriptionListDetail": TEXT, "definition": GROUPING,
    "generic": GROUPING, "paragraph": GROUPING, "heading": GROUPING, "navigation": GROUPING,
    "main": GROUPING, "banner": GROUPING, "contentinfo": GROUPING, "complementary": GROUPING,
    "header": GROUPING, "footer": GROUPING, "blockquote": GROUPING, "figure": GROUPING,
    "Figcaption": GROUPING, "form": GROUPING, "group": GROUPING, "search": GROUPING,
    "section": GROUPING, "SectionWithoutName": GROUPING, "subscript": GROUPING,
    "superscript": GROUPING, "mark": GROUPING, "rowgroup": GROUPING, "Ruby": GROUPING,
    "HeaderAsNonLandmark": GROUPING, "FooterAsNonLandmark": GROUPING, "region": PANE,
    "list": LIST, "listitem": LISTITEM, "DescriptionList": LIST, "term": LISTITEM,
    "DescriptionListTerm": LISTITEM, "LayoutTable": TABLE, "LayoutTableRow": ROW,
    "LayoutTableCell": CELL, "table": TABLE, "row": ROW, "cell": CELL, "gridcell": CELL,
    "columnheader": COLUMNHEADER, "rowheader": ROWHEADER, "button": PUSHBUTTON,
    "checkbox": CHECKBUTTON, "radio": RADIOBUTTON, "combobox": COMBOBOX,
    "ComboBoxSelect": COMBOBOX, "LineBreak": WHITESPACE, "separator": SEPARATOR,
    "toolbar": TOOLBAR, "status": STATUSBAR, "dialog": DIALOG, "alert": ALERT,
    "tablist": PAGETABLIST, "tab": PAGETAB, "tabpanel": PROPERTYPAGE, "menu": MENUPOPUP,
    "menuitem": MENUITEM, "progressbar": PROGRESSBAR, "slider": SLIDER,
}

# Chromium's Windows code hides what is below text and plain text fields (AXNode::IsLeaf
# in ui/accessibility/ax_node.cc); inline text boxes exist only for some clients.
LEAVES = {"StaticText", "LineBreak", "InlineTextBox", "textbox", "searchbox"}

# MSAA states (oleacc.h) and when Chromium sets them (AXPlatformNodeWin::MSAAState):
# read-only by default for some structure roles (ShouldHaveReadonlyStateByDefault in
# ui/accessibility/ax_role_properties.cc), focusable always for documents.
UNAVAILABLE, FOCUSED, READONLY, FOCUSABLE, LINKED = 0x1, 0x4, 0x40, 0x100000, 0x400000
READONLY_BY_DEFAULT = {"article", "definition", "DescriptionList", "DescriptionListTerm",
                       "term", "RootWebArea", "WebArea", "image", "img", "list",
                       "listitem", "progressbar", "timer", "toolbar", "tooltip"}


def escape(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
            .replace("\r", "\\r"))


def prop(node, name):
    for p in node.get("properties", []):
        if p["name"] == name:
            return p["value"].get("value")
    return None


def msaa_state(node, role):
    state = 0
    if prop(node, "focusable") or role in ("RootWebArea", "WebArea"):
        state |= FOCUSABLE
    if prop(node, "focused"):
        state |= FOCUSED
    if prop(node, "disabled"):
        state |= UNAVAILABLE
    if prop(node, "readonly") or (role in READONLY_BY_DEFAULT and not prop(node, "editable")):
        state |= READONLY
    if role == "link":
        state |= LINKED
    return state


class Browser:
    def __init__(self, chromium, profile):
        to_browser = os.pipe()
        from_browser = os.pipe()
        self.proc = subprocess.Popen(
            [chromium, "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--remote-debugging-pipe", "--user-data-dir=" + profile,
             "--host-resolver-rules=MAP * ~NOTFOUND",
             # Addresses under real top-level domains would first be tried over https.
             "--disable-features=HttpsUpgrades,HttpsFirstBalancedModeAutoEnable",
             "about:blank"],
            pass_fds=(3, 4, to_browser[0], from_browser[1]),
            preexec_fn=lambda: self.give_pipes(to_browser[0], from_browser[1]),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser[0])
        os.close(from_browser[1])
        self.out = os.fdopen(to_browser[1], "wb")
        self.inp = os.fdopen(from_browser[0], "rb")
        self.next_id = 0
        self.pending = b""
        self.events = []

    @staticmethod
    def give_pipes(reading, writing):
        # Out of the way first: either end may already sit on fd 3 or 4.
        reading, writing = os.dup(reading), os.dup(writing)
        os.dup2(reading, 3)
        os.dup2(writing, 4)

    def read(self):
        while b"\0" not in self.pending:
            if not select.select([self.inp], [], [], 30)[0]:
                raise RuntimeError("chromium did not answer within 30 s")
            chunk = os.read(self.inp.fileno(), 1 << 16)
            if not chunk:
                raise RuntimeError("chromium closed the pipe")
            self.pending += chunk
        message, self.pending = self.pending.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, params=None, session=None):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        self.out.write(json.dumps(message).encode() + b"\0")
        self.out.flush()
        return self.next_id

    # Events that arrive while a call waits are kept for next_event.
    def call(self, method, params=None, session=None):
        call_id = self.send(method, params, session)
        while True:
            reply = self.read()
            if "method" in reply:
                self.events.append(reply)
            elif reply.get("id") == call_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply["result"]

    def next_event(self):
        return self.events.pop(0) if self.events else self.read()

    def close(self):
        try:
            self.call("Browser.close")
        except RuntimeError:
            pass
        self.proc.wait(timeout=30)


def tree_lines(nodes, address, frames=()):
    """frames: (address, nodes) of the page's frames in document order, shown below
    their Iframe nodes as Chromium does."""
    frames = list(frames)
    by_id = {n["nodeId"]: n for frame in [nodes] + [f[1] for f in frames] for n in frame}
    root = next(n for n in nodes if n.get("role", {}).get("value") == "RootWebArea")
    if "blocked" in json.dumps(nodes[:40]) and "ERR_BLOCKED_BY_CLIENT" in json.dumps(nodes):
        raise RuntimeError(address + ": Chromium showed its error page, not the file")
    lines = ["#url\t" + escape(address)]
    unknown = set()

    def shown_children(node):
        for child_id in node.get("childIds", []):
            child = by_id.get(child_id)
            if child is None:
                continue
            if child.get("ignored"):
                yield from shown_children(child)  # its children take its place
            else:
                yield child

    def visit(node, depth):
        role = node.get("role", {}).get("value", "")
        if role == "InlineTextBox":
            return
        if role not in ROLES:
            unknown.add(role)
        msaa = ROLES.get(role, GROUPING)
        name = node.get("name", {}).get("value", "") or ""
        value = node.get("value", {}).get("value", "") or ""
        if role == "link":
            value = prop(node, "url") or ""
        elif role == "RootWebArea":
            value = node.get("_address", address)
        lines.append(f"{depth}\t0x{msaa:x}\t0x{msaa_state(node, role):x}\t{escape(str(name))}"
                     f"\t{escape(str(value))}\t{role}")
        if role in LEAVES:
            return
        if role == "Iframe" and frames:
            frame_address, frame_nodes = frames.pop(0)
            frame_root = next(n for n in frame_nodes if n.get("role", {}).get("value") == "RootWebArea")
            frame_root["_address"] = frame_address
            visit(frame_root, depth + 1)
        for child in shown_children(node):
            visit(child, depth + 1)

    visit(root, 0)
    if unknown:
        raise RuntimeError("roles without a mapping: " + ", ".join(sorted(unknown)))
    return lines


def capture(browser, session, address, files):
    browser.send("Page.navigate", {"url": address}, session)
    while True:
        event = browser.next_event()
        method = event.get("method")
        params = event.get("params", {})
        if method == "Page.loadEventFired":
            tree = browser.call("Page.getFrameTree", {}, session)["frameTree"]
            frames = [(child["frame"]["url"],
                       browser.call("Accessibility.getFullAXTree",
                                    {"frameId": child["frame"]["id"]}, session)["nodes"])
                      for child in tree.get("childFrames", [])]
            return browser.call("Accessibility.getFullAXTree", {}, session)["nodes"], frames
        if method != "Fetch.requestPaused":
            continue
        url = params["request"]["url"].split("#")[0]
        if url in files:
            body = base64.b64encode(files[url].read_bytes()).decode()
            browser.send("Fetch.fulfillRequest", {
                "requestId": params["requestId"], "responseCode": 200, "body": body,
                "responseHeaders": [{"name": "Content-Type",
                                     "value": "text/html; charset=utf-8"}]}, session)
        else:
            browser.send("Fetch.failRequest", {"requestId": params["requestId"],
                                               "errorReason": "BlockedByClient"}, session)


def site_pages(root):
    maps = sorted(root.glob("examples/*/site.map")) + [root / "tests/browser/data/ax-site/site.map"]
    for site_map in maps:
        for line in site_map.read_text(encoding="utf-8").splitlines():
            if line.strip() and not line.startswith("#"):
                address, file = line.split()
                yield site_map.parent, address, site_map.parent / file


# A long page of the shape real ones have, for the benchmark: a list of results inside
# <article>, each an item with its link and a line of text, and the pager last, its
# "下一页" inside <strong>.
BENCH_ADDRESS = "http://bench.example.cn/list.html"
BENCH_LINKS = 1200


def bench_page(directory):
    items = "\n".join(
        f'<li><a href="/item/{i}.html">条目 {i}</a><p>第 {i} 条的摘要，<em>共 {BENCH_LINKS} 条</em>。</p></li>'
        for i in range(1, BENCH_LINKS))
    html = (f'<!DOCTYPE html><html lang="zh-CN"><head><meta charset="utf-8"><title>列表</title></head>'
            f'<body><article><h1>列表</h1><ol>{items}</ol>'
            f'<p><strong>1</strong> <strong><a href="/list-2.html">下一页</a></strong></p>'
            f'</article></body></html>')
    page = pathlib.Path(directory) / f"list-{BENCH_LINKS}.html"
    page.write_text(html, encoding="utf-8")
    return page


def main():
    chromium = sys.argv[1] if len(sys.argv) > 1 else shutil.which("chromium")
    root = pathlib.Path.cwd()
    profile = tempfile.mkdtemp(prefix="paginor-ax-")
    pages = list(site_pages(root))
    pages.append((pathlib.Path("bench"), BENCH_ADDRESS, bench_page(profile)))
    files = {address: file for _, address, file in pages}
    browser = Browser(chromium, profile)
    try:
        target = browser.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = browser.call("Target.attachToTarget",
                               {"targetId": target, "flatten": True})["sessionId"]
        for method in ("Page.enable", "Accessibility.enable"):
            browser.call(method, {}, session)
        browser.call("Fetch.enable", {"patterns": [{"urlPattern": "*"}]}, session)
        for site, address, file in pages:
            nodes, frames = capture(browser, session, address, files)
            out = root / "tests/browser/data/ax" / site.name / (file.stem + ".tsv")
            out.parent.mkdir(parents=True, exist_ok=True)
            out.write_text("\n".join(tree_lines(nodes, address, frames)) + "\n", encoding="utf-8")
            print(f"{out.relative_to(root)}: {len(nodes)} nodes from {address}")
    finally:
        browser.close()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    main()
