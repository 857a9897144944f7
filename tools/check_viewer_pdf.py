#!/usr/bin/env python3
"""Checks that a PDF of VIEWQEX2 shows every field value of its reports.

  check_viewer_pdf.py FOLDER PDF

FOLDER holds the page files (*.PDT) the PDF was made from (VIEWQEX2 --pdf
in FOLDER). The PDF's pages are split into reports where a page footer
starts again at "1 / N 頁"; the k-th report is the k-th page file in the
viewer's order. Each field value of a page file (raised marks "$U..$Z" as
superscripts, blanks ignored) must appear in the text of its report's pages
(pdftotext -layout, so that a row stays one line); no form file name (*.PFM)
may appear. Prints each miss; exit 1 on any.
"""
import os
import re
import subprocess
import sys

RAISED = dict(zip("0123456789+-()", "⁰¹²³⁴⁵⁶⁷⁸⁹⁺⁻⁽⁾"))


def shown(value):
    def up(m):
        run = m.group(1)
        if all(c in RAISED for c in run):
            return "".join(RAISED[c] for c in run)
        return m.group(0)
    return re.sub(r"\$U(.*?)\$Z", up, value)


def squeeze(text):
    return re.sub(r"\s+", "", text)


def order_key(name):
    if name == "TK_DATA.PDT":
        return (0, 0)
    m = re.fullmatch(r"TK_DT_(\d+)\.PDT", name)
    if m:
        return (1, int(m.group(1)))
    m = re.fullmatch(r"TL_PRD(\d+)\.PDT", name)
    if m:
        return (2, int(m.group(1)))
    return None


def fields(path):
    with open(path, encoding="cp932") as f:
        lines = f.read().splitlines()
    out = []
    for line in lines[2:]:
        if re.match(r"\d\d  ", line):
            out.append(line[4:])
    return out


def main():
    folder, pdf = sys.argv[1], sys.argv[2]
    names = sorted((n for n in os.listdir(folder) if order_key(n)), key=order_key)
    text = subprocess.run(["pdftotext", "-layout", "-enc", "UTF-8", pdf, "-"], check=True,
                          capture_output=True, text=True).stdout
    pages = text.split("\f")
    if pages and not pages[-1].strip():
        pages.pop()
    reports = []
    for page in pages:
        if re.search(r"(^|\s)1 / \d+ 頁", page) or not reports:
            reports.append([])
        reports[-1].append(page)
    misses = 0
    if len(reports) != len(names):
        print(f"{len(reports)} reports in the PDF, {len(names)} page files")
        misses += 1
    for name, report in zip(names, reports):
        body = squeeze("".join(report))
        for value in fields(os.path.join(folder, name)):
            want = squeeze(shown(value))
            if not want:
                continue
            if want not in body:
                print(f"{name}: {value!r} not on its pages")
                misses += 1
        if ".PFM" in body:
            print(f"{name}: a form file name is shown")
            misses += 1
    fieldcount = sum(len(fields(os.path.join(folder, n))) for n in names)
    print(f"{len(names)} reports, {len(pages)} pages, {fieldcount} fields, {misses} misses")
    return 1 if misses else 0


if __name__ == "__main__":
    sys.exit(main())
