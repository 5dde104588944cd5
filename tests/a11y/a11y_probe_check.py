#!/usr/bin/python3
"""Reads and drives zorvane-a11y-probe through AT-SPI, as a screen reader does: the tree as a
table of (role, name), states, relations, actions, texts, the value, the calendar's table, the
chart's description, focus and name events, a modal error box, and that the program sleeps while
nothing happens. Run by a11y_bus_e2e.sh with Debian's pyatspi (/usr/bin/python3).
    a11y_probe_check.py PID"""
import sys
import time

import pyatspi
from gi.repository import GLib

from atspi_checks import check, events, failures, on_event, states
from atspi_checks import application_of
from atspi_checks import wait_for as wait_for_within

PID = int(sys.argv[1])
TIMEOUT = 20


def pump(seconds):
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def wait_for(predicate):
    return wait_for_within(predicate, TIMEOUT)


def heard(kind, source=None, detail1=None):
    return [e for e in events
            if e[0].startswith(kind) and (source is None or e[1] == source) and
            (detail1 is None or e[2] == detail1)]


def rows(node):
    return [(child.getRoleName(), child.name) for child in node]


def find_application():
    return application_of(PID)


def cpu_seconds():
    fields = open(f"/proc/{PID}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / 100.0


def check_tree(app, frame):
    check("application", (app.getRoleName(), app.name, app.get_toolkit_name()) ==
          ("application", "Zorvane", "Zorvane"),
          f"{app.getRoleName()} {app.name} {app.get_toolkit_name()}")
    check("forms", rows(app) == [("frame", "Ввод данных")], rows(app))
    expected = [("label", "Дата рождения:"), ("text", "Дата рождения:"), ("combo box", "Март"),
                ("spin button", "Год"), ("table", "Календарь"), ("image", "Физический"),
                ("label", "Неблагоприятные дни"), ("push button", "Далее"),
                ("push button", "Выход")]
    check("controls", rows(frame) == expected, rows(frame))
    combo = frame[2]
    check("combo items", [n for _, n in rows(combo[0])][:3] == ["Январь", "Февраль", "Март"] and
          combo[0].childCount == 12, rows(combo[0]))
    check("combo selection", combo.querySelection().nSelectedChildren == 1 and
          combo.querySelection().getSelectedChild(0).name == "Март")


def check_states_and_relations(frame):
    label, edit, button = frame[0], frame[1], frame[7]
    check("frame active", pyatspi.STATE_ACTIVE in states(frame))
    want = {pyatspi.STATE_EDITABLE, pyatspi.STATE_FOCUSABLE, pyatspi.STATE_FOCUSED,
            pyatspi.STATE_SINGLE_LINE, pyatspi.STATE_ENABLED, pyatspi.STATE_SHOWING}
    check("field states", want <= states(edit), states(edit))
    check("default button", pyatspi.STATE_IS_DEFAULT in states(button))
    labelled = [r.getTarget(0) for r in edit.getRelationSet()
                if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    check("field labelled by its label", labelled == [label], labelled)


def check_action_text_value(frame):
    edit, spin, days, button = frame[1], frame[3], frame[6], frame[7]
    action = button.queryAction()
    check("action", (action.nActions, action.getName(0), action.getKeyBinding(0)) ==
          (1, "click", "<Alt>Cyrillic_de"))
    text = edit.queryText()
    check("field text", (text.getText(0, -1), text.caretOffset, text.characterCount) ==
          ("15.03.1980", 2, 10), (text.getText(0, -1), text.caretOffset))
    day_text = days.queryText()
    check("day list", day_text.getText(0, -1) == "8, 20, 26")
    check("word at offset", day_text.getTextAtOffset(5, pyatspi.TEXT_BOUNDARY_WORD_START) ==
          ("20, ", 3, 7), day_text.getTextAtOffset(5, pyatspi.TEXT_BOUNDARY_WORD_START))
    value = spin.queryValue()
    check("value", (value.currentValue, value.minimumValue, value.maximumValue,
                    value.minimumIncrement) == (1980, 1, 9999, 1))


def check_table_and_image(frame):
    table, image = frame[4], frame[5]
    t = table.queryTable()
    check("calendar size", (t.nRows, t.nColumns) == (6, 7))
    check("day names", [t.getColumnHeader(c).name for c in range(7)] ==
          ["Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"])
    check("first day", t.getAccessibleAt(0, 5).name == "1")
    selected = [cell.name for cell in table if pyatspi.STATE_SELECTED in states(cell)]
    check("selected day", selected == ["15"] and t.isSelected(2, 5) and
          table.querySelection().getSelectedChild(0).name == "15", selected)
    cell = t.getAccessibleAt(2, 5).queryTableCell()
    check("cell position", tuple(cell.position)[1:] == (2, 5), cell.position)
    # Asked three times: the header objects must outlive what the bridge does with the array.
    for _ in range(3):
        headers = [h.name for h in cell.get_columnHeaderCells()]
    check("cell header", headers == ["Сб"], headers)
    description = "Физический цикл, март 1980: высшая точка 2 марта, низшая 14 марта, ноль 8 и 20 марта."
    check("chart description", image.description == description and
          image.queryImage().imageDescription == description, image.description)
    component = image.queryComponent()
    check("extents", tuple(component.getExtents(pyatspi.DESKTOP_COORDS)) == (330, 110, 260, 120)
          and tuple(component.getExtents(pyatspi.WINDOW_COORDS)) == (230, 10, 260, 120),
          component.getExtents(pyatspi.WINDOW_COORDS))


def check_focus_and_value(frame):
    edit, spin = frame[1], frame[3]
    check("grab focus", spin.queryComponent().grabFocus())
    check("focus event", wait_for(lambda: heard("object:state-changed:focused", spin, 1)))
    check("focus left the field", heard("object:state-changed:focused", edit, 0) != [] and
          pyatspi.STATE_FOCUSED not in states(edit))
    spin.queryValue().currentValue = 1990
    check("value set", wait_for(lambda: spin.queryValue().currentValue == 1990))


def check_next_and_error_box(app, frame):
    edit = frame[1]
    frame[7].queryAction().doAction(0)
    check("caption event", wait_for(lambda: heard("object:property-change:accessible-name", frame))
          and frame.name == "Результат: март 1980", frame.name)
    check("box added", wait_for(lambda: app.childCount == 2 and
                                heard("object:children-changed:add", app) != []))
    box = app[1]
    check("modal dialog", box.getRoleName() == "dialog" and pyatspi.STATE_MODAL in states(box))
    message = box[0].queryText().getText(0, -1)
    check("box text", message == "Дата рождения не раньше периода.", message)
    check("box button focused", wait_for(lambda: heard("object:state-changed:focused", box[1], 1)))
    changes = [(e[0], e[2], e[3], e[4]) for e in heard("object:text-changed", edit)]
    check("text changed", ("object:text-changed:delete", 9, 1, "0") in changes and
          ("object:text-changed:insert", 9, 1, "1") in changes, changes)
    box[1].queryAction().doAction(0)
    check("box removed", wait_for(lambda: app.childCount == 1 and
                                  heard("object:children-changed:remove", app) != []))
    check("focus back", wait_for(lambda: heard("object:state-changed:focused", frame[7], 1)))


def main():
    for kind in ["object:state-changed:focused", "object:property-change:accessible-name",
                 "object:children-changed", "object:text-changed"]:
        pyatspi.Registry.registerEventListener(on_event, kind)
    app = None
    if not wait_for(lambda: find_application() is not None):
        print("FAILED: the program is not on the accessibility bus", file=sys.stderr)
        return 1
    app = find_application()
    pump(0.5)  # the program hears of the listeners above
    frame = app[0]
    check_tree(app, frame)
    check_states_and_relations(frame)
    check_action_text_value(frame)
    check_table_and_image(frame)
    check_focus_and_value(frame)
    check_next_and_error_box(app, frame)
    # Nothing happens for two seconds: a program that polls would spend them.
    before = cpu_seconds()
    time.sleep(2)
    spent = cpu_seconds() - before
    check("asleep while idle", spent < 0.1, f"{spent:.2f} s of CPU")
    frame[8].queryAction().doAction(0)
    print(f"a11y probe checks: {len(failures)} failed")
    return 1 if failures else 0


sys.exit(main())
