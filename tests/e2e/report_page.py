#!/usr/bin/env python3
"""Checks a printed report page: what pdfinfo, pdftotext and pdftoppm make of it.

  report_page.py check PAGE.pdf PNG-OUT [--not-before EPOCH --not-after EPOCH] [--strict]
      one A4 page; the texts of 15.3.1980 and March 2000, the four chart titles and a stamp in
      the Russian short date and long time (within the given seconds); each text where the band
      puts it (within 1 mm); the header and footer backgrounds and the four charts in their
      rectangles, nothing drawn elsewhere. Writes the page as PNG-OUT (100 dpi). --strict, for
      the page as the program wrote it (not re-made by a print service): each text's top at its
      label's top.
  report_page.py same A.pdf B.pdf
      the two pages are the same but for the stamp: words and places, and pixels outside the
      stamp's label.
Prints one line per failed check and exits 1 if any failed.
"""
import datetime
import html
import locale
import os
import re
import subprocess
import sys

MM = 72 / 25.4  # points per millimetre
DPI = 100
MARGIN = 20.0  # the page's margins, mm; the band starts there

# Band coordinates in mm (left, top, width, height), as the report's design has them.
HEADER = (2.12, 2.12, 167.48, 38.36)
FOOTER = (2.12, 242.36, 167.48, 7.67)
CHARTS = [
    ("Физический цикл", (2.12, 48.68, 167.48, 29.90)),
    ("Эмоциональный цикл", (2.12, 84.67, 167.48, 29.90)),
    ("Интеллектуальный цикл", (2.12, 120.65, 167.48, 29.90)),
    ("Суммирующий график", (2.12, 156.63, 167.48, 45.77)),
]
STAMP = (4.23, 244.47, 25.66, 4.23)
# Each label's first word and where the label's top left corner lies.
LABELS = [
    ("Zorvane", 16.93, 6.35, 11.11),
    ("Дата рождения: 15.3.1980", 82.55, 6.35, 4.23),
    ("Расчетный период: Март 2000 г.", 82.55, 12.70, 4.23),
    ("Неблагоприятные дни: 1 3 4 13 18 20 24", 82.55, 19.05, 4.23),
    ("Опасные дни: нет.", 82.55, 25.40, 4.23),
    ("Особо опасные дни: нет.", 82.55, 31.75, 4.23),
]
CREDIT = (91.28, 244.47, 75.67, 4.23)


def stamp_moment(text):
    """The moment a stamp names, read in the program's locale (ZORVANE_E2E_LANG, Russian unless
    set): its short date and long time; None when it is not one."""
    locale.setlocale(locale.LC_TIME, os.environ.get("ZORVANE_E2E_LANG") or "ru_RU.UTF-8")
    try:
        return datetime.datetime.strptime(text, "%x %X").timestamp()
    except ValueError:
        return None

failures = []
strict = False  # the page as the program wrote it: text tops at their labels' tops


def fail(text):
    failures.append(text)
    print("FAILED: " + text)


def run(*args):
    return subprocess.run(args, check=True, capture_output=True).stdout


def words(pdf):
    """(text, xMin, yMin, xMax, yMax) in mm, in reading order."""
    out = run("pdftotext", "-bbox", pdf, "-").decode()
    found = []
    for m in re.finditer(
        r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>', out
    ):
        x0, y0, x1, y1 = (float(m.group(i)) / MM for i in range(1, 5))
        found.append((html.unescape(m.group(5)), x0, y0, x1, y1))
    return found


def lines(found):
    """Words side by side on one line joined into (text, xMin, yMin, xMax, yMax) runs, left to
    right. A print service may re-embed the fonts in subsets whose boxes differ (digits apart
    from letters), so words belong together when their vertical middles are close."""
    runs = []
    for w in sorted(found, key=lambda w: w[1]):
        middle = (w[2] + w[4]) / 2
        for i, r in enumerate(runs):
            if abs((r[2] + r[4]) / 2 - middle) < 1.5 and 0 <= w[1] - r[3] < 3:
                runs[i] = (r[0] + " " + w[0], r[1], min(r[2], w[2]), w[3], max(r[4], w[4]))
                break
        else:
            runs.append(w)
    return runs


def read_ppm(pdf):
    raw = run("pdftoppm", "-r", str(DPI), pdf)
    # P6 <w> <h> 255\n<rgb...>
    parts = raw.split(maxsplit=4)
    assert parts[0] == b"P6", "pdftoppm gave no PPM"
    w, h = int(parts[1]), int(parts[2])
    return w, h, parts[4][: w * h * 3]


