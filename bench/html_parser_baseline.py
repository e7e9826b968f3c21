#!/usr/bin/env python3
"""Parses a Netscape bookmark file with html.parser into the same folder/link tree as the
program's reader and prints the throughput, for comparison with the ParseBookmarkFile benchmark.
Usage: html_parser_baseline.py FILE [RUNS]"""
import sys
import time
from html.parser import HTMLParser


class BookmarkTree(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=False)
        self.root = {"name": "", "children": []}
        self.stack = [self.root]
        self.pending = None
        self.text = None

    def handle_starttag(self, tag, attrs):
        if tag == "h3":
            self.pending = {"name": "", "children": []}
            self.text = []
        elif tag == "a":
            self.pending = {"name": "", "url": dict(attrs).get("href", "")}
            self.text = []
        elif tag == "dl" and self.stack[-1]["children"] and "children" in self.stack[-1]["children"][-1]:
            self.stack.append(self.stack[-1]["children"][-1])

    def handle_endtag(self, tag):
        if tag in ("h3", "a") and self.pending is not None:
            self.pending["name"] = "".join(self.text)
            self.stack[-1]["children"].append(self.pending)
            self.pending = self.text = None
        elif tag == "dl" and len(self.stack) > 1:
            self.stack.pop()

    def handle_data(self, data):
        if self.text is not None:
            self.text.append(data)


def main():
    path = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    data = open(path, "rb").read().decode("cp1252", errors="replace")
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        parser = BookmarkTree()
        parser.feed(data)
        parser.close()
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    links = sum(len(f.get("children", [])) for f in parser.root["children"])
    print(f"html.parser: {len(data) / 1e6:.1f} MB in {best * 1000:.0f} ms = {len(data) / 1e6 / best:.1f} MB/s "
          f"({len(parser.root['children'])} folders, {links} links)")


if __name__ == "__main__":
    main()
