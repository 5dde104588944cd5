#!/usr/bin/python3
"""Reads and drives the real zorvane through AT-SPI, as a screen reader user would: the input
form's tree as (role, name), focus along the tab order, the birth date chosen with keys (the
calendar's selected cell), an error box as a modal dialog with its text, "click" on "Далее"
opening the result form, and its day lists and chart descriptions against `zorvane-cli month`.
Run by zorvane_a11y_e2e.sh with Debian's pyatspi (/usr/bin/python3).
    zorvane_a11y_check.py PID ZORVANE-CLI"""
import os
import re
import subprocess
import sys

import pyatspi

from atspi_checks import check, events, failures, on_event, states
from atspi_checks import application_of
from atspi_checks import wait_for as wait_for_within

PID = int(sys.argv[1])
CLI = sys.argv[2]
TIMEOUT = 10


def wait_for(predicate, seconds=TIMEOUT):
    return wait_for_within(predicate, seconds)


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "30", *names], check=True)


def table(node, depth=0):
    """The tree below `node` as (depth, role, name) rows, depth first."""
    rows = []
    for child in node:
        rows.append((depth, child.getRoleName(), child.name))
        if child.getRoleName() not in ("combo box", "table"):
            rows += table(child, depth + 1)
    return rows


def find(node, role, name=None):
    for child in node:
        if child.getRoleName() == role and (name is None or child.name == name):
            return child
        if child.getRoleName() not in ("combo box", "table"):
            found = find(child, role, name)
            if found is not None:
                return found
    return None


def find_all(node, role):
    found = []
    for child in node:
        if child.getRoleName() == role:
            found.append(child)
        elif child.getRoleName() not in ("combo box", "table"):
            found += find_all(child, role)
    return found


def application():
    return application_of(PID)


def focused_name():
    for kind, source, on, *_ in reversed(events):
        if kind == "object:state-changed:focused" and on == 1:
            return source.name
    return None


def text_of(node):
    return node.queryText().getText(0, -1)


def click(node):
    check(f"action of {node.name}", node.queryAction().getName(0) == "click")
    node.queryAction().doAction(0)


def check_input_tree(app, intro):
    check("application", (app.name, [(f.getRoleName(), f.name) for f in app]) ==
          ("Zorvane", [("frame", "Zorvane")]), (app.name, [f.name for f in app]))
    # The form as the form file lays it out (the bevel is decoration, not a control).
    expected = [(0, "panel", ""),
                (1, "label", "Дата рождения:"), (1, "label", "Расчетный период:"),
                (1, "push button", "О программе"), (1, "panel", ""),
                (2, "push button", "Далее"), (2, "push button", "Справка"),
                (2, "push button", "Выход"),
                (1, "combo box", "Дата рождения:"), (1, "table", "День рождения"),
                (1, "text", "Год рождения"), (1, "spin button", "Год рождения"),
                (1, "text", "Год расчетного периода"), (1, "spin button", "Год расчетного периода"),
                (0, "combo box", "Расчетный период:")]
    rows = table(intro)
    check("input form tree", rows == expected, "\n" + "\n".join(map(str, rows)))
    next_button = find(intro, "push button", "Далее")
    check("next: key binding and default", next_button is not None and
          next_button.queryAction().getKeyBinding(0) == "<Alt>Cyrillic_de" and
          pyatspi.STATE_IS_DEFAULT in states(next_button))
    label = find(intro, "label", "Дата рождения:")
    combo = find(intro, "combo box")
    check("label names the month list",
          [r.getTarget(0) for r in label.getRelationSet()
           if r.getRelationType() == pyatspi.RELATION_LABEL_FOR] == [combo])
    check("month list items", combo[0].childCount == 12 and combo[0][2].name == "Март")


def check_tab_order():
    # The focus starts on "Далее" (first in tab order); each Tab moves it to the next control.
    expected = ["Справка", "Выход", "Дата рождения:", "День рождения", "Год рождения",
                "Год расчетного периода", "Расчетный период:", "Далее"]
    seen = []
    for _ in expected:
        before = len(events)
        keys("Tab")
        wait_for(lambda: any(e[0] == "object:state-changed:focused" and e[2] == 1
                             for e in events[before:]), 3)
        seen.append(focused_name())
    check("tab order", seen == expected, seen)


def choose_birth_date(intro):
    """March 1980 and a day chosen on the calendar with keys; returns the day."""
    combo = find(intro, "combo box", "Дата рождения:")
    combo.queryComponent().grabFocus()
    wait_for(lambda: focused_name() == "Дата рождения:")
    keys("Home", "Down", "Down")
    check("month chosen with keys", wait_for(
        lambda: combo.querySelection().getSelectedChild(0).name == "Март"))
    spin = find(intro, "spin button", "Год рождения")
    spin.queryValue().currentValue = 1980
    year = find(intro, "text", "Год рождения")
    check("year through the spin button", wait_for(lambda: text_of(year) == "1980"))
    calendar = find(intro, "table", "День рождения")
    calendar.queryComponent().grabFocus()
    wait_for(lambda: focused_name() == "День рождения")
    held = int(calendar.querySelection().getSelectedChild(0).name)
    day, key = (held + 7, "Down") if held + 7 <= 31 else (held - 7, "Up")
    keys(key)
    t = calendar.queryTable()
    # The day names are the locale's: the Russian ones in Russian, seven others elsewhere.
    headers = [t.getColumnHeader(c).name for c in range(7)]
    if os.environ.get("ZORVANE_E2E_LANG", "ru_RU.UTF-8").startswith("ru"):
        check("calendar headers", headers == ["Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"], headers)
    else:
        check("calendar headers", len(set(headers)) == 7 and all(headers), headers)
    check("the chosen day is the selected cell", wait_for(
        lambda: [c.name for c in calendar if pyatspi.STATE_SELECTED in states(c)] == [str(day)]
        and calendar.querySelection().getSelectedChild(0).name == str(day)),
        [c.name for c in calendar if pyatspi.STATE_SELECTED in states(c)])
    return day