def px(mm):
    return int(round(mm * DPI / 25.4))


def paper(rect):
    """A band rectangle in mm -> pixel box (x0, y0, x1, y1) on the page."""
    left, top, width, height = rect
    return (px(MARGIN + left), px(MARGIN + top), px(MARGIN + left + width),
            px(MARGIN + top + height))


class Page:
    def __init__(self, pdf):
        self.w, self.h, self.rgb = read_ppm(pdf)

    def at(self, x, y):
        i = (y * self.w + x) * 3
        return tuple(self.rgb[i: i + 3])

    def dark(self, box):
        """Pixels in the box that are clearly drawn (not white, not the button face)."""
        x0, y0, x1, y1 = box
        count = 0
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.rgb[(y * self.w + x0) * 3: (y * self.w + x1) * 3]
            for i in range(0, len(row), 3):
                if row[i] < 128 or row[i + 1] < 128 or row[i + 2] < 128:
                    count += 1
        return count


def in_label(name, run, label):
    """The text starts at its label's left edge and lies within its height, each within 1 mm.
    (Its top is the top of the font's box, or of the glyphs when a print service made subsets.)"""
    left, top, height = (MARGIN + label[0], MARGIN + label[1], label[2])
    _, x0, y0, _, y1 = run
    if abs(x0 - left) > 1.0 or not top - 1.0 <= y0 <= top + 1.0 + height / 2 or \
            y1 > top + height + 1.0 or (strict and abs(y0 - top) > 1.0):
        fail('"%s" at %.2f, %.2f-%.2f mm (its label: %.2f, %.2f-%.2f)' %
             (name, x0, y0, y1, left, top, top + height))


