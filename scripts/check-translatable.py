#!/usr/bin/env python3
"""Fails when a text the user reads is not passed through Qt's translation
functions, or when lupdate cannot read the code's translation calls.

A text counts as one the user reads when it is a QStringLiteral of words in
the program's code (not the tests, benchmarks or simulated devices). Kept
literal on purpose: the contents of the files Harvane writes and the lines
harvane-cli prints for scripts (other tools read them), file and folder names,
object names, fonts, HTML markup and option value names.

    scripts/check-translatable.py [--lupdate PATH]
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ['app', 'base', 'cli', 'data', 'link', 'logger', 'widgets']
# Files whose texts are the contents of reports and logs.
FILE_FORMATS = {'logger/StatusReport.cpp', 'base/BaseReport.cpp', 'logger/SurveillanceReader.cpp'}
S = r'"(?:[^"\\\n]|\\.)*"'
LITERAL = re.compile(r'QStringLiteral\((\s*' + S + r'(?:\s*' + S + r')*\s*)\)')
KEPT = {'BT', 'HB', 'LG', 'MS', 'Start Log:', 'Stop Log:', 'Start of Log:', 'DejaVu Sans', 'Arial',
        'Harvane', 'InVicinityLog', 'ImplantLog', 'Wed 30 Sep', 'Sep 2024', 'Logger%1', 'DIR',
        'PORT', 'DEVICE', 'CELSIUS', 'DATE', 'HOURS', 'WxH', '[file]', 'N', 'FILE', 'S', 'LIST'}
KEPT_PREFIXES = ('<', ';', '/', 'Recent File', 'ImpID', '_ImpID', 'implant %1', 'FW revision: %1',
                 'HW revision: %1', 'harvane-cli ')
NOT_SHOWN_CONTEXT = re.compile(
    r'(setObjectName|objectName|findChild|setProperty|property|QStandardPaths|QSettings|value|'
    r'setValue|mkpath|filePath|QFile|QDir|startsWith|endsWith|contains|isSet|lookup|fromString|'
    r'toString|toUtf8|setFamily|QFont)\s*\(\s*$')


def shown(parts, before):
    text = ''.join(p[1:-1] for p in parts)
    if not re.search(r'[A-Za-z]{2}', text) or text in KEPT or text.startswith(KEPT_PREFIXES):
        return False
    if re.search(r'\.(bin|txt|csv|png|qch|qhc|html|qm|log|desktop)\b', text) and ' ' not in text:
        return False
    if re.fullmatch(r'[a-z0-9_:\-./%]+', text):
        return False
    # Identifiers (QSQLITE, defaultHomepage) and file patterns (*.qhp).
    if re.fullmatch(r'[A-Z0-9_]+|[a-z]+(?:[A-Z][a-z0-9]*)+', text) or text.startswith('*'):
        return False
    if re.search(r'\b(yyyy|yy|MM|dd|HH|hh|mm|ss)\b', text) and len(text) < 24:
        return False
    return not NOT_SHOWN_CONTEXT.search(before)


def untranslated():
    found = []
    for folder in FOLDERS:
        for base, _, names in os.walk(os.path.join(ROOT, folder)):
            for name in sorted(names):
                if not name.endswith('.cpp'):
                    continue
                path = os.path.relpath(os.path.join(base, name), ROOT)
                if path in FILE_FORMATS:
                    continue
                source = open(os.path.join(ROOT, path), encoding='utf-8').read()
                for m in LITERAL.finditer(source):
                    before = source[source.rfind('\n', 0, m.start()) + 1:m.start()]
                    parts = re.findall(S, m.group(1))
                    if shown(parts, before):
                        line = source.count('\n', 0, m.start()) + 1
                        found.append(f'{path}:{line}: {"".join(parts)[:90]}')
    return found


def lupdate_complaints(lupdate):
    with tempfile.TemporaryDirectory() as tmp:
        ts = os.path.join(tmp, 'harvane.ts')
        run = subprocess.run([lupdate, '-I', ROOT, *FOLDERS, '-ts', ts], cwd=ROOT,
                             capture_output=True, text=True)
        lines = (run.stdout + run.stderr).splitlines()
        complaints = [l for l in lines if re.search(r'\.(cpp|h):\d+:', l)]
        if run.returncode != 0:
            complaints.append(f'lupdate ended with status {run.returncode}')
        messages = open(ts, encoding='utf-8').read().count('<message') if os.path.exists(ts) else 0
        return complaints, messages


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--lupdate')
    args = parser.parse_args()
    problems = untranslated()
    for p in problems:
        print(f'not translatable: {p}')
    messages = None
    if args.lupdate:
        complaints, messages = lupdate_complaints(args.lupdate)
        for c in complaints:
            print(f'lupdate: {c}')
        problems += complaints
        if messages == 0:
            problems.append('lupdate found no texts')
            print('lupdate found no texts')
    if problems:
        return 1
    print('translatable texts: all shown texts go through the translation functions'
          + (f'; lupdate reads {messages} of them' if messages is not None else ''))
    return 0


if __name__ == '__main__':
    sys.exit(main())