def check_error_box(app, intro):
    year = find(intro, "text", "Год расчетного периода")
    period_year = text_of(year)
    month = find(intro, "combo box", "Расчетный период:")
    month_number = month.querySelection().getSelectedChild(0).getIndexInParent() + 1
    year.queryComponent().grabFocus()
    wait_for(lambda: focused_name() == "Год расчетного периода")
    keys("End", "x")
    check("typed into the year", wait_for(lambda: text_of(year) == period_year + "x"))
    check("text-changed event", wait_for(lambda: any(
        e[0] == "object:text-changed:insert" and e[1] == year and e[2] == len(period_year)
        for e in events)))
    click(find(intro, "push button", "Далее"))
    check("error box", wait_for(lambda: app.childCount == 2 and
                                app[1].getRoleName() == "dialog"))
    box = app[1]
    message = f"'1.{month_number}.{period_year}x' is not a valid date."
    check("error box is modal", pyatspi.STATE_MODAL in states(box))
    check("error box text", text_of(box[0]) == message, text_of(box[0]))
    click(find(box, "push button"))
    check("error box gone", wait_for(lambda: app.childCount == 1))
    year.queryComponent().grabFocus()
    wait_for(lambda: focused_name() == "Год расчетного периода")
    keys("End", "BackSpace")
    check("year restored", wait_for(lambda: text_of(year) == period_year))
    return month.querySelection().getSelectedChild(0).name, month_number, period_year


def cli_month(birth, period):
    out = subprocess.run([CLI, "month", "--birth", birth, "--period", period],
                         capture_output=True, text=True, check=True).stdout.splitlines()
    points = [[float(v) for v in line.split()[1:]] for line in out[4:]]
    return out[1:4], points


def words(title, period, values):
    shown = [round(v * 1e6) for v in values]
    highs, lows, zeros = [], [], []
    for x in range(len(shown) - 1):
        v, after = shown[x], shown[x + 1]
        if x > 0 and v > shown[x - 1] and v >= after:
            highs.append(x + 1)
        if x > 0 and v < shown[x - 1] and v <= after:
            lows.append(x + 1)
        if v == 0 or v * after < 0:
            zeros.append(x + 1)

    def listed(days):
        if not days:
            return "нет"
        text = [str(d) for d in days]
        return text[0] if len(text) == 1 else ", ".join(text[:-1]) + " и " + text[-1]
    return (f"{title}, {period} г.: максимум {listed(highs)}; минимум {listed(lows)}; "
            f"через ноль {listed(zeros)}.")


def check_result(app, intro, day, period):
    month_name, month_number, year = period
    click(find(intro, "push button", "Далее"))
    caption = f"Zorvane: {month_name} {year} г."
    check("result form", wait_for(lambda: any(f.name == caption for f in app)),
          [f.name for f in app])
    result = [f for f in app if f.name == caption][0]
    lists, points = cli_month(f"{day}.3.1980", f"{month_number}.{year}")
    labels = sorted(text_of(label) for label in find_all(result, "label"))
    check("day lists", labels == sorted(lists), (labels, lists))
    images = find_all(result, "image")
    titles = ["Физический цикл", "Эмоциональный цикл", "Интеллектуальный цикл",
              "Суммирующий график"]
    check("charts", [i.name for i in images] == titles, [i.name for i in images])
    for column, image in enumerate(images):
        expected = words(image.name, f"{month_name} {year}", [p[column] for p in points])
        check(f"description of {image.name}", image.description == expected and
              image.queryImage().imageDescription == expected,
              f"\n  got  {image.description}\n  want {expected}")
    # The next month: the frame's name changes, and listeners hear of it.
    months = [item.name for item in find(intro, "combo box", "Расчетный период:")[0]]
    following = (f"Zorvane: {months[month_number % 12]} "
                 f"{int(year) + (month_number == 12)} г.")
    click(find(result, "push button", "Следующий месяц"))
    check("caption change heard", wait_for(lambda: result.name == following and any(
        e[0] == "object:property-change:accessible-name" and e[1] == result for e in events)),
        result.name)


def main():
    for kind in ["object:state-changed:focused", "object:text-changed",
                 "object:property-change:accessible-name"]:
        pyatspi.Registry.registerEventListener(on_event, kind)
    if not wait_for(lambda: application() is not None and application().childCount > 0):
        print("FAILED: the program is not on the accessibility bus", file=sys.stderr)
        return 1
    app = application()
    intro = app[0]
    check_input_tree(app, intro)
    # The program runs at device scale 2: extents are the screen's pixels, as its X window.
    ext = intro.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    geometry = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Zorvane$",
                               "getwindowgeometry"], capture_output=True, text=True).stdout
    size = tuple(map(int, re.search(r"Geometry: (\d+)x(\d+)", geometry).groups()))
    check("form extents in screen pixels", (ext.width, ext.height) == size,
          ((ext.x, ext.y, ext.width, ext.height), size))
    check("first focus", wait_for(lambda: pyatspi.STATE_FOCUSED in
                                  states(find(intro, "push button", "Далее"))))
    check_tab_order()
    day = choose_birth_date(intro)
    period = check_error_box(app, intro)
    check_result(app, intro, day, period)
    click(find(intro, "push button", "Выход"))
    print(f"zorvane a11y checks: {len(failures)} failed (birth {day}.3.1980, period {period})")
    return 1 if failures else 0


sys.exit(main())