def near(a, b, tolerance):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def check(pdf, png, not_before, not_after):
    info = run("pdfinfo", pdf).decode()
    pages = re.search(r"Pages:\s+(\d+)", info)
    if not pages or pages.group(1) != "1":
        fail("one page (pdfinfo: %s)" % (pages.group(1) if pages else "none"))
    size = re.search(r"Page size:\s+([\d.]+) x ([\d.]+) pts", info)
    if not size or abs(float(size.group(1)) / MM - 210) > 1 or abs(float(size.group(2)) / MM - 297) > 1:
        fail("an A4 page (%s)" % (size.group(0) if size else "no size"))
    found = words(pdf)
    runs = lines(found)
    text = run("pdftotext", "-layout", pdf, "-").decode()

    for label, left, top, height in LABELS:
        hits = [r for r in runs if r[0] == label]
        if len(hits) != 1:
            fail('the text "%s" once (%d found)' % (label, len(hits)))
            continue
        in_label(label, hits[0], (left, top, height))
    for title, rect in CHARTS:
        hits = [r for r in runs if r[0] == title]
        if len(hits) != 1:
            fail('the chart title "%s" once (%d found)' % (title, len(hits)))
            continue
        _, x0, y0, x1, _ = hits[0]
        centre = MARGIN + rect[0] + rect[2] / 2
        if abs((x0 + x1) / 2 - centre) > 1.0:
            fail('"%s" centred on its chart (%.2f mm, the chart %.2f mm)' %
                 (title, (x0 + x1) / 2, centre))
        top = MARGIN + rect[1]
        if not top <= y0 <= top + 5:
            fail('"%s" at the top of its chart (%.2f mm, the chart from %.2f mm)' % (title, y0, top))

    # The stamp: the locale's short date and long time, when the print ran.
    stamp = [r for r in runs if near((r[1], r[2]), (MARGIN + STAMP[0], MARGIN + STAMP[1]), 2.0)]
    moment = stamp_moment(stamp[0][0]) if stamp else None
    if moment is None:
        fail("a stamp of the locale's short date and long time where its label lies (%s)"
             % (stamp[0][0] if stamp else "none"))
    else:
        in_label("the stamp", stamp[0], (STAMP[0], STAMP[1], STAMP[3]))
    if moment is not None and not_before is not None:
        if not not_before - 1 <= moment <= not_after + 1:
            fail("the stamp %s is the time of the print" % stamp[0][0])
    credit = [r for r in runs if near((r[1], r[2]), (MARGIN + CREDIT[0], MARGIN + CREDIT[1]), 2.0)]
    if len(credit) != 1:
        fail("one credit line where its label lies")
    else:
        in_label("the credit line", credit[0], (CREDIT[0], CREDIT[1], CREDIT[3]))

    page = Page(pdf)
    subprocess.run(["pdftoppm", "-r", str(DPI), "-png", "-singlefile", pdf, png[:-4]], check=True)
    face = (0xC0, 0xC0, 0xC0)
    white = (0xFF, 0xFF, 0xFF)
    inset, outset = px(1.0), px(1.0)
    for name, rect in (("header", HEADER), ("footer", FOOTER)):
        x0, y0, x1, y1 = paper(rect)
        for x, y in ((x0 + inset, y0 + inset), (x1 - inset, y0 + inset), (x0 + inset, y1 - inset),
                     (x1 - inset, y1 - inset)):
            if not near(page.at(x, y), face, 8):
                fail("the %s background at %d, %d px (%s)" % (name, x, y, page.at(x, y)))
        for x, y in ((x0 - outset, y0 - outset), (x1 + outset, y0 - outset),
                     (x0 - outset, y1 + outset), (x1 + outset, y1 + outset)):
            if page.at(x, y) != white:
                fail("white beside the %s at %d, %d px (%s)" % (name, x, y, page.at(x, y)))
    for title, rect in CHARTS:
        x0, y0, x1, y1 = paper(rect)
        width = x1 - x0
        # The curve runs across the whole plot: drawn pixels in the left and right tenths.
        for part, box in (("left", (x0, y0, x0 + width // 10, y1)),
                          ("right", (x1 - width // 10, y0, x1, y1))):
            if page.dark(box) < 20:
                fail('"%s" drawn in the %s tenth of its rectangle' % (title, part))
        if page.dark((x0, y0, x1, y1)) < width:
            fail('"%s" drawn in its rectangle' % title)
    # Nothing drawn outside the header, the charts and the footer.
    bands = [paper(HEADER)] + [paper(r) for _, r in CHARTS] + [paper(FOOTER)]
    gaps = [(0, 0, page.w, bands[0][1] - outset)]
    for upper, lower in zip(bands, bands[1:]):
        gaps.append((0, upper[3] + outset, page.w, lower[1] - outset))
    gaps.append((0, bands[-1][3] + outset, page.w, page.h))
    gaps.append((0, 0, bands[0][0] - outset, page.h))
    gaps.append((bands[0][2] + outset, 0, page.w, page.h))
    for box in gaps:
        n = page.dark(box)
        if n:
            fail("nothing drawn in %s px (%d pixels are)" % (box, n))
    return text


def same(a, b):
    wa, wb = words(a), words(b)
    stamp_box = (MARGIN + STAMP[0] - 1, MARGIN + STAMP[1] - 1, MARGIN + STAMP[0] + STAMP[2] + 10,
                 MARGIN + STAMP[1] + STAMP[3] + 1)

    def outside(w):
        return not (stamp_box[0] <= w[1] <= stamp_box[2] and stamp_box[1] <= w[2] <= stamp_box[3])

    ka = [(w[0],) + tuple(round(v, 2) for v in w[1:]) for w in wa if outside(w)]
    kb = [(w[0],) + tuple(round(v, 2) for v in w[1:]) for w in wb if outside(w)]
    if ka != kb:
        diff = [x for x in ka if x not in kb] + [x for x in kb if x not in ka]
        fail("the same words in the same places (%d differ, first %s)" % (len(diff), diff[:3]))
    if len(ka) < 60:
        fail("the page has its words (%d)" % len(ka))
    pa, pb = Page(a), Page(b)
    if (pa.w, pa.h) != (pb.w, pb.h):
        fail("the same page size")
        return
    x0, y0, x1, y1 = paper(STAMP)
    x1 += px(10)
    differ = 0
    for y in range(pa.h):
        if y0 - 2 <= y <= y1 + 2:
            row = range(0, max(0, x0 - 2)), range(x1 + 2, pa.w)
        else:
            row = (range(pa.w),)
        for r in row:
            for x in r:
                if pa.at(x, y) != pb.at(x, y):
                    differ += 1
    if differ:
        fail("the same pixels but for the stamp (%d differ)" % differ)


def main(argv):
    global strict
    if "--strict" in argv:
        strict = True
        argv = [a for a in argv if a != "--strict"]
    if len(argv) >= 3 and argv[0] == "check":
        not_before = not_after = None
        if "--not-before" in argv:
            not_before = float(argv[argv.index("--not-before") + 1])
            not_after = float(argv[argv.index("--not-after") + 1])
        check(argv[1], argv[2], not_before, not_after)
    elif len(argv) == 3 and argv[0] == "same":
        same(argv[1], argv[2])
    else:
        print(__doc__)
        return 2
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
