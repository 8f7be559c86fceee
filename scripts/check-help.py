#!/usr/bin/env python3
"""Checks that the help pages, the popup texts, the topic table and the Qt Help
project agree with one another.

    scripts/check-help.py [help-folder]

Checks: every link and every table row lands on a page and anchor that exist;
every F1 topic is 393216 plus its internal number, unique, and present in
Zorvath.qhp with the same page and anchor; every popup topic of the table is in
its popup page; the project lists exactly the files of the folder; pages carry
no scripts. Prints each problem and exits with 1 when there is one.
"""

import csv
import html.parser
import os
import re
import sys
import xml.etree.ElementTree as ElementTree

F1_BASE = 393216


class PageParser(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.anchors = set()
        self.links = []
        self.scripts = 0

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        for key in ("id", "name"):
            if tag in ("a",) or key == "id":
                if attributes.get(key):
                    self.anchors.add(attributes[key])
        if tag == "a" and attributes.get("href"):
            self.links.append(attributes["href"])
        if tag == "link" and attributes.get("href"):
            self.links.append(attributes["href"])
        if tag == "script" or any(k.startswith("on") for k in attributes):
            self.scripts += 1


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "help")
    folder = os.path.normpath(folder)
    problems = []

    pages = {}
    for name in sorted(os.listdir(folder)):
        if name.endswith(".html"):
            parser = PageParser()
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                parser.feed(f.read())
            pages[name] = parser
            if parser.scripts:
                problems.append(f"{name}: scripts or event handlers are not allowed")
            if "top" not in parser.anchors:
                problems.append(f"{name}: no 'top' anchor")

    def resolves(ref, source):
        if re.match(r"^[a-z]+:", ref):
            return True  # an outside address
        page, _, anchor = ref.partition("#")
        page = page or source
        if page.endswith(".css"):
            return os.path.exists(os.path.join(folder, page))
        if page not in pages:
            return False
        return not anchor or anchor in pages[page].anchors

    for name, parser in pages.items():
        for ref in parser.links:
            if not resolves(ref, name):
                problems.append(f"{name}: link {ref} goes nowhere")

    popup_dir = os.path.join(folder, "popups")
    popups = {}
    for name in sorted(os.listdir(popup_dir)):
        topics = {}
        current = None
        with open(os.path.join(popup_dir, name), encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                match = re.match(r"^\.topic (\d+)\s*$", line)
                if match:
                    current = int(match.group(1))
                    if current in topics:
                        problems.append(f"popups/{name}:{number}: topic {current} twice")
                    topics[current] = ""
                elif line.strip():
                    if current is None:
                        problems.append(f"popups/{name}:{number}: text before the first topic")
                    else:
                        topics[current] += line.strip() + " "
        for topic, text in topics.items():
            if not text.strip():
                problems.append(f"popups/{name}: topic {topic} has no text")
        popups[name] = topics

    rows = []
    with open(os.path.join(folder, "topics.tsv"), encoding="utf-8", newline="") as f:
        reader = csv.DictReader(f, delimiter="\t")
        expected = ["dialog_class", "control", "object_name", "internal_number", "f1_topic",
                    "popup_page", "popup_topic", "html_page", "anchor"]
        if reader.fieldnames != expected:
            problems.append(f"topics.tsv: columns {reader.fieldnames}, expected {expected}")
        rows = list(reader)

    seen_numbers = {}
    popup_users = {}
    used_topics = set()
    for line, row in enumerate(rows, 2):
        where = f"topics.tsv:{line}"
        number, f1 = int(row["internal_number"]), int(row["f1_topic"])
        if f1 != F1_BASE + number:
            problems.append(f"{where}: F1 topic {f1} is not {F1_BASE} + {number}")
        if number in seen_numbers:
            problems.append(f"{where}: internal number {number} also at line {seen_numbers[number]}")
        seen_numbers[number] = line
        is_dialog = row["control"].startswith("(dialog")
        if is_dialog == bool(row["object_name"]):
            problems.append(f"{where}: a control needs the objectName the program finds it by, "
                            "the dialog's own row none")
        if not resolves(f"{row['html_page']}#{row['anchor']}", row["html_page"]):
            problems.append(f"{where}: {row['html_page']}#{row['anchor']} does not exist")
        page = row["popup_page"]
        if page and page not in popups:
            problems.append(f"{where}: popup page {page} does not exist")
        if row["popup_topic"]:
            topic = int(row["popup_topic"])
            if topic not in popups.get(page, {}):
                problems.append(f"{where}: topic {topic} missing from popups/{page}")
            used_topics.add((page, topic))
            popup_users.setdefault((page, topic), []).append(
                (row["dialog_class"], row["control"]))

    for page, topics in popups.items():
        for topic in topics:
            if (page, topic) not in used_topics:
                print(f"note: popups/{page} topic {topic} is used by no control in topics.tsv")
    for (page, topic), users in sorted(popup_users.items()):
        labels = {control for _, control in users}
        if len(labels) > 1:
            print(f"note: popups/{page} topic {topic} is shared by different controls: "
                  + "; ".join(f"{d} {c}" for d, c in users))

    project = ElementTree.parse(os.path.join(folder, "Zorvath.qhp")).getroot()
    keywords = {}
    for keyword in project.iter("keyword"):
        ref = keyword.get("ref", "")
        if not resolves(ref, ""):
            problems.append(f"Zorvath.qhp: keyword {keyword.get('name')} goes to {ref}, which does not exist")
        if keyword.get("id"):
            if keyword.get("id") in keywords:
                problems.append(f"Zorvath.qhp: identifier {keyword.get('id')} twice")
            keywords[keyword.get("id")] = ref
    for section in project.iter("section"):
        if not resolves(section.get("ref", ""), ""):
            problems.append(f"Zorvath.qhp: contents entry {section.get('title')} goes nowhere")
    for row in rows:
        ref = row["html_page"] + ("" if row["anchor"] == "top" else "#" + row["anchor"])
        if keywords.get(row["f1_topic"]) != ref:
            problems.append(f"Zorvath.qhp: identifier {row['f1_topic']} should go to {ref}, "
                            f"goes to {keywords.get(row['f1_topic'])}")
    f1_ids = {row["f1_topic"] for row in rows}
    for identifier in keywords:
        if identifier not in f1_ids:
            problems.append(f"Zorvath.qhp: identifier {identifier} is not in topics.tsv")

    listed = {element.text for element in project.iter("file")}
    present = {name for name in os.listdir(folder) if name.endswith((".html", ".css"))}
    present |= {"popups/" + name for name in popups}
    for name in sorted(present - listed):
        problems.append(f"Zorvath.qhp: {name} is not listed in <files>")
    for name in sorted(listed - present):
        problems.append(f"Zorvath.qhp: {name} is listed but does not exist")

    for problem in problems:
        print(problem)
    print(f"{len(pages)} pages, {len(popups)} popup pages, {len(rows)} topics: "
          f"{len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
